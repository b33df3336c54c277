// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/qt/command_line.h"

#include <optional>
#include <string>

namespace runtime {

// Why Qt would find no display to open the window on, in a few Italian words
// naming each one it would try ("WAYLAND_DISPLAY=wayland-0 non raggiungibile;
// DISPLAY non impostato"), or nothing where it will find one. Without a
// display Qt aborts the process with advice to reinstall it; this lets the
// program say what is wrong instead. The Wayland compositor and the X11
// display are checked, in the order Qt tries them; where a platform chosen on
// purpose is neither, it is left to Qt.
std::optional<std::string> missingDisplay(const CommandLine &commandLine);

} // namespace runtime
