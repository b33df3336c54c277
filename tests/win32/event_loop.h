// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the Windows suites reach of the window driver beyond the shared
// interface: the event loop itself, and the boxes a call brings up.

#include "runtime/form.h"

#include "tests/window_driver.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <vector>

namespace driver {

// Runs the program's event loop until it has nothing left to do; the exit
// status, once the loop was told to end.
std::optional<int> runEventsUntilIdle(runtime::Form &form);

// Reads and answers with OK every box that `call` brings up on this thread;
// with `pressAgain`, first posts a click of `button` while the first box is
// open. The boxes' owner is compared with `owner`.
std::vector<SeenBox> answerBoxesWhile(HWND owner, HWND button, bool pressAgain,
                                      const std::function<void()> &call);

} // namespace driver
