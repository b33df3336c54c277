// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/application.h"

#include "runtime/error_box.h"
#include "runtime/win32/native_form.h"
#include "runtime/win32/wide_text.h"

#include <exception>
#include <optional>

namespace runtime {
namespace {

// A program started from a menu has nowhere else to say why its window did
// not open.
int reportStartupFailure(const ApplicationDescription &application, const std::exception &failure) {
    MessageBoxW(nullptr, win32::toUtf16(startupFailureText(failure)).c_str(),
                win32::toUtf16(application.title).c_str(), MB_OK | MB_ICONERROR);
    return 1;
}

} // namespace

// The version and the desktop entry's name are the Linux desktop's business;
// Windows reads the version from the program file's resources.
int run(int &, char **, const ApplicationDescription &application) {
    std::optional<Form> form;
    try {
        form.emplace(application.startupForm);
    } catch (const std::exception &failure) {
        return reportStartupFailure(application, failure);
    }
    form->show();
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        form->native().dispatch(message);
    // Closing the window posts the quit message with status 0.
    return static_cast<int>(message.wParam);
}

} // namespace runtime
