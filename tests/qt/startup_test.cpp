// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The Qt program's start, where the window cannot be built: in a process of
// its own, as the program makes the one Qt application there is.

#include "runtime/application.h"

#include "tests/error_boxes.h"
#include "tests/unbuildable_application.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A window that cannot be built is said in one line on standard error,
// never as a crash or a silent end.
TEST(StartUp, AWindowThatCannotBeBuiltIsReported) {
    const UnbuildableApplication application;
    char program[] = "passo-rigatura";
    char platform[] = "-platform";
    char offscreen[] = "offscreen";
    char *arguments[] = {program, platform, offscreen, nullptr};
    int count = 3;
    testing::internal::CaptureStderr();
    const int status = runtime::run(count, arguments, application.description);
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_EQ(status, 1);
    EXPECT_NE(printed.find("passo-rigatura: " + box_texts::startupFailure + "\n"),
              std::string::npos)
        << printed;
}

} // namespace
