// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The C library's conversions, for a C++ library without floating-point
// <charconv>. They serve where the C library is musl (Emscripten's), whose
// strtof and printf round correctly from the exact values and read and write
// '.' whatever the locale.

#include "runtime/core/errors.h"
#include "runtime/core/number_spelling.h"

#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace runtime::spelling {

std::optional<float> nearestSingle(const char *text) {
    char *end = nullptr;
    errno = 0;
    const float value = std::strtof(text, &end);
    if (*end != '\0')
        raiseRuntimeError(ErrorCode::typeMismatch);
    // A result in the single range, denormals included, is never zero or
    // infinite when out of range is reported.
    if (errno == ERANGE && (value == 0.0f || std::isinf(value)))
        return std::nullopt;
    return value;
}

std::string sevenDigits(float value) {
    // The longest result, "-1.175494e-38", fits many times over.
    std::array<char, 32> buffer{};
    const int length =
        std::snprintf(buffer.data(), buffer.size(), "%.7g", static_cast<double>(value));
    return {buffer.data(), static_cast<std::size_t>(length)};
}

} // namespace runtime::spelling
