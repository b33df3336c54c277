// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/application.h"
#include "runtime/web/dom.h"

#include "tests/error_boxes.h"
#include "tests/unbuildable_application.h"

#include <emscripten/em_js.h>
#include <emscripten/emscripten.h>
#include <gtest/gtest.h>

EM_JS(int, driver_alert_size, (), {
    var alert = document.querySelector("[role=alert]");
    return Module.passoHold(alert ? alert.textContent : "");
});

namespace {

// A page whose window cannot be built says why in its place, as an alert a
// screen reader reads out at once; never a blank page.
TEST(StartUp, AWindowThatCannotBeBuiltIsReportedOnThePage) {
    const UnbuildableApplication application;
    int count = 0;
    EXPECT_EQ(runtime::run(count, nullptr, application.description), 1);
    EXPECT_EQ(runtime::dom::heldText(driver_alert_size()), box_texts::startupFailure);
}

} // namespace
