// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <exception>
#include <string_view>

namespace runtime {

// The run-time errors the program can raise. The numbers are the ones users of
// this kind of program know from the error box, so they are part of the interface.
enum class ErrorCode : int {
    overflow = 6,
    outOfMemory = 7,
    divisionByZero = 11,
    typeMismatch = 13,
    internalError = 51,
};

// One Italian sentence telling the user what to change. Only a string literal
// makes one: an error is reported after the code that raised it has returned,
// so its advice must be text that lives as long as the program.
class Advice {
public:
    constexpr Advice() noexcept = default;
    template <std::size_t length>
    consteval Advice(const char (&literal)[length]) noexcept : m_text(literal, length - 1) {}

    constexpr std::string_view text() const noexcept { return m_text; }

private:
    std::string_view m_text;
};

// A raised run-time error: it leaves the running command at once and travels up
// to the one boundary that reports it. The code that raises it knows what went
// wrong; the command it stops may know more, what the user should do about it,
// and adds that as the advice.
class RuntimeError : public std::exception {
public:
    explicit RuntimeError(ErrorCode code, Advice advice = {}) noexcept
        : m_code(code), m_advice(advice) {}

    ErrorCode code() const noexcept { return m_code; }
    int number() const noexcept { return static_cast<int>(m_code); }
    // The Italian description shown to the user.
    const char *description() const noexcept;
    // One Italian sentence telling the user what to change; empty where there
    // is nothing the user can do.
    std::string_view advice() const noexcept { return m_advice.text(); }
    const char *what() const noexcept override { return description(); }

private:
    ErrorCode m_code;
    Advice m_advice;
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
