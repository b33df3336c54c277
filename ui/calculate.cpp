// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/calculate.h"

#include "calc/twist.h"
#include "runtime/core/conversions.h"
#include "runtime/core/errors.h"
#include "ui/form1.h"

#include <algorithm>
#include <array>

namespace ui {
namespace {

using runtime::ErrorCode;

// The steps of a click that the user can make fail, each through one field.
enum class Step { readDegrees, readDistance, computeTwist };

// What the error box tells the user to change when a step fails: only the
// command knows which field a conversion or the calculation was working on.
struct AdviceRow {
    Step step;
    ErrorCode error;
    runtime::Advice text;
};

constexpr std::array adviceTable{
    AdviceRow{Step::readDegrees, ErrorCode::typeMismatch,
              "GRADI MISURATI deve essere un numero, come 90 o 12,5"},
    AdviceRow{Step::readDegrees, ErrorCode::overflow,
              "GRADI MISURATI è fuori dall'intervallo ammesso, da -3,402823E+38 a 3,402823E+38"},
    AdviceRow{Step::readDistance, ErrorCode::typeMismatch,
              "SPAZIO MISURATO in centimetri deve essere un numero, come 10 o 12,5"},
    AdviceRow{Step::readDistance, ErrorCode::overflow,
              "SPAZIO MISURATO in centimetri è fuori dall'intervallo ammesso, da -3,402823E+38 a "
              "3,402823E+38"},
    AdviceRow{Step::computeTwist, ErrorCode::divisionByZero, "GRADI MISURATI non può essere zero"},
    AdviceRow{Step::computeTwist, ErrorCode::overflow, "Il passo risultante è troppo grande"},
};

// None where the user can do nothing about the error.
runtime::Advice adviceFor(Step step, ErrorCode error) {
    const auto row = std::find_if(adviceTable.begin(), adviceTable.end(), [&](const AdviceRow &a) {
        return a.step == step && a.error == error;
    });
    return row != adviceTable.end() ? row->text : runtime::Advice();
}

// Runs one step; a run-time error leaving it goes on its way with the
// step's advice.
template <typename Action> auto advised(Step step, Action action) {
    try {
        return action();
    } catch (const runtime::RuntimeError &error) {
        throw runtime::RuntimeError(error.code(), adviceFor(step, error.code()));
    }
}

} // namespace

void calculate(runtime::Form &form) {
    // Degrees first: a bad degrees text is reported before the distance is read.
    const float degrees =
        advised(Step::readDegrees, [&] { return runtime::textToSingle(form.text(gradi1)); });
    const float distance =
        advised(Step::readDistance, [&] { return runtime::textToSingle(form.text(centimetri2)); });
    const float twist =
        advised(Step::computeTwist, [&] { return calc::computeTwist(degrees, distance); });
    form.setCaption(centimetri1, runtime::singleToText(twist));
}

} // namespace ui
