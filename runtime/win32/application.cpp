// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/application.h"

#include "runtime/win32/native_form.h"
#include "runtime/win32/wide_text.h"

namespace runtime {
namespace {

int runEventLoop(Form &form) {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        form.native().dispatch(message);
    // Closing the window posts the quit message with status 0.
    return static_cast<int>(message.wParam);
}

} // namespace

// The version and the desktop entry's name are the Linux desktop's business;
// Windows reads the version from the program file's resources. A program
// started from a menu has no console: a start-up failure is said in a box.
int run(int &, char **, const ApplicationDescription &application) {
    return runStartupForm(application, runEventLoop, [&application](const std::string &why) {
        MessageBoxW(nullptr, win32::toUtf16(why).c_str(), win32::toUtf16(application.title).c_str(),
                    MB_OK | MB_ICONERROR);
    });
}

} // namespace runtime
