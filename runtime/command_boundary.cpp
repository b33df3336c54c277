// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/command_boundary.h"

#include "runtime/error_box.h"

#include <utility>

namespace runtime {
namespace {

ErrorReporter &currentReporter() {
    static ErrorReporter reporter = showErrorBox;
    return reporter;
}

void reportUnhandled(const RuntimeError &error) noexcept {
    try {
        currentReporter()(error);
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

void runCommand(Command command, Form &form) noexcept {
    try {
        command(form);
    } catch (const RuntimeError &error) {
        reportUnhandled(error);
    } catch (...) {
        reportUnhandled(RuntimeError(ErrorCode::internalError));
    }
}

} // namespace runtime
