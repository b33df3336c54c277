// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/command_boundary.h"

#include "runtime/error_box.h"

#include <new>
#include <utility>

namespace runtime {
namespace {

ErrorReporter &currentReporter() {
    static ErrorReporter reporter = showErrorBox;
    return reporter;
}

void reportUnhandled(Form &form, const RuntimeError &error) noexcept {
    try {
        currentReporter()(form, error);
    } catch (...) {
        // Reporting failed too (out of memory, most likely); the command has
        // already stopped and the window is intact, so the program goes on.
    }
}

} // namespace

ScopedErrorReporter::ScopedErrorReporter(ErrorReporter reporter)
    : m_previous(std::exchange(currentReporter(), std::move(reporter))) {}

ScopedErrorReporter::~ScopedErrorReporter() {
    currentReporter() = std::move(m_previous);
}

// A press while a command of the window runs, or while its error box is
// open, is dropped; whether the box blocks its command until it is answered
// (the desktop's) or not (the page's).
void runCommand(Command command, Form &form) noexcept {
    if (form.m_commandRunning || form.m_native->hasOpenErrorBox())
        return;
    form.m_commandRunning = true;
    try {
        command(form);
    } catch (const RuntimeError &error) {
        reportUnhandled(form, error);
    } catch (const std::bad_alloc &) {
        reportUnhandled(form, RuntimeError(ErrorCode::outOfMemory));
    } catch (...) {
        reportUnhandled(form, RuntimeError(ErrorCode::internalError));
    }
    form.m_commandRunning = false;
}

} // namespace runtime
