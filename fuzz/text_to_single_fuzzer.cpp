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

CharClass classify(unsigned char c) {
    switch (c) {
    case ' ':
    case '\t':
        return blank;
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
        return c >= '0' && c <= '9' ? digit : otherChar;
    }
}

bool accepted(std::string_view text) {
    State state = leadingBlanks;
    for (char c : text)
        state = transitions[state][classify(static_cast<unsigned char>(c))];
    return state == integerDigits || state == fractionDigits || state == exponentDigits ||
           state == trailingBlanks;
}

// A second, cruder look at an accepted text: only the characters of a number,
// one separator, one exponent letter, some digit before any exponent letter.
void checkAcceptedShape(std::string_view text) {
    const auto count = [&](std::string_view set) {
        return std::count_if(text.begin(), text.end(),
                             [&](char c) { return set.find(c) != std::string_view::npos; });
    };
    if (count("0123456789+-,.eE \t") != static_cast<std::ptrdiff_t>(text.size()))
        violated("accepted a text with a character no number has", text);
    if (count(",.") > 1)
        violated("accepted a text with two separators", text);
    if (count("eE") > 1)
        violated("accepted a text with two exponent letters", text);
    if (count("+-") > 2)
        violated("accepted a text with more than two signs", text);
    const std::string_view mantissa = text.substr(0, text.find_first_of("eE"));
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
    const auto blankAt = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blankAt(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blankAt(text.back()))
        text.remove_suffix(1);
    std::string spelling(text);
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
