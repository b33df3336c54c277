// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Form1 as its user sees it, on whichever platform it was built for: each
// backend's driver (tests/<backend>/window_driver.cpp) reaches its controls.

#include "runtime/command_boundary.h"
#include "runtime/error_box.h"
#include "runtime/form.h"
#include "runtime/layout.h"
#include "ui/form1.h"

#include "tests/error_boxes.h"
#include "tests/form1_window.h"
#include "tests/row_name.h"
#include "tests/window_driver.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <type_traits>
#include <vector>

namespace {

using rows::PrintTo;

// A window must not outlive its table, and advice must outlive its error:
// neither can be given a temporary.
static_assert(!std::is_constructible_v<runtime::Form, runtime::FormSpec &&>);
static_assert(!std::is_constructible_v<runtime::Advice, std::string>);
static_assert(!std::is_constructible_v<runtime::Advice, const char *>);

TEST_F(Form1Window, HasItsCaptionIconAndAFixedClientArea) {
    const int dpi = driver::layoutDpi(form);
    EXPECT_EQ(driver::title(form), "Calcolo passo della rigatura");
    EXPECT_TRUE(driver::hasIcon(form));
    EXPECT_FALSE(driver::isResizable(form));
    const runtime::PixelRect client = driver::clientArea(form);
    EXPECT_EQ(client.width, runtime::twipsToPixels(ui::form1.clientWidth, dpi));
    EXPECT_EQ(client.height, runtime::twipsToPixels(ui::form1.clientHeight, dpi));
}

TEST_F(Form1Window, ControlsSitAtTheirTwips) {
    const int dpi = driver::layoutDpi(form);
    for (const runtime::ControlSpec &row : ui::form1.controls)
        EXPECT_EQ(driver::placement(form, row.name), runtime::toPixels(row.bounds, dpi))
            << row.name;
    // One row checked against the window as drawn, not against the table.
    const std::map<int, runtime::PixelRect> calcola{{96, {240, 240, 73, 41}},
                                                    {144, {360, 360, 110, 62}}};
    EXPECT_EQ(driver::placement(form, "cmdcalcola"), calcola.at(dpi));
}

TEST_F(Form1Window, FocusStartsOnCalcolaAndTabsThroughTheBoxesOnly) {
    EXPECT_EQ(driver::focused(form), "cmdcalcola");
    for (const char *name : {"gradi1", "centimetri2", "cmdcalcola"}) {
        driver::press(form, driver::Key::tab);
        EXPECT_EQ(driver::focused(form), name);
    }
}

TEST_F(Form1Window, EnterAndEscDoNothing) {
    enter("0", "10"); // a click would report a division by zero
    const auto before = everything();
    for (const char *name : {"gradi1", "centimetri2", "cmdcalcola"}) {
        driver::focus(form, name);
        driver::press(form, driver::Key::enter);
        driver::press(form, driver::Key::escape);
        EXPECT_EQ(driver::focused(form), name);
    }
    EXPECT_EQ(everything(), before);
    EXPECT_TRUE(errors.empty());
    EXPECT_TRUE(driver::isOpen(form));
}

TEST_F(Form1Window, ClicksChangeOnlyTheResult) {
    auto expected = everything();
    EXPECT_EQ(expected.at("centimetri1"), "");
    EXPECT_EQ(expected.at("gradi1"), "");
    enter("90", "10");
    for (int click = 0; click < 3; ++click)
        clickCalcola();
    driver::type(form, ui::gradi1, "abc");
    clickCalcola();
    expected["gradi1"] = "abc";
    expected["centimetri2"] = "10";
    expected["centimetri1"] = "40";
    EXPECT_EQ(everything(), expected);
    EXPECT_EQ(errors, std::vector<int>{13});
}

// The table's captions are shown whole, in whatever font stands in for the
// one they were sized for.
TEST_F(Form1Window, NoCaptionIsCut) {
    for (const runtime::ControlSpec &row : ui::form1.controls)
        if (!row.text.empty()) {
            EXPECT_TRUE(driver::captionFits(form, row.name)) << row.name;
        }
}

struct Result {
    std::string name;
    std::string degrees;
    std::string distance;
    std::string shown;
    bool shrunk;
};

class Results : public Form1Window, public testing::WithParamInterface<Result> {};

// A long result is shown whole in a smaller size, never cut into another
// number; a short one after it at full size again.
TEST_P(Results, AreShownWholeAndAShortOneAfterAtFullSize) {
    enter(GetParam().degrees, GetParam().distance);
    clickCalcola();
    EXPECT_EQ(shown(ui::centimetri1), GetParam().shown);
    EXPECT_TRUE(driver::captionFits(form, ui::centimetri1));
    EXPECT_EQ(driver::atTableSize(form, ui::centimetri1), !GetParam().shrunk);
    enter("90", "10");
    clickCalcola();
    EXPECT_EQ(shown(ui::centimetri1), "40");
    EXPECT_TRUE(driver::atTableSize(form, ui::centimetri1));
    const std::string family = driver::fontFamily(form, ui::centimetri1);
    EXPECT_TRUE(family == "Verdana" || family == "DejaVu Sans") << family;
}

INSTANTIATE_TEST_SUITE_P(Window, Results,
                         testing::Values(Result{"Short", "7", "13", "668,5714", false},
                                         Result{"Widest", "-360", "3,4028235E+38", "-3,402823E+38",
                                                true},
                                         Result{"ExponentForm", "-360", "1E-30", "-1E-30", false}),
                         rows::RowName());

TEST_F(Form1Window, ResultCanBeSelectedAndCopied) {
    enter("7", "13");
    clickCalcola();
    EXPECT_EQ(driver::copyAll(form, ui::centimetri1), "668,5714");
}

TEST_F(Form1Window, ScreenReadersNameEachBoxAfterItsLabel) {
    EXPECT_EQ(driver::accessibleName(form, ui::gradi1), "GRADI MISURATI");
    EXPECT_EQ(driver::accessibleName(form, ui::centimetri2), "SPAZIO MISURATO in centimetri");
}

// A lone surrogate is no character at all: it reaches the command as text
// that is no number.
TEST_F(Form1Window, LoneSurrogateIsNoNumber) {
    driver::setTextUtf16(form, ui::gradi1,
                         u"9\xD800"
                         u"0");
    driver::setText(form, ui::centimetri2, "10");
    clickCalcola();
    EXPECT_EQ(errors, std::vector<int>{13});
    EXPECT_EQ(shown(ui::centimetri1), "");
}

struct ErrorBox {
    std::string name;
    std::string degrees;
    std::string distance;
    std::string text;
};

class ErrorBoxes : public Form1Window, public testing::WithParamInterface<ErrorBox> {
protected:
    runtime::ScopedErrorReporter realBox{runtime::showErrorBox};
};

// The real box, as the user sees it: over the window and owned by it, the
// error, then what to change; the program goes on with what was there.
TEST_P(ErrorBoxes, ShowTheErrorAndTheProgramGoesOn) {
    const ErrorBox &e = GetParam();
    enter("90", "10");
    clickCalcola();
    ASSERT_EQ(shown(ui::centimetri1), "40");
    driver::setText(form, ui::gradi1, e.degrees);
    driver::setText(form, ui::centimetri2, e.distance);
    driver::focus(form, "cmdcalcola");

    const std::vector<driver::SeenBox> seen = driver::pressAndAnswerBoxes(form, "cmdcalcola");

    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].title, "Calcolo passo della rigatura");
    EXPECT_EQ(seen[0].text, e.text);
    EXPECT_TRUE(seen[0].ownedByWindow);
    EXPECT_TRUE(seen[0].centredOnWindow);
    EXPECT_EQ(seen[0].buttons, 1);
    EXPECT_EQ(shown(ui::centimetri1), "40");
    EXPECT_EQ(shown(ui::gradi1), e.degrees);
    EXPECT_EQ(shown(ui::centimetri2), e.distance);
    EXPECT_EQ(driver::focused(form), "cmdcalcola") << "the focus comes back from the box";
}

