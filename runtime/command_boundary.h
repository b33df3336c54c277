// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/core/errors.h"
#include "runtime/form.h"

#include <functional>

namespace runtime {

// What happens to a run-time error that leaves a command of `form`. By default
// an error box modal to that window; tests put a recorder in its place.
using ErrorReporter = std::function<void(Form &form, const RuntimeError &error)>;

// Puts `reporter` in place of the current one for the lifetime of this object.
class ScopedErrorReporter {
public:
    explicit ScopedErrorReporter(ErrorReporter reporter);
    ~ScopedErrorReporter();
    ScopedErrorReporter(const ScopedErrorReporter &) = delete;
    ScopedErrorReporter &operator=(const ScopedErrorReporter &) = delete;

private:
    ErrorReporter m_previous;
};

// Runs a command and reports whatever escapes it. Nothing is thrown past this
// point: an exception crossing the platform's event loop is undefined
// behaviour. A press that reaches the window while one of its commands is
// still running or its error box is open (a screen reader or an automation
// tool can press a button while the box is open) is dropped: commands never
// nest.
void runCommand(Command command, Form &form) noexcept;

} // namespace runtime
