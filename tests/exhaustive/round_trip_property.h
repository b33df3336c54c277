// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What must hold when a single is shown in the window and the shown text is
// read back: shared by the exhaustive check and the round-trip fuzzer, so that
// both judge every value by the same rule.

#include "runtime/core/conversions.h"
#include "runtime/core/errors.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <limits>
#include <string>
#include <string_view>

namespace roundtrip {

// "-1,175494E-38": sign, 7 digits, separator, exponent letter, sign, 2 digits.
inline constexpr std::size_t longestText = 13;

enum class Fault {
    none,
    formatRaised, // singleToText refused a finite value
    tooLong,      // the text does not fit the window's field
    parseRaised,  // textToSingle refused a text the program itself wrote
    textChanged,  // showing the value read back gives another text
    beyondBound,  // the value read back is further from the original than the text allows
    kindCount
};

inline const char *faultName(Fault fault) {
    switch (fault) {
    case Fault::none:
        return "none";
    case Fault::formatRaised:
        return "singleToText raised";
    case Fault::tooLong:
        return "text longer than 13 characters";
    case Fault::parseRaised:
        return "textToSingle raised";
    case Fault::textChanged:
        return "text of the value read back differs";
    case Fault::beyondBound:
        return "value read back too far from the original";
    case Fault::kindCount:
        break;
    }
    return "?";
}

struct Outcome {
    Fault fault = Fault::none;
    // The text is one of the known slips below; counted apart, not as a fault.
    bool slipsBelowPowerOfTen = false;
    int errorNumber = 0;
    std::string text;
    float parsed = 0.0f;
    std::string back;
};

// The texts that read back as another: each a power of ten whose nearest
// single lies so far below it that 7 digits show that single as 9,999999 of
// the decade below. Nothing better exists: no single is nearer to the text,
// and no 7-digit text nearer to the single. Any other text that reads back
// changed is a fault.
inline constexpr std::array<std::array<std::string_view, 2>, 4> knownSlips{{
    {"1E+28", "9,999999E+27"},
    {"-1E+28", "-9,999999E+27"},
    {"1E-38", "9,999999E-39"},
    {"-1E-38", "-9,999999E-39"},
}};

namespace detail {

// 10^n for the unit of the 7th digit: n = e - 6 with e in [-45, 38].
inline constexpr int smallestPower = -51;
inline constexpr int largestPower = 32;
inline const std::array<double, largestPower - smallestPower + 1> powersOfTen = [] {
    std::array<double, largestPower - smallestPower + 1> powers{};
    for (int n = smallestPower; n <= largestPower; ++n)
        powers[static_cast<std::size_t>(n - smallestPower)] = std::pow(10.0, n);
    return powers;
}();

inline double powerOfTen(int n) {
    n = std::clamp(n, smallestPower, largestPower);
    return powersOfTen[static_cast<std::size_t>(n - smallestPower)];
}

// The decimal exponent of the leading digit of a nonzero text in the window's
// format, read from the text itself rather than from the value.
inline int leadingExponent(std::string_view text) {
    if (!text.empty() && text.front() == '-')
        text.remove_prefix(1);
    const std::size_t letter = text.find('E');
    if (letter != std::string_view::npos) {
        std::string_view exponent = text.substr(letter + 1);
        const bool negative = !exponent.empty() && exponent.front() == '-';
        if (!exponent.empty() && (exponent.front() == '-' || exponent.front() == '+'))
            exponent.remove_prefix(1);
        int value = 0;
        for (char c : exponent)
            value = value * 10 + (c - '0');
        return negative ? -value : value;
    }
    const std::size_t separator = std::min(text.find(','), text.size());
    const std::string_view integerPart = text.substr(0, separator);
    if (integerPart != "0")
        return static_cast<int>(integerPart.size()) - 1;
    const std::string_view fraction = text.substr(std::min(separator + 1, text.size()));
    return -static_cast<int>(std::min(fraction.find_first_not_of('0'), fraction.size())) - 1;
}

// The distance from |value| to the next single away from zero; the largest
// single's next step is 2^128.
inline double gapAbove(float magnitude) {
    if (magnitude == std::numeric_limits<float>::max())
        return std::ldexp(1.0, 104);
    return static_cast<double>(std::nextafter(magnitude, std::numeric_limits<float>::infinity())) -
           static_cast<double>(magnitude);
}

} // namespace detail

// How far the value read back may be from the original x. With u the unit of
// the 7th digit of the text T, |x - T| <= u/2, and the value y read back is the
// single nearest to T, so |y - T| <= |x - T| and |y - T| <= s/2 with s the gap
// between the two singles around T, never more than the gap above the larger
// of |x|, |y|. Hence |y - x| <= min(u, u/2 + s/2). Half a unit alone is not
// enough: x can be 0.45 u above T and y 0.06 u below it. Where singles are
// sparser than u (the denormals), the bound is below one gap, so y must be x.
inline double allowedDistance(float original, float parsed, int textExponent) {
    const double unit = detail::powerOfTen(textExponent - 6);
    const double gap = detail::gapAbove(std::max(std::fabs(original), std::fabs(parsed)));
    // The unit is a rounded power of ten; the other terms are exact.
    return std::min(unit, 0.5 * (unit + gap)) * (1.0 + 1e-9);
}

// Shows a finite single, reads the text back and judges the result. No
// exception leaves it.
inline Outcome check(float original) {
    Outcome outcome;
    try {
        outcome.text = runtime::singleToText(original);
    } catch (const runtime::RuntimeError &error) {
        outcome.fault = Fault::formatRaised;
        outcome.errorNumber = error.number();
        return outcome;
    }
    if (outcome.text.size() > longestText) {
        outcome.fault = Fault::tooLong;
        return outcome;
    }
    try {
        outcome.parsed = runtime::textToSingle(outcome.text);
        outcome.back = runtime::singleToText(outcome.parsed);
    } catch (const runtime::RuntimeError &error) {
        outcome.fault = Fault::parseRaised;
        outcome.errorNumber = error.number();
        return outcome;
    }
    if (original == 0.0f) {
        if (outcome.parsed != 0.0f || outcome.text != "0" || outcome.back != "0")
            outcome.fault = Fault::textChanged;
        return outcome;
    }
    const int exponent = detail::leadingExponent(outcome.text);
    if (outcome.back != outcome.text) {
        const std::array<std::string_view, 2> slip{outcome.text, outcome.back};
        outcome.slipsBelowPowerOfTen =
            std::find(knownSlips.begin(), knownSlips.end(), slip) != knownSlips.end();
        if (!outcome.slipsBelowPowerOfTen) {
            outcome.fault = Fault::textChanged;
            return outcome;
        }
    }
    const double distance =
        std::fabs(static_cast<double>(outcome.parsed) - static_cast<double>(original));
    if (!(distance <= allowedDistance(original, outcome.parsed, exponent)))
        outcome.fault = Fault::beyondBound;
    return outcome;
}

} // namespace roundtrip
