// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/core/errors.h"

#include <algorithm>
#include <array>

namespace runtime {
namespace {

struct ErrorEntry {
    ErrorCode code;
    const char *description;
};

constexpr std::array errorTable{
    ErrorEntry{ErrorCode::overflow, "Overflow"},
    ErrorEntry{ErrorCode::outOfMemory, "Memoria esaurita"},
    ErrorEntry{ErrorCode::divisionByZero, "Divisione per zero"},
    ErrorEntry{ErrorCode::typeMismatch, "Tipo non corrispondente"},
    ErrorEntry{ErrorCode::internalError, "Errore interno"},
};

} // namespace

const char *RuntimeError::description() const noexcept {
    const auto byCode = [](ErrorCode code) {
        return std::find_if(errorTable.begin(), errorTable.end(),
                            [code](const ErrorEntry &entry) { return entry.code == code; });
    };
    const auto entry = byCode(m_code);
    return entry != errorTable.end() ? entry->description
                                     : byCode(ErrorCode::internalError)->description;
}

void raiseRuntimeError(ErrorCode code) {
    throw RuntimeError(code);
}

void raiseFloatingPointError(FloatConditions conditions) {
    raiseRuntimeError(conditions.divisionByZero ? ErrorCode::divisionByZero : ErrorCode::overflow);
}

} // namespace runtime
