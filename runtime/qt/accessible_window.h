// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace runtime {

// Makes screen readers announce the program's windows: each plain top-level
// widget is shown to them as a window (a "frame" on the accessibility bus)
// named by its title. Call once the QApplication exists, before the windows.
void installWindowAccessibility();

} // namespace runtime
