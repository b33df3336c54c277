// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/command_boundary.h"
#include "runtime/form.h"
#include "runtime/layout.h"
#include "runtime/win32/native_form.h"
#include "runtime/win32/wide_text.h"
#include "ui/form1.h"

#include "tests/row_name.h"
#include "tests/window_driver.h"

#include <windows.h>

#include <oleacc.h>

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using rows::PrintTo;
using runtime::win32::windowText;

// Form1 shown, driven through the program's own event loop: the same dialog
// keys, the real error box.
class Form1Window : public testing::Test {
protected:
    Form1Window() {
        m_form.show();
        pump();
    }

    runtime::Form::Native &native() { return m_form.native(); }
    HWND window() { return native().window.get(); }
    HWND control(std::string_view name) { return native().control(name); }
    int dpi() { return static_cast<int>(GetDpiForWindow(window())); }

    // Runs the event loop until it has nothing to do; the exit status if it
    // was told to end.
    std::optional<int> pump() {
        std::optional<int> status;
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                status = static_cast<int>(message.wParam);
            else
                native().dispatch(message);
        }
        return status;
    }

    // A key pressed in the control with the focus, as the keyboard sends it.
    void press(WPARAM key, std::optional<wchar_t> character = std::nullopt) {
        const HWND focus = GetFocus();
        PostMessageW(focus, WM_KEYDOWN, key, 1);
        if (character)
            PostMessageW(focus, WM_CHAR, *character, 1);
        PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
        pump();
    }

    void set(std::string_view box, const std::string &text) { driver::setText(m_form, box, text); }
    std::string shown(std::string_view name) { return driver::text(m_form, name); }
    void clickCalcola() { driver::click(m_form, "cmdcalcola"); }

    // A control's text as drawn: its extent in the control's font, the
    // font's face and height, and the room inside the control.
    struct Drawn {
        SIZE extent;
        std::wstring face;
        LONG height;
        SIZE room;
    };
    Drawn drawn(std::string_view name) {
        const HWND c = control(name);
        const auto font = reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0));
        LOGFONTW logical{};
        GetObjectW(font, sizeof logical, &logical);
        const std::wstring text = windowText(c);
        Drawn d{{}, std::wstring(LF_FACESIZE, L'\0'), logical.lfHeight, clientSize(c)};
        const HDC dc = GetDC(c);
        const HGDIOBJ previous = SelectObject(dc, font);
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &d.extent);
        d.face.resize(static_cast<std::size_t>(GetTextFaceW(dc, LF_FACESIZE, d.face.data()) - 1));
        SelectObject(dc, previous);
        ReleaseDC(c, dc);
        return d;
    }
    LONG fullHeight(double pointSize) { return -std::lround(pointSize * dpi() / 72.0); }
    SIZE clientSize(HWND c) {
        RECT client{};
        GetClientRect(c, &client);
        return {client.right, client.bottom};
    }

    std::vector<int> errors;
    runtime::Form m_form{ui::form1};
};

struct Density {
    std::string name;
    int dpi;
    runtime::PixelRect calcola; // cmdcalcola, 3600, 3600, 1095 x 615 twips
    SIZE client;                // 5205 x 4425 twips
    int bigIcon;
    int smallIcon;
};

class AtDensity : public Form1Window, public testing::WithParamInterface<Density> {
protected:
    // A density other than the screen's is reached as a move to another
    // screen would: Windows asks the window's size there, then sends the
    // change with the rectangle it suggests.
    void moveToDensity(int to) {
        if (to == dpi())
            return;
        SIZE size{};
        SendMessageW(window(), WM_GETDPISCALEDSIZE, static_cast<WPARAM>(to),
                     reinterpret_cast<LPARAM>(&size));
        const RECT suggested{40, 30, 40 + size.cx, 30 + size.cy};
        SendMessageW(window(), WM_DPICHANGED, MAKEWPARAM(to, to),
                     reinterpret_cast<LPARAM>(&suggested));
    }

    runtime::PixelRect placement(HWND c) {
        RECT r{};
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, window(), reinterpret_cast<POINT *>(&r), 2);
        return {r.left, r.top, r.right - r.left, r.bottom - r.top};
    }

    static int iconWidth(HICON icon) {
        ICONINFO info{};
        BITMAP bitmap{};
        if (icon == nullptr || !GetIconInfo(icon, &info))
            return 0;
        GetObjectW(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        return bitmap.bmWidth;
    }
};

