// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/core/errors.h"
#include "runtime/core/number_spelling.h"

#include <array>
#include <charconv>
#include <cstring>
#include <system_error>

namespace runtime::spelling {

std::optional<float> nearestSingle(const char *text) {
    const char *const textEnd = text + std::strlen(text);
    float value = 0.0f;
    const auto [end, error] = std::from_chars(text, textEnd, value);
    // from_chars reports both ends of the range alike.
    if (error == std::errc::result_out_of_range)
        return std::nullopt;
    if (error != std::errc() || end != textEnd)
        raiseRuntimeError(ErrorCode::typeMismatch);
    return value;
}

std::string sevenDigits(float value) {
    // The longest result, "-1.175494e-38", fits many times over.
    std::array<char, 32> buffer{};
    const std::to_chars_result written = std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                                                       value, std::chars_format::general, 7);
    return {buffer.data(), written.ptr};
}

} // namespace runtime::spelling
