// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to textToSingle as if typed in a field. It must either
// return the correctly rounded single or raise a type mismatch (13) or an
// overflow (6); whether it accepts is judged by a recogniser written apart
// from the program's, and the value by the C library's strtof in the "C"
// locale. Any disagreement, other exception or crash stops the fuzzer.

#include "runtime/core/conversions.h"
#include "runtime/core/errors.h"
#include "tests/c_library_reference.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
#include <string>
#include <string_view>

namespace {

[[noreturn]] void violated(const char *property, std::string_view text) {
    uselocale(reference::cLocale()); // the report is for developers, whatever the process locale
    std::fprintf(stderr, "\nproperty violated: %s\ninput (%zu bytes):", property, text.size());
    for (char c : text)
        std::fprintf(stderr, " %02x", static_cast<unsigned char>(c));
    std::fprintf(stderr, "\n");
    __builtin_trap();
}

// The accepted texts as an automaton over character classes, so that it
// shares no code, and no structure, with the program's parser.
enum CharClass { blank, sign, digit, separator, exponentLetter, otherChar, classCount };
enum State {
    leadingBlanks,
    afterSign,
    integerDigits,
    bareSeparator, // separator with no digit before it: a digit must follow
    fractionDigits,
    afterLetter,
    afterExponentSign,
    exponentDigits,
    trailingBlanks,
    rejected,
    stateCount
};

// One row per state; columns: blank, sign, digit, separator, exponent letter, other.
constexpr State transitions[stateCount][classCount] = {
    {leadingBlanks, afterSign, integerDigits, bareSeparator, rejected, rejected}, // leadingBlanks
    {rejected, rejected, integerDigits, bareSeparator, rejected, rejected},       // afterSign
    {trailingBlanks, rejected, integerDigits, fractionDigits, afterLetter, rejected}, // integer
    {rejected, rejected, fractionDigits, rejected, rejected, rejected},          // bareSeparator
    {trailingBlanks, rejected, fractionDigits, rejected, afterLetter, rejected}, // fraction
    {rejected, afterExponentSign, exponentDigits, rejected, rejected, rejected}, // afterLetter
    {rejected, rejected, exponentDigits, rejected, rejected, rejected},       // afterExponentSign
    {trailingBlanks, rejected, exponentDigits, rejected, rejected, rejected}, // exponentDigits
    {trailingBlanks, rejected, rejected, rejected, rejected, rejected},       // trailingBlanks
    {rejected, rejected, rejected, rejected, rejected, rejected},             // rejected
};

// One character of UTF-8 text: its code point, or none where the bytes are no
// valid UTF-8 (a stray or missing continuation byte, an overlong or surrogate
// spelling), and how many bytes it took.
struct Character {
    char32_t codePoint;
    bool valid;
    std::size_t length;
};

Character decode(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return {lead, true, 1};
    const std::size_t length = lead >= 0xf0 ? 4 : lead >= 0xe0 ? 3 : lead >= 0xc0 ? 2 : 1;
    if (length == 1 || lead >= 0xf8 || length > text.size())
        return {0, false, 1};
    char32_t codePoint = lead & (0x7f >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xc0) != 0x80)
            return {0, false, 1};
        codePoint = (codePoint << 6) | (byte(i) & 0x3f);
    }
    constexpr char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (codePoint < smallest[length] || codePoint > 0x10ffff ||
        (codePoint >= 0xd800 && codePoint <= 0xdfff))
        return {0, false, 1};
    return {codePoint, true, length};
}

// Unicode's White_Space characters and the zero-width spaces, by code point.
bool isBlank(Character c) {
    if (!c.valid)
        return false;
    const char32_t p = c.codePoint;
    return p == 0x20 || (p >= 0x09 && p <= 0x0d) || p == 0x85 || p == 0xa0 || p == 0x1680 ||
           (p >= 0x2000 && p <= 0x200b) || p == 0x2028 || p == 0x2029 || p == 0x202f ||
           p == 0x205f || p == 0x2060 || p == 0x3000 || p == 0xfeff;
}

CharClass classify(Character c) {
    if (isBlank(c))
        return blank;
    if (!c.valid)
        return otherChar;
    switch (c.codePoint) {
    case '+':
    case '-':
        return sign;
    case ',':
    case '.':
        return separator;
    case 'e':
    case 'E':
        return exponentLetter;
    default:
        return c.codePoint >= '0' && c.codePoint <= '9' ? digit : otherChar;
    }
}

