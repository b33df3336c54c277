// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string_view>

namespace bench {

// Barriers that keep the compiler from seeing through a benchmark's inputs or
// dropping its results. Each pins one register operand: GCC 12 has been seen
// to read a stale stack slot through benchmark::DoNotOptimize's two-way
// "+m,r" constraint, which made every input to a conversion look like zero.
inline float opaque(float value) {
    asm volatile("" : "+x"(value));
    return value;
}

inline const char *opaque(const char *text) {
    asm volatile("" : "+r"(text));
    return text;
}

inline std::string_view opaque(std::string_view text) {
    const char *data = text.data();
    std::size_t size = text.size();
    asm volatile("" : "+r"(data), "+r"(size));
    return {data, size};
}

inline void keep(float value) {
    asm volatile("" : : "x"(value));
}

inline void keep(int value) {
    asm volatile("" : : "r"(value));
}

// The bytes at `data` count as read.
inline void keepMemory(const void *data) {
    asm volatile("" : : "r"(data) : "memory");
}

} // namespace bench
