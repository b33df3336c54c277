// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/core/errors.h"
#include "runtime/layout.h"
#include "ui/form1.h"

#include "tests/row_name.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

using rows::PrintTo;

struct Density {
    std::string name;
    int dpi;
    runtime::PixelRect calcola; // cmdcalcola, 3600, 3600, 1095 x 615 twips
    int clientWidth;            // 5205 twips
    int clientHeight;           // 4425 twips
};

class AtDensity : public testing::TestWithParam<Density> {};

TEST_P(AtDensity, TwipsBecomePixels) {
    const Density &d = GetParam();
    const runtime::ControlSpec *calcola = runtime::findControl(ui::form1.controls, "cmdcalcola");
    ASSERT_NE(calcola, nullptr);
    EXPECT_EQ(runtime::toPixels(calcola->bounds, d.dpi), d.calcola);
    EXPECT_EQ(runtime::twipsToPixels(ui::form1.clientWidth, d.dpi), d.clientWidth);
    EXPECT_EQ(runtime::twipsToPixels(ui::form1.clientHeight, d.dpi), d.clientHeight);
}

INSTANTIATE_TEST_SUITE_P(Layout, AtDensity,
                         testing::Values(Density{"Standard96", 96, {240, 240, 73, 41}, 347, 295},
                                         // Halves round up: 5205 twips are 520.5 pixels at 144 dpi.
                                         Density{
                                             "OneAndAHalf144", 144, {360, 360, 110, 62}, 521, 443},
                                         Density{"Double192", 192, {480, 480, 146, 82}, 694, 590}),
                         rows::RowName());

TEST(FocusOrder, GoesByTabIndexThroughFocusableControlsOnly) {
    const auto names = [](const std::vector<std::size_t> &rows) {
        std::vector<std::string_view> named;
        for (std::size_t row : rows)
            named.push_back(ui::form1.controls[row].name);
        return named;
    };
    EXPECT_EQ(names(runtime::focusOrder(ui::form1.controls)),
              (std::vector<std::string_view>{"cmdcalcola", "gradi1", "centimetri2"}));
    // Top to bottom by lines, each left to right, each box after the label
    // that names it: the logo, the two measurements, the sentence with the
    // result, and CALCOLA, which stands lower right on the sentence's line.
    EXPECT_EQ(
        names(runtime::readingOrder(ui::form1.controls)),
        (std::vector<std::string_view>{"Picture1", "Label1", "gradi1", "Label2", "centimetri2",
                                       "Label3", "centimetri1", "Label4", "cmdcalcola"}));
}

TEST(LabelFor, IsTheLabelTheBoxNamesAndBack) {
    const auto &controls = ui::form1.controls;
    for (const auto &[box, label] : {std::pair{"gradi1", "Label1"}, {"centimetri2", "Label2"}}) {
        const runtime::ControlSpec *found =
            runtime::labelFor(controls, *runtime::findControl(controls, box));
        ASSERT_NE(found, nullptr) << box;
        EXPECT_EQ(found->name, label);
        EXPECT_EQ(runtime::boxLabelledBy(controls, *found)->name, box);
    }
    EXPECT_EQ(runtime::boxLabelledBy(controls, *runtime::findControl(controls, "Label3")), nullptr);
    EXPECT_EQ(runtime::findControl(controls, "nessuno"), nullptr);
}

TEST(FocusNeighbour, GoesRoundTheFocusOrderBothWays) {
    const auto &controls = ui::form1.controls;
    const auto row = [&](std::string_view name) {
        return static_cast<std::size_t>(runtime::findControl(controls, name) - controls.data());
    };
    for (const auto &[from, next, previous] : {std::tuple{"cmdcalcola", "gradi1", "centimetri2"},
                                               {"gradi1", "centimetri2", "cmdcalcola"},
                                               {"centimetri2", "cmdcalcola", "gradi1"}}) {
        EXPECT_EQ(controls[runtime::focusNeighbour(controls, row(from), true)].name, next);
        EXPECT_EQ(controls[runtime::focusNeighbour(controls, row(from), false)].name, previous);
    }
}

