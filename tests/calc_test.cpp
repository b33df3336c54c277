// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/twist.h"
#include "runtime/core/errors.h"

#include "tests/row_name.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

using rows::PrintTo;

// Inputs pass through a volatile so that the compiler cannot fold the
// calculation, or its error checks, at compile time.
float hidden(float value) {
    volatile float opaque = value;
    return opaque;
}

float twistOf(float degrees, float distance) {
    return calc::computeTwist(hidden(degrees), hidden(distance));
}

struct TwistCase {
    std::string name;
    float degrees;
    float distance;
    double twist; // the exact single-precision result
};

class TwistValues : public testing::TestWithParam<TwistCase> {};

TEST_P(TwistValues, IsTheWideQuotientTimesDistanceRoundedOnce) {
    const TwistCase &c = GetParam();
    const float twist = twistOf(c.degrees, c.distance);
    EXPECT_EQ(static_cast<double>(twist), c.twist);
    EXPECT_EQ(std::signbit(twist), std::signbit(c.twist));
}

INSTANTIATE_TEST_SUITE_P(
    Calc, TwistValues,
    testing::Values(TwistCase{"FullTurnGivesTheDistance", 360.0f, 12.5f, 12.5},
                    TwistCase{"QuarterTurnOver10cm", 90.0f, 10.0f, 40.0},
                    TwistCase{"SevenOverThirteen", 7.0f, 13.0f, 668.5714111328125},
                    TwistCase{"MoreThanOneTurn", 365.0f, 12.0f, 11.835616111755371},
                    TwistCase{"OneDegreeOverOneCm", 1.0f, 1.0f, 360.0},
                    TwistCase{"NegativeDegreesAreNotRejected", -10.0f, 5.0f, -180.0},
                    TwistCase{"ZeroDistance", 45.0f, 0.0f, 0.0},
                    TwistCase{"NegativeZeroDistanceKeepsItsSign", 45.0f, -0.0f, -0.0},
                    TwistCase{"UnderflowBecomesZero", 1e30f, 1e-20f, 0.0},
                    TwistCase{"UnderflowToADenormal", 3.6e30f, 1e-15f, static_cast<double>(1e-43f)},
                    TwistCase{"LargestFiniteResult", 360.0f, std::numeric_limits<float>::max(),
                              static_cast<double>(std::numeric_limits<float>::max())},
                    // Rounding the quotient to single first would give 154.28570556640625.
                    TwistCase{"QuotientIsNotRoundedToSingle", 7.0f, 3.0f, 154.2857208251953}),
    rows::RowName());

constexpr float infinity = std::numeric_limits<float>::infinity();
constexpr float notANumber = std::numeric_limits<float>::quiet_NaN();

struct FailureCase {
    std::string name;
    float degrees;
    float distance;
    runtime::ErrorCode error;
};

class TwistFailures : public testing::TestWithParam<FailureCase> {};

TEST_P(TwistFailures, RaiseTheFloatingPointError) {
    const FailureCase &c = GetParam();
    try {
        const float twist = twistOf(c.degrees, c.distance);
        ADD_FAILURE() << "returned " << twist;
    } catch (const runtime::RuntimeError &error) {
        EXPECT_EQ(error.code(), c.error);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Calc, TwistFailures,
    testing::Values(
        FailureCase{"ZeroDegrees", 0.0f, 12.0f, runtime::ErrorCode::divisionByZero},
        FailureCase{"NegativeZeroDegrees", -0.0f, 12.0f, runtime::ErrorCode::divisionByZero},
        // Also an invalid 0 x inf; division by zero is the one reported.
        FailureCase{"ZeroDegreesZeroDistance", 0.0f, 0.0f, runtime::ErrorCode::divisionByZero},
        FailureCase{"ProductBeyondSingleRange", 1e-30f, 1e10f, runtime::ErrorCode::overflow},
        FailureCase{"NegativeProductBeyondSingleRange", -1e-30f, 1e10f,
                    runtime::ErrorCode::overflow},
        FailureCase{"JustPastTheLargestSingle", 359.99997f, std::numeric_limits<float>::max(),
                    runtime::ErrorCode::overflow},
        FailureCase{"SmallestDegreesLargestDistance", std::numeric_limits<float>::denorm_min(),
                    std::numeric_limits<float>::max(), runtime::ErrorCode::overflow},
        // An infinite operand is beyond the single range, whatever the
        // arithmetic would make of it.
        FailureCase{"InfiniteDistance", 1.0f, infinity, runtime::ErrorCode::overflow},
        FailureCase{"NegativeInfiniteDistance", 1.0f, -infinity, runtime::ErrorCode::overflow},
        // 360 / inf is 0, and 0 x 10 a plain 0.
        FailureCase{"InfiniteDegrees", infinity, 10.0f, runtime::ErrorCode::overflow},
        FailureCase{"NegativeInfiniteDegrees", -infinity, 10.0f, runtime::ErrorCode::overflow},
        FailureCase{"InfiniteDegreesZeroDistance", infinity, 0.0f, runtime::ErrorCode::overflow},
        // 0 x inf: an invalid operation too.
        FailureCase{"BothInfinite", infinity, infinity, runtime::ErrorCode::overflow},
        FailureCase{"ZeroDegreesInfiniteDistance", 0.0f, infinity,
                    runtime::ErrorCode::divisionByZero},
        // A NaN operand is an invalid operation, reported as the overflow error.
        FailureCase{"NaNDegrees", notANumber, 10.0f, runtime::ErrorCode::overflow},
        FailureCase{"NaNDistance", 90.0f, notANumber, runtime::ErrorCode::overflow},
        FailureCase{"ZeroDegreesNaNDistance", 0.0f, notANumber,
                    runtime::ErrorCode::divisionByZero}),
    rows::RowName());

TEST(Calc, CallsShareNoState) {
    const float first = twistOf(7.0f, 13.0f);
    EXPECT_THROW(twistOf(0.0f, 13.0f), runtime::RuntimeError);
    EXPECT_THROW(twistOf(1e-30f, 1e10f), runtime::RuntimeError);
    EXPECT_EQ(twistOf(7.0f, 13.0f), first);
}

} // namespace
