// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/error_box.h"

#include "runtime/win32/application_title.h"
#include "runtime/win32/wide_text.h"

#include <windows.h>

namespace runtime {

// The box is modal to the active window, the program's own, and the
// program goes on once it is dismissed. Its text keeps its bare line feeds,
// which the box breaks lines at like any other.
void showErrorBox(const RuntimeError &error) {
    const HWND owner = GetActiveWindow();
    // Where run() never started, as in the window tests, the window's caption
    // stands for the program's name.
    const std::wstring title =
        win32::applicationTitle().empty() ? win32::windowText(owner) : win32::applicationTitle();
    MessageBoxW(owner, win32::toUtf16(errorBoxText(error)).c_str(), title.c_str(),
                MB_OK | MB_ICONERROR);
}

} // namespace runtime
