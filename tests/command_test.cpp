// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/command_boundary.h"
#include "runtime/error_box.h"
#include "runtime/form.h"
#include "ui/form1.h"

#include "tests/error_boxes.h"
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

// Form1 with run-time errors recorded, and the text their box would show,
// instead of a modal box.
class CalculateCommand : public testing::Test {
protected:
    CalculateCommand()
        : m_reporter([this](runtime::Form &, const runtime::RuntimeError &error) {
              errors.push_back(error.code());
              boxes.push_back(runtime::errorBoxText(error));
          }) {
        m_form.show();
    }

    // Types both measurements and clicks "CALCOLA"; returns the result label's text.
    std::string calculate(const std::string &degrees, const std::string &distance) {
        driver::setText(m_form, ui::gradi1, degrees);
        driver::setText(m_form, ui::centimetri2, distance);
        driver::click(m_form, "cmdcalcola");
        return result();
    }

    std::string result() { return driver::text(m_form, ui::centimetri1); }
    std::string field(std::string_view name) { return driver::text(m_form, name); }

    std::vector<ErrorCode> errors;
    std::vector<std::string> boxes;

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

using namespace box_texts;

// Whatever lands in a field, typed or pasted: each text gives its error or
// its value, the program goes on, and the fields keep exactly what was there.
struct FieldText {
    std::string name;
    std::string degrees;
    std::string distance;
    std::optional<std::string> box; // none: the click succeeds
    std::string shown;              // the label afterwards
};

class FieldTexts : public CalculateCommand, public testing::WithParamInterface<FieldText> {};

TEST_P(FieldTexts, GiveTheirErrorOrValue) {
    const FieldText &c = GetParam();
    ASSERT_EQ(calculate("90", "10"), "40");
    EXPECT_EQ(calculate(c.degrees, c.distance), c.shown);
    EXPECT_EQ(boxes, c.box ? std::vector<std::string>{*c.box} : std::vector<std::string>{});
    EXPECT_EQ(field(ui::gradi1), driver::held(c.degrees));
    EXPECT_EQ(field(ui::centimetri2), driver::held(c.distance));
    boxes.clear();
    EXPECT_EQ(calculate("7", "13"), "668,5714") << "the next click still works";
}

// Longer than a text box held by default on either platform (32,767
// characters in Qt, 30,000 in Windows): the box must keep every one of them.
const std::string longDigits(40'000, '7');
const std::string longZeros = "0," + std::string(40'000, '0');
const std::string longOne = longZeros + "1e40001";
const std::string longFive = "5" + std::string(40'000, '0') + "e-40000";
const std::string paragraph = "Il passo misurato è di 90 gradi.\nRipetere la misura.";

INSTANTIATE_TEST_SUITE_P(
    Calculate, FieldTexts,
    testing::Values(FieldText{"Empty", "", "10", degreesNotANumber, "40"},
                    FieldText{"RejectedDegrees", "abc", "10", degreesNotANumber, "40"},
                    // Degrees are read first: their error is the one reported.
                    FieldText{"RejectedDegreesBeforeOverflowingDistance", "abc", "1e39",
                              degreesNotANumber, "40"},
                    FieldText{"RejectedDistance", "90", "dieci", distanceNotANumber, "40"},
                    FieldText{"EmptyDistance", "90", "", distanceNotANumber, "40"},
                    FieldText{"OverflowingDistance", "90", "1e39", distanceOutOfRange, "40"},
                    FieldText{"NegativeOverflowingDegrees", "-1e39", "10", degreesOutOfRange, "40"},
                    FieldText{"ZeroDegrees", "0", "10", zeroDegrees, "40"},
                    FieldText{"ZeroDegreesZeroDistance", "0", "0", zeroDegrees, "40"},
                    FieldText{"TwistBeyondSingleRange", "1e-30", "1e10", twistTooLarge, "40"},
                    FieldText{"NegativeTwistBeyondSingleRange", "-1e-30", "1e10", twistTooLarge,
                              "40"},
                    FieldText{"Blank", "90", "   ", distanceNotANumber, "40"},
                    FieldText{"LongDigitsOverflow", "90", longDigits, distanceOutOfRange, "40"},
                    FieldText{"LongZerosAreZero", longZeros, "10", zeroDegrees, "40"},
                    FieldText{"LongZerosAsDistance", "90", longZeros, std::nullopt, "0"},
                    FieldText{"LongTextIsExactlyOne", "90", longOne, std::nullopt, "4"},
                    FieldText{"LongTextIsExactlyFive", "360", longFive, std::nullopt, "5"},
                    FieldText{"LongDegrees", longFive, "1", std::nullopt, "72"},
                    FieldText{"PastedParagraph", paragraph, "10", degreesNotANumber, "40"},
                    // What cannot be seen around a number, pasted from a document or
                    // typed, is no part of it.
                    FieldText{"LineBreaksAndTabsAround", "45\r\n", "\t10\n", std::nullopt, "80"},
                    FieldText{"UnicodeSpacesAround", "\u00a045\u202f", "\u200b10\ufeff\u3000",
                              std::nullopt, "80"},
                    FieldText{"NoBreakSpaceInside", "4\u00a05", "10", degreesNotANumber, "40"},
                    FieldText{"ControlCharacter",
                              "9\x01"
                              "0",
                              "10", degreesNotANumber, "40"},
                    FieldText{"FullwidthDigits", "\uff19\uff10", "10", degreesNotANumber, "40"},
                    FieldText{"ArabicIndicDigits", "\u0669\u0660", "10", degreesNotANumber, "40"},
                    FieldText{"AccentedLetters", "novantà", "10", degreesNotANumber, "40"},
                    FieldText{"LoneMinus", "-", "10", degreesNotANumber, "40"},
                    FieldText{"LonePlus", "90", "+", distanceNotANumber, "40"},
                    FieldText{"LoneComma", ",", "10", degreesNotANumber, "40"},
                    FieldText{"LonePoint", "90", ".", distanceNotANumber, "40"},
                    FieldText{"ExponentWithoutDigits", "9e", "10", degreesNotANumber, "40"},
                    FieldText{"SignedExponentWithoutDigits", "90", "1E-", distanceNotANumber, "40"},
                    FieldText{"TooLarge", "1e39", "10", degreesOutOfRange, "40"},
                    FieldText{"TooLargeNegative", "90", "-1e39", distanceOutOfRange, "40"},
                    FieldText{"TooSmallDistanceIsZero", "90", "1e-50", std::nullopt, "0"},
                    FieldText{"TooSmallDegreesAreZero", "1e-50", "10", zeroDegrees, "40"},
                    FieldText{"Hexadecimal", "0x10", "10", degreesNotANumber, "40"},
                    FieldText{"Infinity", "90", "inf", distanceNotANumber, "40"},
                    FieldText{"NotANumber", "nan", "10", degreesNotANumber, "40"}),
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
// Each good click shrinks the result's font to fit and each failing one
// stops before the label. Under the sanitizer build, LeakSanitizer checks the
// same clicks for leaks at exit instead, since its quarantine makes the heap
// grow by design.
TEST_F(CalculateCommand, ClicksHoldNothing) {
    // Counted only: a list of every error would grow by itself.
    std::size_t failures = 0;
    const runtime::ScopedErrorReporter counter(
        [&failures](runtime::Form &, const runtime::RuntimeError &) { ++failures; });
    constexpr int warmUp = 100;
    long afterWarmUp = 0;
    for (int click = 0; click < warmUp + driver::leakClicks; ++click) {
        if (click % 2 == 0)
            calculate("-360", "3,4028235E+38");
        else
            calculate("0", "13");
        if (click == warmUp - 1)
            afterWarmUp = driver::resourceUse();
    }
    EXPECT_EQ(result(), "-3,402823E+38");
    EXPECT_EQ(failures, std::size_t{(warmUp + driver::leakClicks) / 2});
    if (!underAddressSanitizer) {
        EXPECT_LE(driver::resourceUse() - afterWarmUp, driver::resourceSlack());
    }
}

// Nothing escapes the boundary, not even an exception that is no run-time
// error: an allocation that failed is the memory running out, anything else
// a fault of the program. The user can do nothing about either, so their
// boxes give no advice.
TEST(CommandBoundary, ReportsForeignExceptionsAsRunTimeErrors) {
    std::vector<std::string> boxes;
    runtime::ScopedErrorReporter reporter([&](runtime::Form &, const runtime::RuntimeError &error) {
        boxes.push_back(runtime::errorBoxText(error));
    });
    runtime::Form form(ui::form1);
    runtime::runCommand([](runtime::Form &) { throw std::bad_alloc(); }, form);
    runtime::runCommand([](runtime::Form &) { throw 42; }, form);
    EXPECT_EQ(boxes, (std::vector<std::string>{outOfMemory, internalError}));
}

// A press that reaches the window while its command is still running is
// dropped, whatever kind of press it is; the next one runs.
TEST(CommandBoundary, NeverNestsCommands) {
    static int runs = 0;
    runs = 0;
    runtime::Form form(ui::form1);
    runtime::runCommand(
        [](runtime::Form &running) {
            ++runs;
            runtime::runCommand([](runtime::Form &) { ++runs; }, running);
        },
        form);
    EXPECT_EQ(runs, 1);
    runtime::runCommand([](runtime::Form &) { ++runs; }, form);
    EXPECT_EQ(runs, 2);
}

} // namespace