// At the screen's density, then after a move to the other one.
TEST_P(AtDensity, TwipsBecomePixelsFontsAndIcons) {
    const Density &d = GetParam();
    EXPECT_EQ(GetAwarenessFromDpiAwarenessContext(GetWindowDpiAwarenessContext(window())),
              DPI_AWARENESS_PER_MONITOR_AWARE)
        << "the manifest asks for every screen's own density";
    // A move that is only told leaves the frame as thick as the screen
    // draws it: the client area is exact on the screen's own density.
    const bool onItsScreen = d.dpi == dpi();
    moveToDensity(d.dpi);
    for (const runtime::ControlSpec &row : ui::form1.controls)
        EXPECT_EQ(placement(control(row.name)), runtime::toPixels(row.bounds, d.dpi)) << row.name;
    EXPECT_EQ(placement(control("cmdcalcola")), d.calcola);
    if (onItsScreen) {
        const SIZE client = clientSize(window());
        EXPECT_EQ(client.cx, d.client.cx);
        EXPECT_EQ(client.cy, d.client.cy);
    }
    EXPECT_EQ(drawn("gradi1").height, -std::lround(8 * d.dpi / 72.0));
    EXPECT_EQ(drawn("centimetri1").height, -std::lround(14.25 * d.dpi / 72.0));
    EXPECT_EQ(iconWidth(reinterpret_cast<HICON>(SendMessageW(window(), WM_GETICON, ICON_BIG, 0))),
              d.bigIcon);
    EXPECT_EQ(iconWidth(reinterpret_cast<HICON>(SendMessageW(window(), WM_GETICON, ICON_SMALL, 0))),
              d.smallIcon);
}

INSTANTIATE_TEST_SUITE_P(
    Window, AtDensity,
    testing::Values(Density{"Standard96", 96, {240, 240, 73, 41}, {347, 295}, 32, 16},
                    Density{"OneAndAHalf144", 144, {360, 360, 110, 62}, {521, 443}, 48, 24}),
    rows::RowName());

TEST_F(Form1Window, FocusStartsOnCalcolaAndTabsThroughTheBoxes) {
    EXPECT_EQ(GetFocus(), control("cmdcalcola"));
    for (const char *name : {"gradi1", "centimetri2", "cmdcalcola"}) {
        press(VK_TAB);
        EXPECT_EQ(GetFocus(), control(name)) << name;
    }
}

TEST_F(Form1Window, EnterAndEscDoNothing) {
    const runtime::ScopedErrorReporter recorder(
        [this](runtime::Form &, const runtime::RuntimeError &error) {
            errors.push_back(error.number());
        });
    set("gradi1", "0"); // a click would report a division by zero
    set("centimetri2", "10");
    for (const char *name : {"gradi1", "centimetri2", "cmdcalcola"}) {
        SetFocus(control(name));
        press(VK_RETURN, L'\r');
        press(VK_ESCAPE, L'\x1b');
        EXPECT_EQ(GetFocus(), control(name));
    }
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(shown("gradi1"), "0");
    EXPECT_EQ(shown("centimetri2"), "10");
    EXPECT_EQ(shown("centimetri1"), "");
    EXPECT_TRUE(IsWindowVisible(window()));
    EXPECT_EQ(pump(), std::nullopt) << "nothing ends the event loop";
}

