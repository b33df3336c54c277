#include "runtime/core/errors.h"

#include <array>

namespace runtime {
namespace {

struct ErrorEntry {
    ErrorCode code;
    const char *description;
};

constexpr std::array errorTable{
    ErrorEntry{ErrorCode::overflow, "Overflow"},
    ErrorEntry{ErrorCode::divisionByZero, "Divisione per zero"},
    ErrorEntry{ErrorCode::typeMismatch, "Tipo non corrispondente"},
    ErrorEntry{ErrorCode::internalError, "Errore interno"},
};

} // namespace

const char *RuntimeError::description() const noexcept {
    for (const ErrorEntry &entry : errorTable) {
        if (entry.code == m_code)
            return entry.description;
    }
    return "Errore interno";
}

void raiseRuntimeError(ErrorCode code) {
    throw RuntimeError(code);
}

void raiseFloatingPointError(FloatConditions conditions) {
    raiseRuntimeError(conditions.divisionByZero ? ErrorCode::divisionByZero : ErrorCode::overflow);
}

} // namespace runtime
