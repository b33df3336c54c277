// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/application.h"

#include "runtime/win32/application_title.h"
#include "runtime/win32/native_form.h"
#include "runtime/win32/wide_text.h"

namespace runtime {

std::wstring &win32::applicationTitle() {
    static std::wstring title;
    return title;
}

// The version and the desktop entry's name are the Linux desktop's business;
// Windows reads the version from the program file's resources.
int run(int &, char **, const ApplicationDescription &application) {
    win32::applicationTitle() = win32::toUtf16(application.title);
    Form form(application.startupForm);
    form.show();
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        form.native().dispatch(message);
    // Closing the window posts the quit message with status 0.
    return static_cast<int>(message.wParam);
}

} // namespace runtime
