// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/core/errors.h"

#include <string>

namespace runtime {

// What the error box says, on every platform: the error's number on the first
// line, a blank line, its description, and on the next line the advice, if
// the error carries one.
std::string errorBoxText(const RuntimeError &error);

// Shows the platform's modal error box, titled with the program's name, with
// one OK button, and returns when the user dismisses it.
void showErrorBox(const RuntimeError &error);

} // namespace runtime
