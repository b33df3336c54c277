// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace runtime {

// Reads a measurement as typed or pasted by the user, in UTF-8: an optional
// sign, digits with at most one decimal separator (',' the Italian way, or
// '.'), and an optional exponent, with nothing between them. Around it may be
// any number of blanks: spaces, tabs, line breaks, and Unicode's other spaces
// and zero-width spaces, which a user cannot tell from nothing. The result is
// the text's exact decimal value rounded once to single precision (nearest,
// ties to even), whatever the process locale. Raises typeMismatch for any
// other text and overflow for a value beyond the single range; a value too
// small for single precision becomes the nearest denormal or a signed zero,
// which is an ordinary result.
float textToSingle(std::string_view text);

// Writes a single the way the window shows it: at most 7 significant digits
// rounded from the exact value, ',' as the separator, no trailing zeros, and
// exponent notation (d,ddddddE+XX) outside 1e-4 <= |x| < 1e7. Zero of either
// sign is "0".
std::string singleToText(float value);

} // namespace runtime
