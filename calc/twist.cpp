// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/twist.h"

#include "runtime/core/errors.h"

#include <cmath>

namespace calc {
namespace {

// The IEEE 754 exception conditions of the three operations below, read off
// their operands and results rather than the processor's sticky flags: a flag
// test is only as reliable as the compiler's willingness to keep every
// operation on its side of the test, and these values cannot be reordered.
runtime::FloatConditions conditionsOf(float degrees, float distance, double product, float twist) {
    return {
        // 0 x inf, or a NaN operand handed in by a caller.
        .invalidOperation = std::isnan(product),
        .divisionByZero = degrees == 0.0f,
        // The double product of finite operands cannot overflow (at most about
        // 8.7e85); only its rounding to single can. An infinite operand is a
        // value beyond the single range just as that result is, even where
        // the arithmetic would carry on with it (360 / inf x 0 is a plain 0).
        .overflow = std::isinf(twist) || std::isinf(degrees) || std::isinf(distance),
    };
}

} // namespace

float computeTwist(float degrees, float distance) {
    const double quotient = static_cast<double>(degreesPerTurn) / static_cast<double>(degrees);
    const double product = quotient * static_cast<double>(distance);
    const auto twist = static_cast<float>(product);
    if (const runtime::FloatConditions conditions = conditionsOf(degrees, distance, product, twist);
        conditions.any())
        runtime::raiseFloatingPointError(conditions);
    return twist;
}

} // namespace calc
