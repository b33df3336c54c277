// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The Win32 windows behind a Form, for the event loop and for the tests that
// drive them.

#include "runtime/form.h"
#include "runtime/layout.h"
#include "runtime/win32/handles.h"
#include "runtime/win32/picture.h"

#include <windows.h>

#include <string_view>
#include <vector>

namespace runtime {

struct Form::Native : NativeForm {
    Native(const FormSpec &table, const PressReport &pressed);

    std::string text(std::size_t row) const override;
    void setCaption(std::size_t row, std::string_view caption) override;
    double captionRoom(std::size_t row) const override;
    double captionWidth(std::size_t row, std::string_view caption, double pointSize) const override;
    void setCaptionSize(std::size_t row, double pointSize) override;
    void focus(std::size_t row) override;
    void show() override;

    // The control made from the row called `name`, or null.
    HWND control(std::string_view name) const;

    // Hands one message of the event loop on, with the keyboard of a dialog:
    // Tab and Shift+Tab move the focus in tab order and Space presses the
    // focused button, while Enter and Esc do nothing at all.
    void dispatch(MSG &message) const;

    const FormSpec &table;
    const PressReport &pressed;
    // The dots per inch of the window's screen, which the layout follows.
    int dpi = standardDpi;
    // By table row.
    std::vector<HWND> controls;
    // By table row: a label's font, sized so that its caption fits, or the
    // row's own font; null where the control has the window's font.
    std::vector<win32::FontOwner> fonts;
    // By table row: a picture box's picture, at the screen's density.
    std::vector<win32::Picture> pictures;
    win32::FontOwner windowFont;
    // The program file's icon at the title bar's and the task switcher's
    // sizes for the screen's density.
    win32::IconOwner bigIcon;
    win32::IconOwner smallIcon;
    // Where the focus goes back to when the window is active again.
    HWND focusedControl = nullptr;
    // Last, so that the window and its controls go before the fonts,
    // pictures and icons they show.
    win32::WindowOwner window;
};

} // namespace runtime
