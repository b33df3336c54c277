// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The Windows start-up baseline: what Form1 would cost written the plainest
// way on the Win32 API. The same nine kinds of control at the same places in
// a 347x295 client area, the stock interface font, no picture, no icon, and
// the same manifest as the program (current look of the controls), so that
// both draw the same controls. The focus starts on CALCOLA, as in the
// program, so that no caret blinks while the first frame is looked for.

#include <windows.h>

#include <array>
#include <cwchar>

namespace {

constexpr UINT calculateId = 1;

struct Child {
    const wchar_t *windowClass;
    const wchar_t *text;
    DWORD style;
    int left, top, width, height; // pixels
    UINT id = 0;
};

constexpr DWORD visibleChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD textBox = visibleChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;

constexpr std::array<Child, 9> children{{
    {L"STATIC", L"", visibleChild, 8, 8, 217, 97},
    {L"EDIT", L"", textBox, 16, 176, 121, 25},
    {L"EDIT", L"", textBox, 16, 136, 121, 25},
    {L"BUTTON", L"CALCOLA", visibleChild | WS_TABSTOP | BS_PUSHBUTTON, 240, 240, 73, 41,
     calculateId},
    {L"STATIC", L"cm. / giro", visibleChild, 144, 264, 57, 17},
    {L"STATIC", L"Il passo di rigatura della canna \u00e8 di", visibleChild, 16, 232, 185, 17},
    {L"STATIC", L"SPAZIO MISURATO in centimetri", visibleChild, 152, 184, 185, 17},
    {L"STATIC", L"GRADI MISURATI", visibleChild, 152, 144, 97, 17},
    {L"STATIC", L"", visibleChild, 24, 256, 113, 25},
}};

// The controls the click handler and the start-up use, kept with the window.
struct Controls {
    HWND distance = nullptr;
    HWND degrees = nullptr;
    HWND button = nullptr;
    HWND result = nullptr;
};

Controls &controlsOf(HWND window) {
    return *reinterpret_cast<Controls *>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void createChildren(HWND window, Controls &controls) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    std::array<HWND, children.size()> made{};
    for (std::size_t i = 0; i < children.size(); ++i) {
        const Child &c = children[i];
        made[i] =
            CreateWindowExW(0, c.windowClass, c.text, c.style, c.left, c.top, c.width, c.height,
                            window, reinterpret_cast<HMENU>(UINT_PTR{c.id}), instance, nullptr);
        SendMessageW(made[i], WM_SETFONT, font, FALSE);
    }
    controls = {made[1], made[2], made[3], made[8]};
}

void calculate(const Controls &controls) {
    wchar_t degrees[64];
    wchar_t distance[64];
    GetWindowTextW(controls.degrees, degrees, 64);
    GetWindowTextW(controls.distance, distance, 64);
    const float d = std::wcstof(degrees, nullptr);
    const float s = std::wcstof(distance, nullptr);
    wchar_t text[64];
    std::swprintf(text, 64, L"%.7g", static_cast<double>(static_cast<float>(360.0 / d * s)));
    SetWindowTextW(controls.result, text);
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        auto *controls =
            static_cast<Controls *>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(controls));
        createChildren(window, *controls);
        return 0;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == calculateId && HIWORD(wParam) == BN_CLICKED)
            calculate(controlsOf(window));
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"BareForm";
    RegisterClassW(&windowClass);

    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    Controls controls;
    RECT frame{0, 0, 347, 295};
    AdjustWindowRect(&frame, style, FALSE);
    const HWND window =
        CreateWindowExW(0, windowClass.lpszClassName, L"Calcolo passo della rigatura", style,
                        CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                        frame.bottom - frame.top, nullptr, nullptr, instance, &controls);
    ShowWindow(window, show);
    SetFocus(controls.button);
    UpdateWindow(window);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(window, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
