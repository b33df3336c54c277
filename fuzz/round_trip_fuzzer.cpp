// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
// Takes the first 4 bytes as a single's bit pattern, shows it as the window
// does and reads the text back: the same rule as the exhaustive check, plus
// two references the check leaves out for speed. The text must be the C
// library's "%.7G" and the value read back must be strtof's.

#include "runtime/core/conversions.h"
#include "tests/c_library_reference.h"
#include "tests/exhaustive/round_trip_property.h"

#include <algorithm>
#include <bit>
#include <clocale>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <string>

namespace {

[[noreturn]] void violated(const char *property, float value, const roundtrip::Outcome &outcome) {
    uselocale(reference::cLocale()); // the report is for developers, whatever the process locale
    std::fprintf(stderr,
                 "\nproperty violated: %s\nvalue %.9g (bits 0x%08x): text \"%s\", read back %.9g "
                 "(bits 0x%08x) shown \"%s\", error %d\n",
                 property, static_cast<double>(value), std::bit_cast<std::uint32_t>(value),
                 outcome.text.c_str(), static_cast<double>(outcome.parsed),
                 std::bit_cast<std::uint32_t>(outcome.parsed), outcome.back.c_str(),
                 outcome.errorNumber);
    __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    // The conversions must read and write the same under the Italian locale
    // of their users.
    std::setlocale(LC_ALL, "it_IT.UTF-8");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, data, std::min(size, sizeof bits));
    const float value = std::bit_cast<float>(bits);
    if (!std::isfinite(value))
        return 0;

    const roundtrip::Outcome outcome = roundtrip::check(value);
    if (outcome.fault != roundtrip::Fault::none)
        violated(roundtrip::faultName(outcome.fault), value, outcome);
    if (outcome.text != reference::printfText(value))
        violated("text differs from the C library's %.7G", value, outcome);
    if (std::bit_cast<std::uint32_t>(outcome.parsed) !=
        std::bit_cast<std::uint32_t>(reference::strtofValue(outcome.text)))
        violated("value read back differs from strtof's", value, outcome);
    return 0;
}
