#include "ui/form1.h"

#include "ui/calculate.h"

#include <array>

namespace ui {
namespace {

using runtime::ControlKind;
using runtime::ControlSpec;

constexpr std::array form1Controls{
    ControlSpec{
        .kind = ControlKind::textBox,
        .name = centimetri2,
        .text = "",
        .bounds = {.left = 240, .top = 2640, .width = 1815, .height = 375},
        .tabIndex = 2,
    },
    ControlSpec{
        .kind = ControlKind::textBox,
        .name = gradi1,
        .text = "",
        .bounds = {.left = 240, .top = 2040, .width = 1815, .height = 375},
        .tabIndex = 1,
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
        .name = centimetri1,
        .text = "",
        .bounds = {.left = 360, .top = 3840, .width = 1695, .height = 375},
        .tabIndex = 3,
    },
};

} // namespace

const runtime::FormSpec form1{
    .name = "Form1",
    .caption = "Calcolo passo della rigatura",
    .clientWidth = 5205,
    .clientHeight = 4425,
    .controls = form1Controls,
};

const runtime::ApplicationDescription application{
    .title = "Calcolo passo della rigatura",
    .version = "1.00",
    .startupForm = form1,
};

} // namespace ui
