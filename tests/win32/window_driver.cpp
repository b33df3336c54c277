// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/window_driver.h"

#include "runtime/win32/native_form.h"
#include "runtime/win32/wide_text.h"

#include <windows.h>

#include <cstdint>
#include <stdexcept>

namespace driver {
namespace {

HWND control(runtime::Form &form, std::string_view name) {
    const HWND found = form.native().control(name);
    if (found == nullptr)
        throw std::logic_error("no control " + std::string(name));
    return found;
}

// Wine counts no GUI objects for GetGuiResources, but keeps the GDI handle
// table where Windows keeps it: the process environment block points to it
// (GdiSharedHandleTable, at 0xF8 in 64-bit processes), one 24-byte entry per
// handle, whose type byte is not zero while the object lives.
long liveGdiObjects() {
    struct Entry {
        std::uint64_t object;
        std::uint32_t owner;
        std::uint16_t unique;
        std::uint8_t type;
        std::uint8_t flags;
        std::uint64_t user;
    };
    static_assert(sizeof(Entry) == 24);
    constexpr std::size_t tableOffset = 0xF8;
    constexpr int entries = 0x10000;
    // The thread's environment block holds the process's at 0x60.
    const unsigned char *block = nullptr;
    asm("movq %%gs:0x60, %0" : "=r"(block));
    const auto *table = *reinterpret_cast<const Entry *const *>(block + tableOffset);
    long live = 0;
    for (int i = 0; table != nullptr && i < entries; ++i)
        live += table[i].type != 0 ? 1 : 0;
    return live;
}

BOOL CALLBACK countWindow(HWND window, LPARAM count) {
    ++*reinterpret_cast<long *>(count);
    EnumChildWindows(window, countWindow, count);
    return TRUE;
}

// The windows of this thread and all their children, for the USER objects
// Wine does not count either.
long threadWindows() {
    long count = 0;
    EnumThreadWindows(GetCurrentThreadId(), countWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

} // namespace

void setText(runtime::Form &form, std::string_view textBox, const std::string &text) {
    SetWindowTextW(control(form, textBox), runtime::win32::toUtf16(text).c_str());
}

std::string held(const std::string &typed) {
    return typed;
}

std::string text(runtime::Form &form, std::string_view textBox) {
    return runtime::win32::toUtf8(runtime::win32::windowText(control(form, textBox)));
}

void click(runtime::Form &form, std::string_view button) {
    SendMessageW(control(form, button), BM_CLICK, 0, 0);
}

std::string caption(runtime::Form &form, std::string_view label) {
    return text(form, label);
}

long resourceUse() {
    const HANDLE self = GetCurrentProcess();
    const long counted = static_cast<long>(GetGuiResources(self, GR_GDIOBJECTS) +
                                           GetGuiResources(self, GR_USEROBJECTS));
    return counted != 0 ? counted : liveGdiObjects() + threadWindows();
}

// A click may leave the system a cached object or two (a device context, a
// brush for the controls' colours) on its first use.
long resourceSlack() {
    return 4;
}

} // namespace driver
