// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/error_box.h"

#include "runtime/win32/handles.h"
#include "runtime/win32/native_form.h"
#include "runtime/win32/wide_text.h"

#include <string_view>

namespace runtime {
namespace {

// The window the box about to open on this thread is centred on: Windows
// centres a message box on the screen, not on its owner.
thread_local HWND centreOn = nullptr;

bool isDialogBox(HWND window) {
    wchar_t name[8]{};
    GetClassNameW(window, name, 8);
    return std::wstring_view(name) == L"#32770";
}

void centre(HWND box, HWND over) {
    RECT owner{};
    RECT frame{};
    GetWindowRect(over, &owner);
    GetWindowRect(box, &frame);
    SetWindowPos(box, nullptr, (owner.left + owner.right - (frame.right - frame.left)) / 2,
                 (owner.top + owner.bottom - (frame.bottom - frame.top)) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK centreBoxAsItOpens(int code, WPARAM wParam, LPARAM lParam) {
    const auto window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && centreOn != nullptr && isDialogBox(window)) {
        centre(window, centreOn);
        centreOn = nullptr;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

// The box is owned by the form's window, which it disables until it is
// dismissed, and the program goes on afterwards. Its text keeps its bare line
// feeds, which the box breaks lines at like any other.
void showErrorBox(Form &form, const RuntimeError &error) {
    const HWND owner = form.native().window.get();
    centreOn = owner;
    const win32::HookOwner hook(
        SetWindowsHookExW(WH_CBT, centreBoxAsItOpens, nullptr, GetCurrentThreadId()));
    MessageBoxW(owner, win32::toUtf16(errorBoxText(error)).c_str(),
                win32::toUtf16(form.table().caption).c_str(), MB_OK | MB_ICONERROR);
    centreOn = nullptr;
}

} // namespace runtime
