// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/core/errors.h"
#include "runtime/layout.h"
#include "runtime/win32/fonts.h"
#include "runtime/win32/native_form.h"
#include "runtime/win32/picture.h"
#include "runtime/win32/wide_text.h"

#include <commctrl.h>

#include <optional>
#include <string>
#include <utility>

namespace runtime {
namespace {

using win32::FontOwner;
using win32::IconOwner;
using win32::toUtf16;

// Fixed size: the layout is made for one client area.
constexpr DWORD windowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD windowExStyle = 0;
// The colour of dialogs, which shows through the picture's transparent parts.
constexpr int windowBackground = COLOR_BTNFACE;
// Past the ids the dialog keys send (IDOK for Enter, IDCANCEL for Esc), so
// that no key reaches a control except through the focus.
constexpr int firstControlId = 100;

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

HINSTANCE programInstance() {
    return GetModuleHandleW(nullptr);
}

const wchar_t *windowClass() {
    static const ATOM atom = [] {
        // The tooltips' class, and the current look of the others.
        const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
        InitCommonControlsEx(&classes);
        WNDCLASSEXW form{};
        form.cbSize = sizeof form;
        form.lpfnWndProc = windowProcedure;
        form.hInstance = programInstance();
        form.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        form.hbrBackground = GetSysColorBrush(windowBackground);
        form.lpszClassName = L"RuntimeForm";
        return RegisterClassExW(&form);
    }();
    return MAKEINTATOM(atom);
}

struct ControlClass {
    const wchar_t *name;
    DWORD style;
    DWORD exStyle;
};

ControlClass controlClass(const ControlSpec &row) {
    switch (row.kind) {
    case ControlKind::textBox:
        return {L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::commandButton:
        return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlKind::label:
        // A label the user can select and copy from is a read-only box
        // without a frame, out of the Tab order.
        if (row.selectable)
            return {L"EDIT", ES_READONLY | ES_AUTOHSCROLL, 0};
        return {L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_CENTERIMAGE, 0};
    case ControlKind::pictureBox:
        return {L"STATIC", SS_OWNERDRAW, 0};
    }
    return {};
}

std::wstring initialText(const ControlSpec &row) {
    return toUtf16(row.kind == ControlKind::commandButton ? withLiteralAmpersands(row.text)
                                                          : std::string(row.text));
}

HWND createControl(const ControlSpec &row, HWND window, std::size_t index) {
    const ControlClass kind = controlClass(row);
    const HWND control = CreateWindowExW(
        kind.exStyle, kind.name, initialText(row).c_str(), WS_CHILD | WS_VISIBLE | kind.style, 0, 0,
        0, 0, window,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(firstControlId + static_cast<int>(index))),
        programInstance(), nullptr);
    // Far past anything typed: a long paste is never cut into another number.
    if (row.kind == ControlKind::textBox)
        SendMessageW(control, EM_SETLIMITTEXT, 0x7FFFFFFE, 0);
    return control;
}

std::optional<std::size_t> rowOfId(const Form::Native &form, int id) {
    const auto row = static_cast<std::size_t>(id - firstControlId);
    if (id < firstControlId || row >= form.controls.size())
        return std::nullopt;
    return row;
}

// Each control's tip, shown while the mouse rests on it. The tip window
// belongs to the form's window and goes with it.
void addToolTips(const Form::Native &form, HWND window) {
    HWND tips = nullptr;
    for (std::size_t row = 0; row < form.controls.size(); ++row) {
        const std::string_view tip = form.table.controls[row].toolTip;
        if (tip.empty())
            continue;
        if (tips == nullptr)
            tips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                   WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr,
                                   programInstance(), nullptr);
        std::wstring text = toUtf16(tip);
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = window;
        tool.uId = reinterpret_cast<UINT_PTR>(form.controls[row]);
        tool.lpszText = text.data();
        SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

// Gives the control `font` (null: the window's), then lets go of the font it
// had: a font may be deleted only once no control shows it.
void setFont(Form::Native &form, std::size_t row, FontOwner font) {
    const HFONT shown = font ? font.get() : form.windowFont.get();
    SendMessageW(form.controls[row], WM_SETFONT, reinterpret_cast<WPARAM>(shown), TRUE);
    // A box takes margins from its font; a selectable label is as wide as
    // its text, like the others.
    if (form.table.controls[row].selectable)
        SendMessageW(form.controls[row], EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    form.fonts[row] = std::move(font);
}

// The room a control leaves its caption: a button keeps its raised edge and
// its focus rectangle clear.
int roomForCaption(const Form::Native &form, std::size_t row) {
    RECT client{};
    GetClientRect(form.controls[row], &client);
    if (form.table.controls[row].kind != ControlKind::commandButton)
        return client.right;
    return client.right - 4 * GetSystemMetricsForDpi(SM_CXEDGE, static_cast<UINT>(form.dpi));
}

// The program file's icon, the first of its icons as Explorer shows it; the
// table's icon files are pictures for the Linux desktop.
struct IconRequest {
    int size;
    IconOwner icon;
};

BOOL CALLBACK loadFirstIcon(HMODULE program, LPCWSTR, LPWSTR name, LONG_PTR request) {
    auto &wanted = *reinterpret_cast<IconRequest *>(request);
    wanted.icon.reset(static_cast<HICON>(
        LoadImageW(program, name, IMAGE_ICON, wanted.size, wanted.size, LR_DEFAULTCOLOR)));
    return FALSE;
}

IconOwner programIcon(int size) {
    IconRequest request{size, nullptr};
    EnumResourceNamesW(programInstance(), RT_GROUP_ICON, loadFirstIcon,
                       reinterpret_cast<LONG_PTR>(&request));
    return std::move(request.icon);
}

void setIcons(Form::Native &form, HWND window) {
    const auto dpi = static_cast<UINT>(form.dpi);
    IconOwner big = programIcon(GetSystemMetricsForDpi(SM_CXICON, dpi));
    IconOwner little = programIcon(GetSystemMetricsForDpi(SM_CXSMICON, dpi));
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(little.get()));
    form.bigIcon = std::move(big);
    form.smallIcon = std::move(little);
}

// Places every control, with its picture, at the window's density, and gives
// the controls whose captions are not fitted their fonts.
void layOut(Form::Native &form, HWND window) {
    const FontSpec &windowFont = form.table.font;
    const FontOwner previous = std::exchange(
        form.windowFont, win32::createFont(windowFont, windowFont.pointSize, form.dpi));
    for (std::size_t row = 0; row < form.controls.size(); ++row) {
        const ControlSpec &control = form.table.controls[row];
        const PixelRect bounds = toPixels(control.bounds, form.dpi);
        SetWindowPos(form.controls[row], nullptr, bounds.left, bounds.top, bounds.width,
                     bounds.height, SWP_NOZORDER | SWP_NOACTIVATE);
        if (!hasFittedCaption(control.kind))
            setFont(form, row,
                    control.font != nullptr
                        ? win32::createFont(*control.font, control.font->pointSize, form.dpi)
                        : nullptr);
        if (!control.picture.empty()) {
            form.pictures[row] = win32::loadPicture(control.picture, form.dpi);
            InvalidateRect(form.controls[row], nullptr, TRUE);
        }
    }
    setIcons(form, window);
}

// The window's outer size for the table's client area at `dpi`.
SIZE windowSize(const Form::Native &form, int dpi) {
    RECT frame{0, 0, twipsToPixels(form.table.clientWidth, dpi),
               twipsToPixels(form.table.clientHeight, dpi)};
    AdjustWindowRectExForDpi(&frame, windowStyle, FALSE, windowExStyle, static_cast<UINT>(dpi));
    return {frame.right - frame.left, frame.bottom - frame.top};
}

void onCommand(const Form::Native &form, int id, int notification) {
    const std::optional<std::size_t> row = rowOfId(form, id);
    if (notification == BN_CLICKED && row &&
        form.table.controls[*row].kind == ControlKind::commandButton)
        form.pressed(*row);
}

int systemColourIndex(SystemColour colour) {
    return colour == SystemColour::window ? COLOR_WINDOW : COLOR_WINDOWTEXT;
}

LRESULT onControlColour(const Form::Native &form, HWND window, HDC dc, HWND control) {
    const LRESULT standard = DefWindowProcW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                            reinterpret_cast<LPARAM>(control));
    const std::optional<std::size_t> row = rowOfId(form, GetDlgCtrlID(control));
    if (!row)
        return standard;
    const ControlSpec &entry = form.table.controls[*row];
    if (entry.foreground != SystemColour::inherited)
        SetTextColor(dc, GetSysColor(systemColourIndex(entry.foreground)));
    if (entry.background == SystemColour::inherited)
        return standard;
    const int background = systemColourIndex(entry.background);
    SetBkColor(dc, GetSysColor(background));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(background));
}

// The picture is drawn from the box's top-left corner and clipped by the box.
void onDrawItem(const Form::Native &form, const DRAWITEMSTRUCT &item) {
    const std::optional<std::size_t> row = rowOfId(form, static_cast<int>(item.CtlID));
    if (!row)
        return;
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(windowBackground));
    win32::drawPicture(item.hDC, form.pictures[*row]);
}

