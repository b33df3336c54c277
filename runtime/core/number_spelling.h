// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The two steps under the window's number format: between a single and its
// plain spelling ('.' separator, 'e' exponent), each correctly rounded and
// blind to the process locale. The build picks the library that does them:
// the C++ library's <charconv> where it converts floating point, the C
// library's strtof and snprintf where it does not (Emscripten's libc++).

#include <optional>
#include <string>

namespace runtime::spelling {

// The single nearest to `text`, a NUL-terminated plain spelling: digits,
// optionally '.' and digits, optionally 'e', '-' and digits, as the text
// conversion writes it. Nothing where the value lies beyond the single range
// at either end; the caller tells which end.
std::optional<float> nearestSingle(const char *text);

// A finite single in C's "%.7g" form: 7 significant digits rounded from its
// exact value, ties to even, no trailing zeros, exponent notation ("1.5e-05")
// outside 1e-4 <= |x| < 1e7.
std::string sevenDigits(float value);

} // namespace runtime::spelling
