// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later

// What only the Win32 window has, beside the window suite every backend
// runs: screens of other densities, the event loop's end, the fonts as
// drawn, the logo's transparency and a start-up that fails.

#include "runtime/application.h"
#include "runtime/layout.h"
#include "runtime/win32/native_form.h"
#include "runtime/win32/wide_text.h"

#include "tests/error_boxes.h"
#include "tests/form1_window.h"
#include "tests/row_name.h"
#include "tests/unbuildable_application.h"
#include "tests/win32/event_loop.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace {

using rows::PrintTo;

class Win32Window : public Form1Window {
protected:
    HWND window() { return form.native().window.get(); }
    HWND control(std::string_view name) { return form.native().control(name); }
    int dpi() { return driver::layoutDpi(form); }
};

struct Density {
    std::string name;
    int dpi;
    runtime::PixelRect calcola; // cmdcalcola, 3600, 3600, 1095 x 615 twips
    int bigIcon;
    int smallIcon;
};

class AtDensity : public Win32Window, public testing::WithParamInterface<Density> {
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

    LONG fontHeight(std::string_view name) {
        LOGFONTW logical{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control(name), WM_GETFONT, 0, 0)),
                   sizeof logical, &logical);
        return logical.lfHeight;
    }
};

// After a move from the screen's density to the other one.
TEST_P(AtDensity, TwipsBecomePixelsFontsAndIcons) {
    const Density &d = GetParam();
    EXPECT_EQ(GetAwarenessFromDpiAwarenessContext(GetWindowDpiAwarenessContext(window())),
              DPI_AWARENESS_PER_MONITOR_AWARE)
        << "the manifest asks for every screen's own density";
    moveToDensity(d.dpi);
    for (const runtime::ControlSpec &row : ui::form1.controls)
        EXPECT_EQ(driver::placement(form, row.name), runtime::toPixels(row.bounds, d.dpi))
            << row.name;
    EXPECT_EQ(driver::placement(form, "cmdcalcola"), d.calcola);
    EXPECT_EQ(fontHeight("gradi1"), -std::lround(8 * d.dpi / 72.0));
    EXPECT_EQ(fontHeight("centimetri1"), -std::lround(14.25 * d.dpi / 72.0));
    EXPECT_EQ(iconWidth(reinterpret_cast<HICON>(SendMessageW(window(), WM_GETICON, ICON_BIG, 0))),
              d.bigIcon);
    EXPECT_EQ(iconWidth(reinterpret_cast<HICON>(SendMessageW(window(), WM_GETICON, ICON_SMALL, 0))),
              d.smallIcon);
}

INSTANTIATE_TEST_SUITE_P(Window, AtDensity,
                         testing::Values(Density{"Standard96", 96, {240, 240, 73, 41}, 32, 16},
                                         Density{
                                             "OneAndAHalf144", 144, {360, 360, 110, 62}, 48, 24}),
                         rows::RowName());

TEST_F(Win32Window, ClosingEndsTheEventLoopWithStatusZero) {
    PostMessageW(window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(driver::runEventsUntilIdle(form), 0);
}

// The fonts the captions were sized for are there under Wine: every caption
// fits at its full size.
TEST_F(Win32Window, CaptionsAreInTheWindowFontAtFullSize) {
    for (const runtime::ControlSpec &row : ui::form1.controls) {
        if (row.text.empty())
            continue;
        EXPECT_TRUE(driver::atTableSize(form, row.name)) << row.name;
        const std::string face = driver::fontFamily(form, row.name);
        EXPECT_TRUE(face == "Liberation Sans" || face == "Arial") << row.name << ": " << face;
    }
}

// Microsoft Active Accessibility names a control after the label just before
// it: the result after the sentence that introduces it.
TEST_F(Win32Window, ScreenReadersNameTheResultAfterItsSentence) {
    EXPECT_EQ(driver::accessibleName(form, "centimetri1"), "Il passo di rigatura della canna è di");
}

struct LogoPixel {
    std::string name;
    int x; // in the logo's pixels at 96 dpi
    int y;
    bool transparent;
};

class LogoPixels : public Win32Window, public testing::WithParamInterface<LogoPixel> {};

// The picture box drawn into memory as it draws on the screen.
TEST_P(LogoPixels, ShowTheWindowThroughTransparency) {
    const HWND picture = control("Picture1");
    RECT size{};
    GetClientRect(picture, &size);
    const HDC screen = GetDC(picture);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP canvas = CreateCompatibleBitmap(screen, size.right, size.bottom);
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

// A program started from a menu has no console: a window that cannot be
// built is said in a box, and the program ends with status 1.
TEST(StartUp, AWindowThatCannotBeBuiltIsReportedInABox) {
    const UnbuildableApplication application;
    int count = 0;
    int status = 0;
    const std::vector<driver::SeenBox> seen =
        driver::answerBoxesWhile(nullptr, nullptr, false, [&] {
            status = runtime::run(count, nullptr, application.description);
        });
    EXPECT_EQ(status, 1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, box_texts::startupFailure);
}

// The program's answers on the command line come in a box too, instead of
// the window.
TEST(StartUp, TheVersionAskedForIsShownInABox) {
    char program[] = "passo-rigatura.exe";
    char version[] = "--version";
    char *arguments[] = {program, version, nullptr};
    int count = 2;
    int status = -1;
    const std::vector<driver::SeenBox> seen = driver::answerBoxesWhile(
        nullptr, nullptr, false, [&] { status = runtime::run(count, arguments, ui::application); });
    EXPECT_EQ(status, 0);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "passo-rigatura 1.00");
}

// What Explorer shows in the program file's properties, from the resources
// this suite carries as the program does.
TEST(ProgramFile, SaysItsVersionAsExplorerReadsIt) {
    wchar_t path[MAX_PATH]{};
    ASSERT_GT(GetModuleFileNameW(nullptr, path, MAX_PATH), 0u);
    std::vector<char> info(GetFileVersionInfoSizeW(path, nullptr));
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, static_cast<DWORD>(info.size()), info.data()));
    for (const wchar_t *key : {L"\\StringFileInfo\\041004B0\\FileVersion",
                               L"\\StringFileInfo\\041004B0\\ProductVersion"}) {
        void *value = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueW(info.data(), key, &value, &length));
        EXPECT_EQ(std::wstring(static_cast<const wchar_t *>(value)), L"1.00");
    }
}

} // namespace