TEST_F(Form1Window, ClosingEndsTheEventLoopWithStatusZero) {
    PostMessageW(window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(pump(), 0);
}

// What an error box showed, read by a second thread while the click waits
// for it, and then dismissed with its OK button.
struct SeenBox {
    std::wstring title;
    std::wstring text;
    HWND owner = nullptr;
    int buttons = 0;
};

BOOL CALLBACK findDialog(HWND candidate, LPARAM found) {
    wchar_t name[16]{};
    GetClassNameW(candidate, name, 16);
    if (std::wstring_view(name) != L"#32770" || !IsWindowVisible(candidate))
        return TRUE;
    *reinterpret_cast<HWND *>(found) = candidate;
    return FALSE;
}

BOOL CALLBACK countButton(HWND child, LPARAM count) {
    wchar_t name[16]{};
    GetClassNameW(child, name, 16);
    *reinterpret_cast<int *>(count) += _wcsicmp(name, L"Button") == 0 ? 1 : 0;
    return TRUE;
}

std::optional<SeenBox> answerErrorBox(DWORD thread) {
    for (int attempt = 0; attempt < 400; ++attempt) {
        HWND box = nullptr;
        EnumThreadWindows(thread, findDialog, reinterpret_cast<LPARAM>(&box));
        if (box == nullptr) {
            Sleep(25);
            continue;
        }
        SeenBox seen{windowText(box), windowText(GetDlgItem(box, 0xFFFF)),
                     GetWindow(box, GW_OWNER)};
        EnumChildWindows(box, countButton, reinterpret_cast<LPARAM>(&seen.buttons));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        return seen;
    }
    return std::nullopt;
}

struct ErrorBox {
    std::string name;
    std::string degrees;
    std::string distance;
    std::wstring text;
};

class ErrorBoxes : public Form1Window, public testing::WithParamInterface<ErrorBox> {};

TEST_P(ErrorBoxes, ShowTheErrorAndTheProgramGoesOn) {
    const ErrorBox &e = GetParam();
    set("gradi1", "90");
    set("centimetri2", "10");
    clickCalcola();
    ASSERT_EQ(shown("centimetri1"), "40");

    set("gradi1", e.degrees);
    set("centimetri2", e.distance);
    std::optional<SeenBox> seen;
    std::thread answer([&seen, thread = GetCurrentThreadId()] { seen = answerErrorBox(thread); });
    clickCalcola();
    answer.join();

    ASSERT_TRUE(seen.has_value()) << "no error box";
    EXPECT_EQ(seen->title, L"Calcolo passo della rigatura");
    EXPECT_EQ(seen->text, e.text);
    EXPECT_EQ(seen->owner, window());
    EXPECT_EQ(seen->buttons, 1);
    EXPECT_EQ(shown("centimetri1"), "40");
    EXPECT_EQ(shown("gradi1"), e.degrees);
    EXPECT_EQ(shown("centimetri2"), e.distance);
    EXPECT_EQ(GetFocus(), control("cmdcalcola")) << "the focus comes back from the box";
}

INSTANTIATE_TEST_SUITE_P(
    Window, ErrorBoxes,
    testing::Values(
        ErrorBox{"NotANumber", "abc", "10",
                 L"Errore di run-time '13':\n\nTipo non corrispondente\n"
                 L"GRADI MISURATI deve essere un numero, come 90 o 12,5"},
        ErrorBox{
            "OutOfRange", "1e39", "10",
            L"Errore di run-time '6':\n\nOverflow\n"
            L"GRADI MISURATI è fuori dall'intervallo ammesso, da -3,402823E+38 a 3,402823E+38"},
        ErrorBox{
            "ZeroDegrees", "0", "10",
            L"Errore di run-time '11':\n\nDivisione per zero\nGRADI MISURATI non può essere zero"}),
    rows::RowName());

// Alternating a result that shrinks its font with a failing click: each
// click's fonts, device contexts and windows are given back.
TEST_F(Form1Window, TenThousandClicksLeaveNoObjectBehind) {
    const runtime::ScopedErrorReporter recorder(
        [this](runtime::Form &, const runtime::RuntimeError &error) {
            errors.push_back(error.number());
        });
    set("centimetri2", "3,4028235E+38");
    long afterWarmUp = 0;
    for (int click = 0; click < 10'000; ++click) {
        set("gradi1", click % 2 == 0 ? "-360" : "0");
        clickCalcola();
        if (click == 99)
            afterWarmUp = driver::resourceUse();
    }
    EXPECT_EQ(errors.size(), 5'000u);
    EXPECT_EQ(shown("centimetri1"), "-3,402823E+38");
    EXPECT_LE(driver::resourceUse() - afterWarmUp, driver::resourceSlack());
}

// Every caption fits at the window's font size, and the button's inside its
// raised edge and focus rectangle.
TEST_F(Form1Window, NoCaptionIsClipped) {
    for (const runtime::ControlSpec &row : ui::form1.controls) {
        if (row.text.empty())
            continue;
        const Drawn text = drawn(row.name);
        const int margin = row.kind == runtime::ControlKind::commandButton
                               ? 4 * GetSystemMetricsForDpi(SM_CXEDGE, static_cast<UINT>(dpi()))
                               : 0;
        EXPECT_LE(text.extent.cx + margin, text.room.cx) << row.name;
        EXPECT_LE(text.extent.cy, text.room.cy) << row.name;
        EXPECT_EQ(text.height, fullHeight(8)) << row.name;
        EXPECT_TRUE(text.face == L"Liberation Sans" || text.face == L"Arial") << row.name;
    }
}

// A result too wide for its box is shown whole in a smaller size; a short
// one after it at full size again.
TEST_F(Form1Window, ResultShrinksToFitAndGrowsBack) {
    set("gradi1", "-360");
    set("centimetri2", "3,4028235E+38");
    clickCalcola();
    EXPECT_EQ(shown("centimetri1"), "-3,402823E+38");
    const Drawn shrunk = drawn("centimetri1");
    EXPECT_LE(shrunk.extent.cx, shrunk.room.cx);
    EXPECT_GT(shrunk.height, fullHeight(14.25));

    set("gradi1", "90");
    set("centimetri2", "10");
    clickCalcola();
    EXPECT_EQ(shown("centimetri1"), "40");
    const Drawn full = drawn("centimetri1");
    EXPECT_EQ(full.height, fullHeight(14.25));
    EXPECT_TRUE(full.face == L"Verdana" || full.face == L"DejaVu Sans");
    EXPECT_LE(full.extent.cy, full.room.cy);
}

TEST_F(Form1Window, ResultCanBeSelectedAndCopiedButNotTabbedTo) {
    set("gradi1", "7");
    set("centimetri2", "13");
    clickCalcola();
    const HWND result = control("centimetri1");
    EXPECT_EQ(GetWindowLongW(result, GWL_STYLE) & WS_TABSTOP, 0);
    SendMessageW(result, EM_SETSEL, 0, -1);
    SendMessageW(result, WM_COPY, 0, 0);
    ASSERT_TRUE(OpenClipboard(window()));
    const HANDLE copied = GetClipboardData(CF_UNICODETEXT);
    ASSERT_NE(copied, nullptr);
    EXPECT_STREQ(static_cast<const wchar_t *>(GlobalLock(copied)), L"668,5714");
    GlobalUnlock(copied);
    CloseClipboard();
}

struct ReadName {
    std::string name;
    std::string control;
    std::wstring accessibleName;
};

class ScreenReaders : public Form1Window, public testing::WithParamInterface<ReadName> {};

// Through Microsoft Active Accessibility, which names a box after the label
// just before it.
TEST_P(ScreenReaders, NameEachBoxAfterItsLabel) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    IAccessible *accessible = nullptr;
    const HRESULT found =
        AccessibleObjectFromWindow(control(GetParam().control), static_cast<DWORD>(OBJID_CLIENT),
                                   IID_IAccessible, reinterpret_cast<void **>(&accessible));
    ASSERT_EQ(found, S_OK);
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    EXPECT_EQ(accessible->get_accName(self, &name), S_OK);
    EXPECT_EQ(std::wstring(name != nullptr ? name : L""), GetParam().accessibleName);
    SysFreeString(name);
    accessible->Release();
    CoUninitialize();
}

INSTANTIATE_TEST_SUITE_P(
    Window, ScreenReaders,
    testing::Values(ReadName{"Degrees", "gradi1", L"GRADI MISURATI"},
                    ReadName{"Distance", "centimetri2", L"SPAZIO MISURATO in centimetri"},
                    ReadName{"Result", "centimetri1", L"Il passo di rigatura della canna è di"}),
    rows::RowName());

struct LogoPixel {
    std::string name;
    int x; // in the logo's pixels at 96 dpi
    int y;
    bool transparent;
};

class LogoPixels : public Form1Window, public testing::WithParamInterface<LogoPixel> {};

// The picture box drawn into memory as it draws on the screen.
TEST_P(LogoPixels, ShowTheWindowThroughTransparency) {
    const HWND picture = control("Picture1");
    const SIZE size = clientSize(picture);
    const HDC screen = GetDC(picture);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP canvas = CreateCompatibleBitmap(screen, size.cx, size.cy);
    ReleaseDC(picture, screen);
    const HGDIOBJ previous = SelectObject(memory, canvas);
    SendMessageW(picture, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    const COLORREF pixel =
        GetPixel(memory, MulDiv(GetParam().x, dpi(), 96), MulDiv(GetParam().y, dpi(), 96));
    SelectObject(memory, previous);
    DeleteObject(canvas);
    DeleteDC(memory);
    if (GetParam().transparent)
        EXPECT_EQ(pixel, GetSysColor(COLOR_BTNFACE));
    else
        EXPECT_LT(GetBValue(pixel), 0x40)
            << "a dark pixel of the bore, drawn from the box's corner";
}

INSTANTIATE_TEST_SUITE_P(Window, LogoPixels,
                         testing::Values(LogoPixel{"TopLeftCorner", 2, 2, true},
                                         LogoPixel{"BelowTheBarrel", 150, 85, true},
                                         LogoPixel{"CentreOfTheBore", 45, 45, false}),
                         rows::RowName());

} // namespace
