// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/window_driver.h"

#include "tests/win32/event_loop.h"

#include "runtime/win32/native_form.h"
#include "runtime/win32/wide_text.h"

#include <windows.h>

#include <oleacc.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <thread>
#include <utility>
#include <vector>

namespace driver {
namespace {

using runtime::win32::toUtf16;
using runtime::win32::toUtf8;
using runtime::win32::windowText;

// The exit status the event loop was told to end with, once it was.
std::optional<int> quitStatus;

std::size_t rowOf(runtime::Form &form, std::string_view name) {
    const runtime::ControlSpec *row = runtime::findControl(form.table().controls, name);
    if (row == nullptr)
        throw std::logic_error("no control " + std::string(name));
    return static_cast<std::size_t>(row - form.table().controls.data());
}

HWND window(runtime::Form &form) {
    return form.native().window.get();
}

HWND control(runtime::Form &form, std::string_view name) {
    return form.native().controls[rowOf(form, name)];
}

void pump(runtime::Form &form) {
    if (const std::optional<int> status = runEventsUntilIdle(form))
        quitStatus = status;
}

void postKey(runtime::Form &form, WPARAM key, std::optional<wchar_t> character) {
    const HWND target = GetFocus();
    PostMessageW(target, WM_KEYDOWN, key, 1);
    if (character)
        PostMessageW(target, WM_CHAR, *character, 1);
    PostMessageW(target, WM_KEYUP, key, 0xC0000001);
    pump(form);
}

HFONT fontOf(HWND control) {
    return reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
}

// The face and the metrics of the font the control draws its text in, as the
// font system made it.
TEXTMETRICW drawnFont(HWND control, std::wstring *face = nullptr) {
    const HDC dc = GetDC(control);
    const HGDIOBJ previous = SelectObject(dc, fontOf(control));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    if (face != nullptr) {
        face->assign(LF_FACESIZE, L'\0');
        face->resize(static_cast<std::size_t>(GetTextFaceW(dc, LF_FACESIZE, face->data()) - 1));
    }
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return metrics;
}

// The control as it paints itself, frame included, into a bitmap of its own.
std::vector<std::uint32_t> painted(HWND control) {
    RECT frame{};
    GetWindowRect(control, &frame);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader,
                      frame.right - frame.left,
                      frame.top - frame.bottom,
                      1,
                      32,
                      BI_RGB,
                      0,
                      0,
                      0,
                      0,
                      0};
    void *bits = nullptr;
    const HDC memory = CreateCompatibleDC(nullptr);
    const HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    SendMessageW(control, WM_PRINT, reinterpret_cast<WPARAM>(memory),
                 PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
    GdiFlush();
    const auto *first = static_cast<const std::uint32_t *>(bits);
    std::vector<std::uint32_t> pixels(first, first + (frame.right - frame.left) *
                                                         (frame.bottom - frame.top));
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return pixels;
}

// The width and height of the pixels the control's caption leaves when the
// control is `size`: the control painted as it is, against the same control
// painted without its caption.
SIZE captionInk(HWND control, SIZE size) {
    RECT frame{};
    GetWindowRect(control, &frame);
    const auto resize = [control](LONG width, LONG height) {
        SetWindowPos(control, nullptr, 0, 0, width, height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    };
    resize(size.cx, size.cy);
    const std::wstring caption = windowText(control);
    const std::vector<std::uint32_t> with = painted(control);
    SetWindowTextW(control, L"");
    const std::vector<std::uint32_t> without = painted(control);
    SetWindowTextW(control, caption.c_str());
    resize(frame.right - frame.left, frame.bottom - frame.top);
    RECT ink{size.cx, size.cy, 0, 0};
    for (LONG y = 0; y < size.cy; ++y)
        for (LONG x = 0; x < size.cx; ++x)
            if (const auto i = static_cast<std::size_t>(y * size.cx + x); with[i] != without[i])
                ink = {std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x + 1),
                       std::max(ink.bottom, y + 1)};
    return {std::max(ink.right - ink.left, 0L), std::max(ink.bottom - ink.top, 0L)};
}

RECT client(HWND control) {
    RECT r{};
    GetClientRect(control, &r);
    return r;
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

bool isDialogBox(HWND candidate) {
    wchar_t name[16]{};
    GetClassNameW(candidate, name, 16);
    return std::wstring_view(name) == L"#32770" && IsWindowVisible(candidate);
}

BOOL CALLBACK collectDialog(HWND candidate, LPARAM found) {
    if (isDialogBox(candidate))
        reinterpret_cast<std::vector<HWND> *>(found)->push_back(candidate);
    return TRUE;
}

std::vector<HWND> openBoxes(DWORD thread) {
    std::vector<HWND> found;
    EnumThreadWindows(thread, collectDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

BOOL CALLBACK countButton(HWND child, LPARAM count) {
    wchar_t name[16]{};
    GetClassNameW(child, name, 16);
    *reinterpret_cast<int *>(count) += _wcsicmp(name, L"Button") == 0 ? 1 : 0;
    return TRUE;
}

POINT centre(HWND of) {
    RECT r{};
    GetWindowRect(of, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

SeenBox describe(HWND box, HWND owner) {
    SeenBox seen{toUtf8(windowText(box)), toUtf8(windowText(GetDlgItem(box, 0xFFFF))),
                 GetWindow(box, GW_OWNER) == owner, false, 0};
    const POINT a = centre(box);
    const POINT b = centre(owner);
    seen.centredOnWindow = std::abs(a.x - b.x) <= 2 && std::abs(a.y - b.y) <= 2;
    EnumChildWindows(box, countButton, reinterpret_cast<LPARAM>(&seen.buttons));
    return seen;
}

} // namespace

std::optional<int> runEventsUntilIdle(runtime::Form &form) {
    std::optional<int> status;
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT)
            status = static_cast<int>(message.wParam);
        else
            form.native().dispatch(message);
    }
    return status;
}

// Another thread watches the program's while `call` waits for its boxes:
// each new box is read, the second press is posted while the first box is
// open, and every box is answered with OK, the newest first. The watch ends,
// and every box with it, when the call has returned or failed.
std::vector<SeenBox> answerBoxesWhile(HWND owner, HWND button, bool pressAgain,
                                      const std::function<void()> &call) {
    std::vector<SeenBox> seen;
    {
        const std::jthread watcher([&, thread = GetCurrentThreadId()](std::stop_token stop) {
            std::vector<HWND> known;
            for (int tick = 0; tick < 1000 && !stop.stop_requested(); ++tick, Sleep(20)) {
                const std::vector<HWND> open = openBoxes(thread);
                for (const HWND box : open)
                    if (std::find(known.begin(), known.end(), box) == known.end()) {
                        known.push_back(box);
                        seen.push_back(describe(box, owner));
                    }
                if (!open.empty() && std::exchange(pressAgain, false)) {
                    PostMessageW(button, BM_CLICK, 0, 0);
                    Sleep(300); // time for a box it opened to appear
                } else if (!open.empty()) {
                    PostMessageW(open.back(), WM_COMMAND, IDOK, 0);
                }
            }
            for (const HWND box : openBoxes(thread))
                PostMessageW(box, WM_COMMAND, IDOK, 0);
        });
        call();
    }
    return seen;
}

void show(runtime::Form &form) {
    quitStatus.reset();
    form.show();
    pump(form);
}

void setText(runtime::Form &form, std::string_view textBox, const std::string &text) {
    SetWindowTextW(control(form, textBox), toUtf16(text).c_str());
}

std::string held(const std::string &typed) {
    return typed;
}

void setTextUtf16(runtime::Form &form, std::string_view textBox, const std::u16string &text) {
    const std::wstring wide(text.begin(), text.end());
    SetWindowTextW(control(form, textBox), wide.c_str());
}

void type(runtime::Form &form, std::string_view textBox, const std::string &text) {
    const HWND box = control(form, textBox);
    SetFocus(box);
    SendMessageW(box, EM_SETSEL, 0, -1);
    SendMessageW(box, WM_CLEAR, 0, 0);
    for (const wchar_t unit : toUtf16(text))
        PostMessageW(box, WM_CHAR, unit, 1);
    pump(form);
}

std::string text(runtime::Form &form, std::string_view name) {
    return toUtf8(windowText(control(form, name)));
}

void click(runtime::Form &form, std::string_view button) {
    SendMessageW(control(form, button), BM_CLICK, 0, 0);
    pump(form);
}

// What an automation tool's press of a button comes to on Windows.
void pressByAutomation(runtime::Form &form, std::string_view button) {
    click(form, button);
}

void press(runtime::Form &form, Key key) {
    switch (key) {
    case Key::tab:
        postKey(form, VK_TAB, std::nullopt);
        break;
    case Key::enter:
        postKey(form, VK_RETURN, L'\r');
        break;
    case Key::escape:
        postKey(form, VK_ESCAPE, L'\x1b');
        break;
    }
}

void focus(runtime::Form &form, std::string_view name) {
    SetFocus(control(form, name));
    pump(form);
}

std::string focused(runtime::Form &form) {
    const HWND focus = GetFocus();
    for (const runtime::ControlSpec &row : form.table().controls)
        if (control(form, row.name) == focus)
            return std::string(row.name);
    return {};
}

// A plain window of the same thread, left open for the rest of the run.
void putAnotherWindowInFront(runtime::Form &form) {
    static runtime::win32::WindowOwner other;
    other.reset(CreateWindowExW(0, L"STATIC", L"altro", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                                100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    SetForegroundWindow(other.get());
    SetActiveWindow(other.get());
    pump(form);
    if (GetActiveWindow() == window(form))
        throw std::runtime_error("the window is still active");
}

bool isOpen(runtime::Form &form) {
    pump(form);
    return IsWindowVisible(window(form)) && !quitStatus;
}

int layoutDpi(runtime::Form &form) {
    return static_cast<int>(GetDpiForWindow(window(form)));
}

runtime::PixelRect placement(runtime::Form &form, std::string_view name) {
    RECT r{};
    GetWindowRect(control(form, name), &r);
    MapWindowPoints(nullptr, window(form), reinterpret_cast<POINT *>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

runtime::PixelRect clientArea(runtime::Form &form) {
    const RECT r = client(window(form));
    return {0, 0, r.right, r.bottom};
}

bool isResizable(runtime::Form &form) {
    return (GetWindowLongW(window(form), GWL_STYLE) & WS_THICKFRAME) != 0;
}

std::string title(runtime::Form &form) {
    return toUtf8(windowText(window(form)));
}

bool hasIcon(runtime::Form &form) {
    return SendMessageW(window(form), WM_GETICON, ICON_BIG, 0) != 0;
}

// Whole: the control draws as much of its caption as it would with room to
// spare, four times its size each way, and draws some of it.
bool captionFits(runtime::Form &form, std::string_view name) {
    const HWND c = control(form, name);
    RECT frame{};
    GetWindowRect(c, &frame);
    const SIZE ink = captionInk(c, {frame.right - frame.left, frame.bottom - frame.top});
    const SIZE roomy =
        captionInk(c, {4 * (frame.right - frame.left), 4 * (frame.bottom - frame.top)});
    return ink.cx > 0 && ink.cx == roomy.cx && ink.cy == roomy.cy;
}

// The font's em, as the font system made it, is the table's size to within
// the pixel that the system's rounding of the font's ascent and descent
// takes or gives.
bool atTableSize(runtime::Form &form, std::string_view name) {
    const TEXTMETRICW drawn = drawnFont(control(form, name));
    const runtime::ControlSpec &row = form.table().controls[rowOf(form, name)];
    const double tablePixels =
        runtime::fontOf(form.table(), row).pointSize * layoutDpi(form) / 72.0;
    return std::abs(drawn.tmHeight - drawn.tmInternalLeading - tablePixels) <= 1.0;
}

std::string fontFamily(runtime::Form &form, std::string_view name) {
    std::wstring face;
    drawnFont(control(form, name), &face);
    return toUtf8(face);
}

// Through Microsoft Active Accessibility, as a screen reader reads it.
std::string accessibleName(runtime::Form &form, std::string_view name) {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        throw std::runtime_error("no COM");
    IAccessible *accessible = nullptr;
    std::string read;
    if (AccessibleObjectFromWindow(control(form, name), static_cast<DWORD>(OBJID_CLIENT),
                                   IID_IAccessible,
                                   reinterpret_cast<void **>(&accessible)) == S_OK) {
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR text = nullptr;
        if (accessible->get_accName(self, &text) == S_OK && text != nullptr)
            read = toUtf8(text);
        SysFreeString(text);
        accessible->Release();
    }
    CoUninitialize();
    return read;
}

std::string copyAll(runtime::Form &form, std::string_view name) {
    const HWND c = control(form, name);
    SendMessageW(c, EM_SETSEL, 0, -1);
    SendMessageW(c, WM_COPY, 0, 0);
    std::string copied;
    if (OpenClipboard(window(form))) {
        if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            copied = toUtf8(static_cast<const wchar_t *>(GlobalLock(data)));
            GlobalUnlock(data);
        }
        CloseClipboard();
    }
    return copied;
}

std::vector<SeenBox> pressAndAnswerBoxes(runtime::Form &form, std::string_view button,
                                         bool pressAgain) {
    return answerBoxesWhile(window(form), control(form, button), pressAgain,
                            [&] { pressByAutomation(form, button); });
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
