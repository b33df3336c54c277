// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/form1.h"

#include "ui/calculate.h"

#include <array>

namespace ui {
namespace {

using runtime::ControlKind;
using runtime::ControlSpec;
using runtime::FontSpec;
using runtime::SystemColour;

// Arial's metrics, which every caption was sized for; Liberation Sans is its
// free twin on Linux.
constexpr FontSpec interfaceFont{
    .family = "Liberation Sans", .fallbackFamily = "Arial", .pointSize = 8.0};

constexpr FontSpec resultFont{
    .family = "Verdana", .fallbackFamily = "DejaVu Sans", .pointSize = 14.25, .weight = 400};

// Title bars and task switchers use these; the larger sizes, which cost
// start-up time to decode, come from the icon theme.
constexpr std::array<std::string_view, 4> iconFiles{
    "icons/16x16/passo-rigatura.png",
    "icons/32x32/passo-rigatura.png",
    "icons/48x48/passo-rigatura.png",
    "icons/64x64/passo-rigatura.png",
};

constexpr std::array form1Controls{
    ControlSpec{
        .kind = ControlKind::pictureBox,
        .name = "Picture1",
        .text = "",
        .bounds = {.left = 120, .top = 120, .width = 3255, .height = 1455},
        .tabIndex = 8,
        .picture = "logo.png",
    },
    ControlSpec{
        .kind = ControlKind::textBox,
        .name = centimetri2,
        .text = "",
        .bounds = {.left = 240, .top = 2640, .width = 1815, .height = 375},
        .tabIndex = 2,
        .toolTip = "La lunghezza di canna su cui è stato misurato l'angolo, in centimetri "
                   "(per esempio 10 o 12,5)",
        .labelledBy = "Label2",
    },
    ControlSpec{
        .kind = ControlKind::textBox,
        .name = gradi1,
        .text = "",
        .bounds = {.left = 240, .top = 2040, .width = 1815, .height = 375},
        .tabIndex = 1,
        .toolTip = "L'angolo di cui ha girato la rigatura lungo lo spazio misurato, in gradi "
                   "(per esempio 90)",
        .labelledBy = "Label1",
    },
    ControlSpec{
        .kind = ControlKind::commandButton,
        .name = "cmdcalcola",
        .text = "CALCOLA",
        .bounds = {.left = 3600, .top = 3600, .width = 1095, .height = 615},
        .tabIndex = 0,
        .onClick = calculate,
    },
    ControlSpec{
        .kind = ControlKind::label,
        .name = "Label4",
        .text = "cm. / giro",
        .bounds = {.left = 2160, .top = 3960, .width = 855, .height = 255},
        .tabIndex = 7,
    },
    ControlSpec{
        .kind = ControlKind::label,
        .name = "Label3",
        .text = "Il passo di rigatura della canna è di",
        .bounds = {.left = 240, .top = 3480, .width = 2775, .height = 255},
        .tabIndex = 6,
    },
    ControlSpec{
        .kind = ControlKind::label,
        .name = "Label2",
        .text = "SPAZIO MISURATO in centimetri",
        .bounds = {.left = 2280, .top = 2760, .width = 2775, .height = 255},
        .tabIndex = 5,
    },
    ControlSpec{
        .kind = ControlKind::label,
        .name = "Label1",
        .text = "GRADI MISURATI",
        .bounds = {.left = 2280, .top = 2160, .width = 1455, .height = 255},
        .tabIndex = 4,
    },
    // The result: its accessible name is the text it shows, so a screen reader
    // reads the number out.
    ControlSpec{
        .kind = ControlKind::label,
        .name = centimetri1,
        .text = "",
        .bounds = {.left = 360, .top = 3840, .width = 1695, .height = 375},
        .tabIndex = 3,
        .font = &resultFont,
        .background = SystemColour::window,
        .foreground = SystemColour::windowText,
        .accessibleDescription = "Il passo di rigatura della canna è di … cm. / giro",
        .selectable = true,
    },
};

} // namespace

constexpr runtime::FormSpec form1{
    .name = "Form1",
    .caption = "Calcolo passo della rigatura",
    .clientWidth = 5205,
    .clientHeight = 4425,
    .font = interfaceFont,
    .iconFiles = iconFiles,
    .controls = form1Controls,
};

static_assert(runtime::isWellFormed(form1));

const runtime::ApplicationDescription application{
    .title = "Calcolo passo della rigatura",
    .version = PASSO_VERSION,
    .desktopFileName = "it.passorigatura.PassoRigatura",
    .commandName = "passo-rigatura",
    .summary = "Calcola il passo di rigatura di una canna dai gradi e dai centimetri misurati.",
    .startupForm = form1,
};

} // namespace ui