TEST(KeyAnswer, IsADialogsWithNeitherDefaultNorCancelButton) {
    using runtime::ControlKind, runtime::Key, runtime::KeyAnswer;
    struct Row {
        Key key;
        ControlKind focused;
        KeyAnswer answer;
    };
    for (const Row &r : {Row{Key::tab, ControlKind::textBox, KeyAnswer::focusNext},
                         Row{Key::shiftTab, ControlKind::commandButton, KeyAnswer::focusPrevious},
                         Row{Key::enter, ControlKind::commandButton, KeyAnswer::nothing},
                         Row{Key::enter, ControlKind::textBox, KeyAnswer::nothing},
                         Row{Key::escape, ControlKind::commandButton, KeyAnswer::nothing},
                         Row{Key::space, ControlKind::commandButton, KeyAnswer::press},
                         Row{Key::space, ControlKind::textBox, KeyAnswer::typed}})
        EXPECT_EQ(runtime::keyAnswer(r.key, r.focused), r.answer)
            << static_cast<int>(r.key) << " on " << static_cast<int>(r.focused);
}

// A command that names a control the window lacks, or one of another kind,
// is a fault of the program: the internal error, never a wrong control.
TEST(RowNamed, IsTheRowOfThatNameAndKind) {
    EXPECT_EQ(
        ui::form1.controls[runtime::rowNamed(ui::form1, "gradi1", runtime::ControlKind::textBox)]
            .name,
        "gradi1");
    for (const auto &[name, kind] : {std::pair{"nessuno", runtime::ControlKind::label},
                                     {"gradi1", runtime::ControlKind::label}}) {
        try {
            runtime::rowNamed(ui::form1, name, kind);
            ADD_FAILURE() << name;
        } catch (const runtime::RuntimeError &error) {
            EXPECT_EQ(error.code(), runtime::ErrorCode::internalError) << name;
        }
    }
}

struct Spelling {
    std::string name;
    std::string given;
    std::string escaped;   // for a toolkit that takes '&' as an access key
    std::string denseTwin; // as a picture's file name
};

class Spellings : public testing::TestWithParam<Spelling> {};

TEST_P(Spellings, AreDecidedOnceForEveryBackend) {
    EXPECT_EQ(runtime::withLiteralAmpersands(GetParam().given), GetParam().escaped);
    EXPECT_EQ(runtime::denseTwinName(GetParam().given), GetParam().denseTwin);
}

INSTANTIATE_TEST_SUITE_P(
    Layout, Spellings,
    testing::Values(Spelling{"Plain", "logo.png", "logo.png", "logo@2x.png"},
                    Spelling{"Ampersands", "a&b&&c.bmp", "a&&b&&&&c.bmp", "a&b&&c@2x.bmp"},
                    Spelling{"NoExtension", "logo", "logo", "logo@2x"},
                    Spelling{"DotInAFolder", "icons.v2/logo", "icons.v2/logo", "icons.v2/logo@2x"}),
    rows::RowName());

struct Fit {
    std::string name;
    double textWidthAtOnePoint; // the text's width grows with the size
    double available;
    double fitted;
};

class FittedSize : public testing::TestWithParam<Fit> {};

TEST_P(FittedSize, IsTheLargestQuarterPointThatFits) {
    const Fit &f = GetParam();
    EXPECT_DOUBLE_EQ(
        runtime::fittedPointSize(14.25, f.available,
                                 [&](double size) { return size * f.textWidthAtOnePoint; }),
        f.fitted);
}

INSTANTIATE_TEST_SUITE_P(Layout, FittedSize,
                         testing::Values(Fit{"FitsAsItIs", 5.0, 113.0, 14.25},
                                         Fit{"JustFits", 113.0 / 14.25, 113.0, 14.25},
                                         Fit{"ShrinksByQuarters", 10.0, 113.0, 11.25},
                                         // Never below a quarter point, whatever the text.
                                         Fit{"StopsAtTheSmallestSize", 1e6, 113.0, 0.25}),
                         rows::RowName());

} // namespace
