// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A single's bit pattern and back, for comparing singles bit for bit (which
// tells +0 from -0). std::bit_cast would do, but the browser build's C++
// library (Emscripten 3.1.6's libc++ 13) has none.

#include <cstdint>
#include <cstring>

namespace singles {

inline std::uint32_t bitsOf(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

inline float fromBits(std::uint32_t bits) {
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

} // namespace singles
