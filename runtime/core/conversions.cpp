// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/core/conversions.h"

#include "runtime/core/errors.h"
#include "runtime/core/number_spelling.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string_view>

namespace runtime {
namespace {

// A number text split into its parts; every view holds only ASCII digits.
struct NumberParts {
    bool negative = false;
    std::string_view integerDigits;
    std::string_view fractionDigits;
    bool exponentNegative = false;
    std::string_view exponentDigits;
};

bool isDigit(char c) {
    return static_cast<unsigned char>(c - '0') < 10;
}

// What a user cannot see around a number, typed or pasted: ASCII spaces, tabs
// and line breaks, and Unicode's other spaces and line breaks (its White_Space
// characters) with the zero-width ones, which text copied from documents and
// web pages often carries. Each is matched as its UTF-8 spelling, the only
// valid one, so a byte of another character never matches.
bool isAsciiBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r'); // tab, line feed, VT, form feed, CR
}

constexpr std::string_view wideBlanks[] = {
    // Spaces: no-break, Ogham, en quad to hair space, narrow no-break (the
    // thousands gap of French texts), medium mathematical, ideographic.
    "\u00a0", "\u1680", "\u2000", "\u2001", "\u2002", "\u2003", "\u2004", "\u2005", "\u2006",
    "\u2007", "\u2008", "\u2009", "\u200a", "\u202f", "\u205f", "\u3000",
    // Line breaks: next line, line separator, paragraph separator.
    "\u0085", "\u2028", "\u2029",
    // Zero-width: space, word joiner, no-break space (also the byte order mark).
    "\u200b", "\u2060", "\ufeff"};

// The length of the blank `text` starts with, or 0.
std::size_t leadingBlank(std::string_view text) {
    if (text.empty())
        return 0;
    if (static_cast<unsigned char>(text.front()) < 0x80)
        return isAsciiBlank(text.front()) ? 1 : 0;
    for (std::string_view blank : wideBlanks)
        if (text.starts_with(blank))
            return blank.size();
    return 0;
}

// The length of the blank `text` ends with, or 0.
std::size_t trailingBlank(std::string_view text) {
    if (text.empty())
        return 0;
    if (static_cast<unsigned char>(text.back()) < 0x80)
        return isAsciiBlank(text.back()) ? 1 : 0;
    for (std::string_view blank : wideBlanks)
        if (text.ends_with(blank))
            return blank.size();
    return 0;
}

std::string_view withoutBlanksAround(std::string_view text) {
    while (const std::size_t length = leadingBlank(text))
        text.remove_prefix(length);
    while (const std::size_t length = trailingBlank(text))
        text.remove_suffix(length);
    return text;
}

const char *skipDigits(const char *p, const char *end) {
    while (p != end && isDigit(*p))
        ++p;
    return p;
}

// Recognises the accepted grammar exactly; anything left over rejects the text.
bool splitNumber(std::string_view text, NumberParts &parts) {
    const std::string_view number = withoutBlanksAround(text);
    const char *p = number.data();
    const char *end = p + number.size();
    if (p != end && (*p == '-' || *p == '+'))
        parts.negative = *p++ == '-';
    const char *digits = p;
    p = skipDigits(p, end);
    parts.integerDigits = {digits, static_cast<std::size_t>(p - digits)};
    if (p != end && (*p == ',' || *p == '.')) {
        digits = ++p;
        p = skipDigits(p, end);
        parts.fractionDigits = {digits, static_cast<std::size_t>(p - digits)};
    }
    if (parts.integerDigits.empty() && parts.fractionDigits.empty())
        return false;
    if (p != end && (*p == 'e' || *p == 'E')) {
        ++p;
        if (p != end && (*p == '-' || *p == '+'))
            parts.exponentNegative = *p++ == '-';
        digits = p;
        p = skipDigits(p, end);
        parts.exponentDigits = {digits, static_cast<std::size_t>(p - digits)};
        if (parts.exponentDigits.empty())
            return false;
    }
    return p == end;
}

// The decimal exponent of the leading significant digit (0 for 1..9.99, -1 for
// 0.1..0.99). Only its sign is needed, to tell a value too large for single
// precision from one too small, so the exponent saturates instead of wrapping.
long long leadingDigitExponent(const NumberParts &parts) {
    constexpr long long saturation = 1'000'000'000;
    long long exponent = 0;
    for (char c : parts.exponentDigits)
        exponent = std::min(saturation, exponent * 10 + (c - '0'));
    if (parts.exponentNegative)
        exponent = -exponent;

    const auto firstNonZero = parts.integerDigits.find_first_not_of('0');
    if (firstNonZero != std::string_view::npos)
        return exponent + static_cast<long long>(parts.integerDigits.size() - firstNonZero) - 1;
    const auto fractionNonZero = parts.fractionDigits.find_first_not_of('0');
    return exponent - static_cast<long long>(fractionNonZero) - 1;
}

// Few digits and a small power of ten: both are exact singles, so one single
// multiplication or division rounds the value correctly. Most typed
// measurements take this path.
std::optional<float> exactQuotient(const NumberParts &parts) {
    constexpr std::size_t maxDigits = 7; // below 2^24, exact in single
    constexpr int maxPower = 10;         // 10^10 = 2^10 * 5^10, and 5^10 < 2^24
    constexpr std::array<float, maxPower + 1> powersOfTen{1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f,
                                                          1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
    if (parts.integerDigits.size() + parts.fractionDigits.size() > maxDigits ||
        parts.exponentDigits.size() > 2)
        return std::nullopt;

    std::uint32_t digits = 0;
    for (std::string_view run : {parts.integerDigits, parts.fractionDigits})
        for (char c : run)
            digits = digits * 10 + static_cast<std::uint32_t>(c - '0');
    int exponent = 0;
    for (char c : parts.exponentDigits)
        exponent = exponent * 10 + (c - '0');
    exponent = (parts.exponentNegative ? -exponent : exponent) -
               static_cast<int>(parts.fractionDigits.size());
    if (exponent < -maxPower || exponent > maxPower)
        return std::nullopt;

    const auto value = static_cast<float>(digits);
    return exponent < 0 ? value / powersOfTen[static_cast<std::size_t>(-exponent)]
                        : value * powersOfTen[static_cast<std::size_t>(exponent)];
}

// Writes the unsigned value in its plain spelling ('.' separator, 'e'
// exponent), which reads the same in every locale, ends it with a NUL and
// returns its start.
const char *writePlainSpelling(const NumberParts &parts, char *out) {
    char *const start = out;
    const auto append = [&out](std::string_view text) {
        out = std::copy(text.begin(), text.end(), out);
    };
    append(parts.integerDigits.empty() ? std::string_view("0") : parts.integerDigits);
    if (!parts.fractionDigits.empty()) {
        append(".");
        append(parts.fractionDigits);
    }
    if (!parts.exponentDigits.empty()) {
        append(parts.exponentNegative ? "e-" : "e");
        append(parts.exponentDigits);
    }
    *out = '\0';
    return start;
}

// Any other text: correctly rounded from its plain spelling; short texts are
// spelled on the stack.
float roundedMagnitude(const NumberParts &parts) {
    // "0", ".", "e-" and the NUL at most besides the digits.
    const std::size_t length =
        parts.integerDigits.size() + parts.fractionDigits.size() + parts.exponentDigits.size() + 5;
    std::array<char, 64> onStack;
    std::string onHeap;
    char *const buffer =
        length <= onStack.size() ? onStack.data() : (onHeap.resize(length), onHeap.data());
    const std::optional<float> magnitude =
        spelling::nearestSingle(writePlainSpelling(parts, buffer));
    if (magnitude)
        return *magnitude;
    // Beyond the single range at one end or the other: a tiny value is
    // simply zero, only a huge one is an error.
    if (leadingDigitExponent(parts) > 0)
        raiseRuntimeError(ErrorCode::overflow);
    return 0.0f;
}

} // namespace

float textToSingle(std::string_view text) {
    NumberParts parts;
    if (!splitNumber(text, parts))
        raiseRuntimeError(ErrorCode::typeMismatch);
    const std::optional<float> exact = exactQuotient(parts);
    const float magnitude = exact ? *exact : roundedMagnitude(parts);
    return parts.negative ? -magnitude : magnitude;
}

std::string singleToText(float value) {
    if (value == 0.0f)
        return "0";
    // Infinity and NaN have no place in the window's number format.
    if (!std::isfinite(value))
        raiseRuntimeError(ErrorCode::overflow);
    std::string text = spelling::sevenDigits(value);
    std::replace(text.begin(), text.end(), '.', ',');
    std::replace(text.begin(), text.end(), 'e', 'E');
    return text;
}

} // namespace runtime
