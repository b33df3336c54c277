// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Owners for what the Win32 backend takes from the system: each is given
// back exactly once, when its owner goes.

#include <windows.h>

#include <memory>
#include <type_traits>

namespace runtime::win32 {

struct WindowDestroyer {
    void operator()(HWND window) const noexcept { DestroyWindow(window); }
};

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const noexcept { DeleteObject(object); }
};

struct IconDestroyer {
    void operator()(HICON icon) const noexcept { DestroyIcon(icon); }
};

struct HookRemover {
    void operator()(HHOOK hook) const noexcept { UnhookWindowsHookEx(hook); }
};

// A top-level window; its child controls go with it.
using WindowOwner = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;
using FontOwner = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
using BitmapOwner = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiObjectDeleter>;
using IconOwner = std::unique_ptr<std::remove_pointer_t<HICON>, IconDestroyer>;
using HookOwner = std::unique_ptr<std::remove_pointer_t<HHOOK>, HookRemover>;

// A window's device context, borrowed from the system for one measurement.
class WindowDc {
public:
    explicit WindowDc(HWND window) : m_window(window), m_dc(GetDC(window)) {}
    ~WindowDc() { ReleaseDC(m_window, m_dc); }
    WindowDc(const WindowDc &) = delete;
    WindowDc &operator=(const WindowDc &) = delete;

    HDC get() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
};

// A device context in memory, to draw a bitmap from.
class MemoryDc {
public:
    explicit MemoryDc(HDC compatibleWith) : m_dc(CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDc() { DeleteDC(m_dc); }
    MemoryDc(const MemoryDc &) = delete;
    MemoryDc &operator=(const MemoryDc &) = delete;

    HDC get() const { return m_dc; }

private:
    HDC m_dc;
};

// A font or bitmap selected into a device context until the end of the scope:
// an object may be deleted only once no context holds it.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(SelectObject(dc, object)) {}
    ~Selection() { SelectObject(m_dc, m_previous); }
    Selection(const Selection &) = delete;
    Selection &operator=(const Selection &) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

} // namespace runtime::win32
