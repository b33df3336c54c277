// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Drives a window's controls as a user would, through whichever platform's
// controls it was built with, so that one suite checks every backend.

#include "runtime/form.h"

#include <string>
#include <string_view>

namespace driver {

// Puts `text` (UTF-8) into a text box, as typing or pasting would.
void setText(runtime::Form &form, std::string_view textBox, const std::string &text);
// A text box's text, as UTF-8.
std::string text(runtime::Form &form, std::string_view textBox);
// What a text box holds once `typed` is typed or pasted into it: all of it on
// the desktop; a browser's one-line box drops line breaks as they come in.
std::string held(const std::string &typed);
// Clicks a button; returns once its command has run.
void click(runtime::Form &form, std::string_view button);
// A label's caption, as UTF-8.
std::string caption(runtime::Form &form, std::string_view label);

// What a leaking click would make grow: resident memory on Linux, GDI and USER
// objects on Windows; and how much of it may come and go without a leak.
long resourceUse();
long resourceSlack();

} // namespace driver