bool accepted(std::string_view text) {
    State state = leadingBlanks;
    for (std::size_t at = 0; at < text.size();) {
        const Character c = decode(text.substr(at));
        state = transitions[state][classify(c)];
        at += c.length;
    }
    return state == integerDigits || state == fractionDigits || state == exponentDigits ||
           state == trailingBlanks;
}

// The text without the blanks before and after it.
std::string_view withoutBlanks(std::string_view text) {
    while (!text.empty() && isBlank(decode(text)))
        text.remove_prefix(decode(text).length);
    // A character ends where the next starts: find the last one from the front.
    std::size_t end = 0;
    for (std::size_t at = 0; at < text.size();) {
        const Character c = decode(text.substr(at));
        at += c.length;
        if (!isBlank(c))
            end = at;
    }
    return text.substr(0, end);
}

// A second, cruder look at an accepted text: within its blanks, only the
// characters of a number, one separator, one exponent letter, some digit
// before any exponent letter.
void checkAcceptedShape(std::string_view text) {
    const std::string_view number = withoutBlanks(text);
    const auto count = [&](std::string_view set) {
        return std::count_if(number.begin(), number.end(),
                             [&](char c) { return set.find(c) != std::string_view::npos; });
    };
    if (count("0123456789+-,.eE") != static_cast<std::ptrdiff_t>(number.size()))
        violated("accepted a text with a character no number has", text);
    if (count(",.") > 1)
        violated("accepted a text with two separators", text);
    if (count("eE") > 1)
        violated("accepted a text with two exponent letters", text);
    if (count("+-") > 2)
        violated("accepted a text with more than two signs", text);
    const std::string_view mantissa = number.substr(0, number.find_first_of("eE"));
    if (mantissa.find_first_of("0123456789") == std::string_view::npos)
        violated("accepted a text without a digit before the exponent", text);
}

struct Reference {
    bool overflows = false;
    float value = 0.0f;
};

// strtof in the "C" locale on the same number with '.' for ',' and no blanks:
// glibc rounds correctly, so this is the value the program must give.
Reference referenceValue(std::string_view text) {
    std::string spelling(withoutBlanks(text));
    std::replace(spelling.begin(), spelling.end(), ',', '.');
    char *end = nullptr;
    errno = 0;
    const float value = strtof_l(spelling.c_str(), &end, reference::cLocale());
    if (end != spelling.c_str() + spelling.size())
        violated("strtof did not read the whole of an accepted text", text);
    Reference reference;
    reference.overflows = std::isinf(value);
    if (reference.overflows && errno != ERANGE)
        violated("strtof gave an infinity without ERANGE", text);
    reference.value = value;
    return reference;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    // The program must read numbers the same under the Italian locale its
    // users have; when the machine has it, run under it.
    std::setlocale(LC_ALL, "it_IT.UTF-8");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const bool valid = accepted(text);

    float value = 0.0f;
    int errorNumber = 0;
    try {
        value = runtime::textToSingle(text);
    } catch (const runtime::RuntimeError &error) {
        errorNumber = error.number();
    } catch (...) {
        violated("textToSingle threw something other than a RuntimeError", text);
    }

    if (!valid) {
        if (errorNumber != static_cast<int>(runtime::ErrorCode::typeMismatch))
            violated(errorNumber == 0 ? "accepted a text that is not a number"
                                      : "rejected a non-number with an error other than 13",
                     text);
        return 0;
    }
    checkAcceptedShape(text);
    const Reference reference = referenceValue(text);
    if (reference.overflows) {
        if (errorNumber != static_cast<int>(runtime::ErrorCode::overflow))
            violated("a number beyond the single range did not raise overflow (6)", text);
        return 0;
    }
    if (errorNumber != 0)
        violated("a number within the single range raised an error", text);
    // Bit-exact: the sign of a zero and every denormal count.
    if (std::bit_cast<std::uint32_t>(value) != std::bit_cast<std::uint32_t>(reference.value)) {
        uselocale(reference::cLocale());
        std::fprintf(stderr, "\ngot %a (0x%08x), strtof gives %a (0x%08x)\n",
                     static_cast<double>(value), std::bit_cast<std::uint32_t>(value),
                     static_cast<double>(reference.value),
                     std::bit_cast<std::uint32_t>(reference.value));
        violated("value differs from the correctly rounded one", text);
    }
    return 0;
}
