// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace runtime::win32 {

// The program's name, as run() was given it: the title of its error boxes.
// Empty until run() starts.
std::wstring &applicationTitle();

} // namespace runtime::win32
