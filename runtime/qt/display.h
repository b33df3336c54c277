// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/qt/command_line.h"

#include <optional>
#include <string>

namespace runtime {

// Why Qt would find no display to open the window on, in a few Italian
// words, or nothing where it will find one. Without a display Qt aborts the
// process with advice to reinstall it; this lets the program say what is
// wrong instead. Only the X11 display is checked, where Qt will try nothing
// else: a Wayland session, or any platform chosen on purpose, is left to Qt.
std::optional<std::string> missingDisplay(const CommandLine &commandLine);

} // namespace runtime
