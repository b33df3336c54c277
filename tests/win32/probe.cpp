// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Reads the program's window from outside, as the end-to-end tests need it:
//
//   probe window [SECONDS]     waits up to SECONDS (default 0) for the window,
//                              then prints it and each of its controls
//   probe error-box [SECONDS]  waits for an error box in front of the window,
//                              prints its title and texts, and presses its OK
//
// One line each, tab-separated: what it is, the window class, the rectangle
// on the screen (left,top,right,bottom; the client area for the window and
// the box, the whole control for a control; Wine puts its windows at the
// same place on the X screen), and the text as UTF-8. Exits 0 when it found
// what it was asked for, 1 when not, 2 on a wrong command line.

#include "runtime/win32/wide_text.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <io.h>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::wstring_view windowTitle = L"Calcolo passo della rigatura";
constexpr std::wstring_view dialogClass = L"#32770";
constexpr DWORD pollMilliseconds = 50;
constexpr UINT answerMilliseconds = 5000;

std::wstring className(HWND window) {
    wchar_t name[256];
    const int length = GetClassNameW(window, name, 256);
    return {name, static_cast<std::size_t>(length > 0 ? length : 0)};
}

// A message to a window of the program; a program that has stopped
// answering gives 0 after a while instead of holding the probe for ever.
LRESULT ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, answerMilliseconds,
                            &result) == 0)
        return 0;
    return static_cast<LRESULT>(result);
}

// The text as the window gives it to anyone who asks, WM_GETTEXT.
std::wstring windowText(HWND window) {
    const LRESULT length = ask(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = ask(window, WM_GETTEXT, static_cast<WPARAM>(text.size()),
                               reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

// Tabs and line breaks inside a text would split the output's fields.
std::string field(std::wstring_view text) {
    std::string result = runtime::win32::toUtf8(text);
    for (char &c : result)
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    return result;
}

void printWindow(const char *what, HWND window, RECT r) {
    std::printf("%s\t%s\t%ld,%ld,%ld,%ld\t%s\n", what, field(className(window)).c_str(), r.left,
                r.top, r.right, r.bottom, field(windowText(window)).c_str());
}

void printControl(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    printWindow("control", control, r);
}

// A top-level window by its client area, where its controls are placed.
void printTopLevel(const char *what, HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT *>(&r), 2);
    printWindow(what, window, r);
}

std::vector<HWND> children(HWND parent) {
    std::vector<HWND> found;
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM list) -> BOOL {
            reinterpret_cast<std::vector<HWND> *>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// The window once shown, laid out and placed; the error box has its title
// too, and the window is the one that is not a dialog box.
HWND programWindow() {
    const std::wstring title(windowTitle);
    for (HWND window = nullptr;
         (window = FindWindowExW(nullptr, window, nullptr, title.c_str())) != nullptr;)
        if (IsWindowVisible(window) && className(window) != dialogClass)
            return window;
    return nullptr;
}

// A visible dialog box of the program's process: a message box is one.
HWND errorBox() {
    const HWND program = programWindow();
    if (program == nullptr)
        return nullptr;
    struct Search {
        DWORD process = 0;
        HWND box = nullptr;
    } search;
    GetWindowThreadProcessId(program, &search.process);
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto &s = *reinterpret_cast<Search *>(data);
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process != s.process || !IsWindowVisible(window) ||
                className(window) != dialogClass)
                return TRUE;
            s.box = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.box;
}

template <typename Find> HWND waitFor(Find find, DWORD milliseconds) {
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    for (;;) {
        if (const HWND window = find())
            return window;
        if (GetTickCount64() >= deadline)
            return nullptr;
        Sleep(pollMilliseconds);
    }
}

int showWindow(DWORD wait) {
    const HWND window = waitFor(programWindow, wait);
    if (window == nullptr) {
        std::fprintf(stderr, "probe: no window titled \"%s\"\n",
                     runtime::win32::toUtf8(windowTitle).c_str());
        return 1;
    }
    printTopLevel("window", window);
    for (const HWND control : children(window))
        printControl(control);
    return 0;
}

// Presses OK the way the box's own button does, so the program goes on as
// after a click.
int readAndDismissErrorBox(DWORD wait) {
    const HWND box = waitFor(errorBox, wait);
    if (box == nullptr) {
        std::fprintf(stderr, "probe: no error box\n");
        return 1;
    }
    printTopLevel("box", box);
    for (const HWND control : children(box))
        printControl(control);
    const HWND ok = GetDlgItem(box, IDOK);
    if (ok == nullptr) {
        std::fprintf(stderr, "probe: the box has no OK button\n");
        return 1;
    }
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok));
    return 0;
}

bool parseSeconds(const char *text, DWORD &milliseconds) {
    char *end = nullptr;
    const unsigned long seconds = std::strtoul(text, &end, 10);
    if (end == text || *end != '\0' || seconds > 600)
        return false;
    milliseconds = static_cast<DWORD>(seconds * 1000);
    return true;
}

} // namespace

int main(int argc, char **argv) {
    // Rectangles in the screen's own pixels at any density, as X sees them.
    SetProcessDPIAware();
    // UTF-8 bytes out as they are, without "\r" added before each "\n".
    _setmode(_fileno(stdout), _O_BINARY);
    const std::string_view command = argc > 1 ? argv[1] : "";
    DWORD wait = 0;
    if (argc > 3 || (argc == 3 && !parseSeconds(argv[2], wait)) ||
        (command != "window" && command != "error-box")) {
        std::fprintf(stderr, "usage: probe window|error-box [SECONDS]\n");
        return 2;
    }
    return command == "window" ? showWindow(wait) : readAndDismissErrorBox(wait);
}