INSTANTIATE_TEST_SUITE_P(
    Window, ErrorBoxes,
    testing::Values(ErrorBox{"DegreesNotANumber", "abc", "10", box_texts::degreesNotANumber},
                    ErrorBox{"DistanceNotANumber", "90", "", box_texts::distanceNotANumber},
                    ErrorBox{"DegreesOutOfRange", "-1e39", "10", box_texts::degreesOutOfRange},
                    ErrorBox{"DistanceOutOfRange", "90", "1e39", box_texts::distanceOutOfRange},
                    ErrorBox{"ZeroDegrees", "0", "10", box_texts::zeroDegrees},
                    ErrorBox{"TwistTooLarge", "1e-30", "1e10", box_texts::twistTooLarge}),
    rows::RowName());

// A screen reader presses a button while the window is in the background,
// and presses it again while the error box is open: one box, the window's.
TEST_F(Form1Window, PressingAgainWhileTheBoxIsOpenGivesNoSecondBox) {
    // A box that does not block would hide a second run behind itself: the
    // runs are counted as well as the boxes.
    int reported = 0;
    const runtime::ScopedErrorReporter realBox(
        [&reported](runtime::Form &window, const runtime::RuntimeError &error) {
            ++reported;
            runtime::showErrorBox(window, error);
        });
    driver::setText(form, ui::gradi1, "abc");
    driver::setText(form, ui::centimetri2, "10");
    driver::putAnotherWindowInFront(form);

    const std::vector<driver::SeenBox> seen =
        driver::pressAndAnswerBoxes(form, "cmdcalcola", /*pressAgain=*/true);

    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, box_texts::degreesNotANumber);
    EXPECT_TRUE(seen[0].ownedByWindow);
    EXPECT_TRUE(seen[0].centredOnWindow);
    EXPECT_EQ(reported, 1);
    EXPECT_TRUE(driver::isOpen(form));
}

} // namespace
