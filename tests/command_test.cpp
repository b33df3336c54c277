// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/command_boundary.h"
#include "runtime/form.h"
#include "ui/form1.h"

#include "tests/row_name.h"
#include "tests/window_driver.h"

#include <gtest/gtest.h>

#include <new>
#include <optional>
#include <string>
#include <vector>

namespace {

using rows::PrintTo;

using runtime::ErrorCode;

// Form1 on the offscreen platform, with run-time errors recorded instead of
// shown in a modal box.
class CalculateCommand : public testing::Test {
protected:
    CalculateCommand()
        : m_reporter(
              [this](const runtime::RuntimeError &error) { errors.push_back(error.code()); }) {
        m_form.show();
    }

    // Types both measurements and clicks "CALCOLA"; returns the result label's text.
    std::string calculate(const std::string &degrees, const std::string &distance) {
        driver::setText(m_form, ui::gradi1, degrees);
        driver::setText(m_form, ui::centimetri2, distance);
        driver::click(m_form, "cmdcalcola");
        return result();
    }

    std::string result() { return driver::caption(m_form, ui::centimetri1); }
    std::string field(std::string_view name) { return driver::text(m_form, name); }

    std::vector<ErrorCode> errors;

private:
    runtime::ScopedErrorReporter m_reporter;
    runtime::Form m_form{ui::form1};
};

TEST_F(CalculateCommand, GoodClickWritesTheTwist) {
    EXPECT_EQ(calculate("90", "10"), "40");
    EXPECT_EQ(calculate("7", "13"), "668,5714");
    EXPECT_EQ(calculate("365", "12"), "11,83562");
    EXPECT_EQ(calculate(" -10 ", "5,0"), "-180");
    EXPECT_TRUE(errors.empty());
}

TEST_F(CalculateCommand, LabelStartsEmpty) {
    EXPECT_EQ(result(), "");
}

struct FailingClick {
    std::string name;
    std::string degrees;
    std::string distance;
    ErrorCode error;
};

class FailingClicks : public CalculateCommand, public testing::WithParamInterface<FailingClick> {};

TEST_P(FailingClicks, ReportTheirErrorAndKeepTheLabelAndFields) {
    const FailingClick &c = GetParam();
    ASSERT_EQ(calculate("90", "10"), "40");

    EXPECT_EQ(calculate(c.degrees, c.distance), "40");
    EXPECT_EQ(errors, std::vector<ErrorCode>{c.error});
    EXPECT_EQ(field(ui::gradi1), c.degrees);
    EXPECT_EQ(field(ui::centimetri2), c.distance);
}

INSTANTIATE_TEST_SUITE_P(
    Calculate, FailingClicks,
    testing::Values(FailingClick{"RejectedDegrees", "abc", "10", ErrorCode::typeMismatch},
                    // Degrees are read first: their error is the one reported.
                    FailingClick{"RejectedDegreesBeforeOverflowingDistance", "abc", "1e39",
                                 ErrorCode::typeMismatch},
                    FailingClick{"EmptyDegrees", "", "10", ErrorCode::typeMismatch},
                    FailingClick{"RejectedDistance", "90", "dieci", ErrorCode::typeMismatch},
                    FailingClick{"OverflowingDistance", "90", "1e39", ErrorCode::overflow},
                    FailingClick{"ZeroDegrees", "0", "10", ErrorCode::divisionByZero},
                    FailingClick{"ZeroDegreesZeroDistance", "0", "0", ErrorCode::divisionByZero},
                    FailingClick{"TwistBeyondSingleRange", "1e-30", "1e10", ErrorCode::overflow}),
    rows::RowName());

// Whatever lands in a field, typed or pasted: each text gives its error or
// its value, the program goes on, and the fields keep exactly what was there.
struct FieldText {
    std::string name;
    std::string degrees;
    std::string distance;
    std::optional<ErrorCode> error; // none: the click succeeds
    std::string shown;              // the label afterwards
};

class FieldTexts : public CalculateCommand, public testing::WithParamInterface<FieldText> {};

TEST_P(FieldTexts, GiveTheirErrorOrValue) {
    const FieldText &c = GetParam();
    ASSERT_EQ(calculate("90", "10"), "40");
    EXPECT_EQ(calculate(c.degrees, c.distance), c.shown);
    EXPECT_EQ(errors, c.error ? std::vector<ErrorCode>{*c.error} : std::vector<ErrorCode>{});
    EXPECT_EQ(field(ui::gradi1), c.degrees);
    EXPECT_EQ(field(ui::centimetri2), c.distance);
    errors.clear();
    EXPECT_EQ(calculate("7", "13"), "668,5714") << "the next click still works";
}

const std::string longDigits(32767, '7');
const std::string longZeros = "0," + std::string(32765, '0');
const std::string paragraph = "Il passo misurato è di 90 gradi.\nRipetere la misura.";

INSTANTIATE_TEST_SUITE_P(
    Calculate, FieldTexts,
    testing::Values(
        FieldText{"Empty", "", "10", ErrorCode::typeMismatch, "40"},
        FieldText{"Blank", "90", "   ", ErrorCode::typeMismatch, "40"},
        FieldText{"LongestDigitsOverflow", "90", longDigits, ErrorCode::overflow, "40"},
        FieldText{"LongestZerosAreZero", longZeros, "10", ErrorCode::divisionByZero, "40"},
        FieldText{"LongestZerosAsDistance", "90", longZeros, std::nullopt, "0"},
        FieldText{"PastedParagraph", paragraph, "10", ErrorCode::typeMismatch, "40"},
        FieldText{"ControlCharacter",
                  "9\x01"
                  "0",
                  "10", ErrorCode::typeMismatch, "40"},
        FieldText{"FullwidthDigits", "\uff19\uff10", "10", ErrorCode::typeMismatch, "40"},
        FieldText{"ArabicIndicDigits", "\u0669\u0660", "10", ErrorCode::typeMismatch, "40"},
        FieldText{"AccentedLetters", "novantà", "10", ErrorCode::typeMismatch, "40"},
        FieldText{"LoneMinus", "-", "10", ErrorCode::typeMismatch, "40"},
        FieldText{"LonePlus", "90", "+", ErrorCode::typeMismatch, "40"},
        FieldText{"LoneComma", ",", "10", ErrorCode::typeMismatch, "40"},
        FieldText{"LonePoint", "90", ".", ErrorCode::typeMismatch, "40"},
        FieldText{"ExponentWithoutDigits", "9e", "10", ErrorCode::typeMismatch, "40"},
        FieldText{"SignedExponentWithoutDigits", "90", "1E-", ErrorCode::typeMismatch, "40"},
        FieldText{"TooLarge", "1e39", "10", ErrorCode::overflow, "40"},
        FieldText{"TooLargeNegative", "90", "-1e39", ErrorCode::overflow, "40"},
        FieldText{"TooSmallDistanceIsZero", "90", "1e-50", std::nullopt, "0"},
        FieldText{"TooSmallDegreesAreZero", "1e-50", "10", ErrorCode::divisionByZero, "40"},
        FieldText{"Hexadecimal", "0x10", "10", ErrorCode::typeMismatch, "40"},
        FieldText{"Infinity", "90", "inf", ErrorCode::typeMismatch, "40"},
        FieldText{"NotANumber", "nan", "10", ErrorCode::typeMismatch, "40"}),
    rows::RowName());

TEST_F(CalculateCommand, SameInputsWriteTheSameText) {
    const std::string first = calculate("7", "13");
    EXPECT_EQ(calculate("7", "13"), first);
}

TEST_F(CalculateCommand, GoesOnAfterAnError) {
    calculate("0", "10");
    calculate("abc", "10");
    EXPECT_EQ(calculate("1", "1"), "360");
    EXPECT_EQ(errors, (std::vector<ErrorCode>{ErrorCode::divisionByZero, ErrorCode::typeMismatch}));
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool underAddressSanitizer = true;
#else
constexpr bool underAddressSanitizer = false;
#endif

// A click keeps nothing: no text, no error, no memory, no window object.
// Under the sanitizer build, LeakSanitizer checks the same clicks for leaks at
// exit instead, since its quarantine makes resident memory grow by design.
TEST_F(CalculateCommand, TenThousandClicksHoldNothing) {
    constexpr int clicks = 10'000;
    long afterWarmUp = 0;
    for (int click = 0; click < clicks; ++click) {
        if (click % 2 == 0)
            calculate("7", "13");
        else
            calculate("0", "13");
        if (click == 99)
            afterWarmUp = driver::resourceUse();
    }
    EXPECT_EQ(result(), "668,5714");
    EXPECT_EQ(errors.size(), std::size_t{clicks / 2});
    if (!underAddressSanitizer) {
        EXPECT_LE(driver::resourceUse() - afterWarmUp, driver::resourceSlack());
    }
}

// Nothing escapes the boundary, not even an exception that is no run-time error.
TEST(CommandBoundary, ReportsForeignExceptionsAsInternalErrors) {
    std::vector<int> numbers;
    runtime::ScopedErrorReporter reporter(
        [&](const runtime::RuntimeError &error) { numbers.push_back(error.number()); });
    runtime::Form form(ui::form1);
    runtime::runCommand([](runtime::Form &) { throw std::bad_alloc(); }, form);
    runtime::runCommand([](runtime::Form &) { throw 42; }, form);
    EXPECT_EQ(numbers, (std::vector<int>{51, 51}));
}

} // namespace
