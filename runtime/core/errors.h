#pragma once

#include <exception>

namespace runtime {

// The run-time errors the program can raise. The numbers are the ones users of
// this kind of program know from the error box, so they are part of the interface.
enum class ErrorCode : int {
    overflow = 6,
    divisionByZero = 11,
    typeMismatch = 13,
    internalError = 51,
};

// A raised run-time error: it leaves the running command at once and travels up
// to the one boundary that reports it.
class RuntimeError : public std::exception {
public:
    explicit RuntimeError(ErrorCode code) noexcept : m_code(code) {}

    ErrorCode code() const noexcept { return m_code; }
    int number() const noexcept { return static_cast<int>(m_code); }
    // The Italian description shown to the user.
    const char *description() const noexcept;
    const char *what() const noexcept override { return description(); }

private:
    ErrorCode m_code;
};

[[noreturn]] void raiseRuntimeError(ErrorCode code);

// The floating-point conditions that stop a calculation. Underflow and inexact
// results are deliberately absent: they are normal outcomes, not errors.
struct FloatConditions {
    bool invalidOperation = false;
    bool divisionByZero = false;
    bool overflow = false;

    bool any() const noexcept { return invalidOperation || divisionByZero || overflow; }
};

// Raises the error for the flagged conditions. Division by zero wins when
// several are flagged at once (0 degrees over 0 cm is also an invalid 0 x inf),
// because it names the cause the user can fix.
[[noreturn]] void raiseFloatingPointError(FloatConditions conditions);

} // namespace runtime
