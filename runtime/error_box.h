// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/core/errors.h"
#include "runtime/form.h"

#include <string>

namespace runtime {

// What the error box says, on every platform: the error's number on the first
// line, a blank line, its description, and on the next line the advice, if
// the error carries one.
std::string errorBoxText(const RuntimeError &error);

// Shows the platform's error box, modal to `form`'s window and centred on it,
// titled with the window's caption, with one OK button. The box belongs to the
// window whether or not the window was active when the command ran.
void showErrorBox(Form &form, const RuntimeError &error);

} // namespace runtime
