// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Drives a window's controls as a user, a screen reader or an automation tool
// would, through whichever platform's controls it was built with, so that one
// suite checks every backend. Controls are named as in the window's table.

#include "runtime/form.h"
#include "runtime/layout.h"

#include <string>
#include <string_view>
#include <vector>

namespace driver {

// Shows the window and waits until it is on the screen and active.
void show(runtime::Form &form);

// Puts `text` into a text box, as a paste would: UTF-8, or UTF-16 for what
// UTF-8 cannot carry (a lone surrogate).
void setText(runtime::Form &form, std::string_view textBox, const std::string &text);
void setTextUtf16(runtime::Form &form, std::string_view textBox, const std::u16string &text);
// Gives `textBox` the focus and types `text` into it, key by key, in place of
// what it held.
void type(runtime::Form &form, std::string_view textBox, const std::string &text);
// What a control shows, as UTF-8: a text box's text, a label's or a button's
// caption.
std::string text(runtime::Form &form, std::string_view control);
// What a text box holds once `typed` is pasted into it: all of it on the
// desktop; a browser's one-line box drops line breaks as they come in.
std::string held(const std::string &typed);
// Clicks a button with the mouse; returns once its command has run.
void click(runtime::Form &form, std::string_view button);
// Presses a button as a screen reader or an automation tool does, without
// the mouse and whether or not the window is active.
void pressByAutomation(runtime::Form &form, std::string_view button);

enum class Key { tab, enter, escape };
// Presses `key` in the control with the focus, as the keyboard sends it.
void press(runtime::Form &form, Key key);
void focus(runtime::Form &form, std::string_view control);
// The name of the control with the focus; empty if none of the window's has it.
std::string focused(runtime::Form &form);
// Puts another window of the program in front, so that this one is inactive.
void putAnotherWindowInFront(runtime::Form &form);
// Whether the window is still open, its event loop not told to end.
bool isOpen(runtime::Form &form);

// Where the window puts things, in the pixels it lays its table out in at
// `layoutDpi`: 96 where the toolkit scales for the screen itself.
int layoutDpi(runtime::Form &form);
runtime::PixelRect placement(runtime::Form &form, std::string_view control);
runtime::PixelRect clientArea(runtime::Form &form);
bool isResizable(runtime::Form &form);
std::string title(runtime::Form &form);
bool hasIcon(runtime::Form &form);

// Whether a control's text is shown whole, in width and in height.
bool captionFits(runtime::Form &form, std::string_view control);
// Whether a control's font has its table size, not a smaller one fitted.
bool atTableSize(runtime::Form &form, std::string_view control);
// The family of the font a control's text is drawn in.
std::string fontFamily(runtime::Form &form, std::string_view control);
// The name a screen reader reads for a control.
std::string accessibleName(runtime::Form &form, std::string_view control);
// Selects all of a control's text and copies it; what the clipboard holds.
std::string copyAll(runtime::Form &form, std::string_view control);

// An error box as it was seen, before it was answered with OK.
struct SeenBox {
    std::string title;
    std::string text;
    bool ownedByWindow;
    bool centredOnWindow;
    int buttons;
};
// Presses `button` by automation and answers every error box that opens,
// however the command ends; with `pressAgain`, presses it a second time while
// the first box is open. Nothing is left open, whatever goes wrong.
std::vector<SeenBox> pressAndAnswerBoxes(runtime::Form &form, std::string_view button,
                                         bool pressAgain = false);

// What a leaking click would make grow: heap bytes in use on Linux, GDI and
// USER objects on Windows; and how much of it may come and go without a
// leak. One byte or one object lost at every click exceeds the slack after
// `leakClicks` clicks.
long resourceUse();
long resourceSlack();
inline constexpr int leakClicks = 2000;

} // namespace driver