// A window that is not a dialog keeps no focus of its own when another
// window comes in front; this gives it back where it was.
void onActivate(Form::Native &form, HWND window, WORD state) {
    if (state == WA_INACTIVE) {
        const HWND focused = GetFocus();
        if (focused != nullptr && IsChild(window, focused))
            form.focusedControl = focused;
    } else if (form.focusedControl != nullptr) {
        SetFocus(form.focusedControl);
    }
}

// Asked before a move to a screen of another density: the exact size of the
// client area there, rather than the old size scaled and rounded.
LRESULT onGetDpiScaledSize(const Form::Native &form, int dpi, SIZE &size) {
    size = windowSize(form, dpi);
    return TRUE;
}

void onDpiChanged(Form::Native &form, HWND window, int dpi, const RECT &suggested) {
    form.dpi = dpi;
    layOut(form, window);
    for (std::size_t row = 0; row < form.controls.size(); ++row)
        fitCaption(form.table, form, row, win32::toUtf8(win32::windowText(form.controls[row])));
    SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

Form::Native *nativeOf(HWND window) {
    return reinterpret_cast<Form::Native *>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT handleMessage(Form::Native &form, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        onCommand(form, LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_CTLCOLORSTATIC:
        return onControlColour(form, window, reinterpret_cast<HDC>(wParam),
                               reinterpret_cast<HWND>(lParam));
    case WM_DRAWITEM:
        onDrawItem(form, *reinterpret_cast<const DRAWITEMSTRUCT *>(lParam));
        return TRUE;
    case WM_ACTIVATE:
        onActivate(form, window, LOWORD(wParam));
        return 0;
    case WM_GETDPISCALEDSIZE:
        return onGetDpiScaledSize(form, static_cast<int>(wParam),
                                  *reinterpret_cast<SIZE *>(lParam));
    case WM_DPICHANGED:
        onDpiChanged(form, window, LOWORD(wParam), *reinterpret_cast<const RECT *>(lParam));
        return 0;
    case WM_CLOSE:
        // Closing the window ends the program; the window itself goes with
        // its form once the event loop is over.
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto &creation = *reinterpret_cast<const CREATESTRUCTW *>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(creation.lpCreateParams));
    }
    Form::Native *form = nativeOf(window);
    if (form == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);
    try {
        return handleMessage(*form, window, message, wParam, lParam);
    } catch (...) {
        // Nothing may be thrown into the system's code that called us: a
        // message whose handling ran out of memory gets the default handling.
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

// Enter and Esc, which do nothing in the window (keyAnswer); the dialog
// keyboard would send them to the window as its OK and Cancel.
bool isInertKey(const Form::Native &form, const MSG &message) {
    const bool key =
        message.message == WM_KEYDOWN || message.message == WM_KEYUP || message.message == WM_CHAR;
    if (!key || (message.wParam != VK_RETURN && message.wParam != VK_ESCAPE))
        return false;
    const std::optional<std::size_t> row = rowOfId(form, GetDlgCtrlID(message.hwnd));
    const ControlKind focused = row ? form.table.controls[*row].kind : ControlKind::label;
    return keyAnswer(message.wParam == VK_RETURN ? Key::enter : Key::escape, focused) ==
           KeyAnswer::nothing;
}

} // namespace

Form::Native::Native(const FormSpec &form, const PressReport &pressedRow)
    : table(form), pressed(pressedRow), controls(table.controls.size()),
      fonts(table.controls.size()), pictures(table.controls.size()) {
    window.reset(CreateWindowExW(windowExStyle, windowClass(), toUtf16(table.caption).c_str(),
                                 windowStyle, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr, nullptr,
                                 programInstance(), this));
    if (!window)
        raiseRuntimeError(ErrorCode::internalError);
    dpi = static_cast<int>(GetDpiForWindow(window.get()));
    for (const std::size_t row : readingOrder(table.controls))
        controls[row] = createControl(table.controls[row], window.get(), row);
    addToolTips(*this, window.get());
    layOut(*this, window.get());
    const SIZE size = windowSize(*this, dpi);
    SetWindowPos(window.get(), nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND Form::Native::control(std::string_view name) const {
    const ControlSpec *row = findControl(table.controls, name);
    return row != nullptr ? controls[static_cast<std::size_t>(row - table.controls.data())]
                          : nullptr;
}

void Form::Native::dispatch(MSG &message) const {
    const HWND top = window.get();
    const bool ours = message.hwnd == top || IsChild(top, message.hwnd);
    if (ours && isInertKey(*this, message))
        return;
    if (IsDialogMessageW(top, &message))
        return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

std::string Form::Native::text(std::size_t row) const {
    return win32::toUtf8(win32::windowText(controls[row]));
}

void Form::Native::setCaption(std::size_t row, std::string_view caption) {
    SetWindowTextW(controls[row], toUtf16(caption).c_str());
}

double Form::Native::captionRoom(std::size_t row) const {
    return roomForCaption(*this, row);
}

double Form::Native::captionWidth(std::size_t row, std::string_view caption,
                                  double pointSize) const {
    const FontOwner sized = win32::createFont(fontOf(table, table.controls[row]), pointSize, dpi);
    return static_cast<double>(win32::textWidth(controls[row], sized.get(), toUtf16(caption)));
}

void Form::Native::setCaptionSize(std::size_t row, double pointSize) {
    setFont(*this, row, win32::createFont(fontOf(table, table.controls[row]), pointSize, dpi));
}

// The window keeps the control to give the focus back to whenever it is
// active again.
void Form::Native::focus(std::size_t row) {
    focusedControl = controls[row];
    if (GetActiveWindow() == window.get())
        SetFocus(focusedControl);
}

// Centred on the work area of the window's screen.
void Form::Native::show() {
    RECT frame{};
    GetWindowRect(window.get(), &frame);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window.get(), MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT &work = monitor.rcWork;
    SetWindowPos(window.get(), nullptr, (work.left + work.right - (frame.right - frame.left)) / 2,
                 (work.top + work.bottom - (frame.bottom - frame.top)) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(window.get(), SW_SHOW);
}

NativeFormPointer buildNativeForm(const FormSpec &table, const PressReport &pressed) {
    return std::make_unique<Form::Native>(table, pressed);
}

} // namespace runtime
