#pragma once

// The C library's own number conversions under the "C" locale: the
// independent reference the window's conversions are checked against. glibc
// rounds both ways correctly, and the "C" locale keeps the process locale out.

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace reference {

// One per thread: uselocale is per thread, and newlocale is too slow to call
// per value.
inline locale_t cLocale() {
    thread_local const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t{});
    if (locale == locale_t{})
        std::abort();
    return locale;
}

// "%.7G" with ',' for '.', and "0" for both zeros: what the window shows.
inline std::string printfText(float value) {
    if (value == 0.0f)
        return "0";
    char buffer[32];
    const locale_t previous = uselocale(cLocale());
    std::snprintf(buffer, sizeof buffer, "%.7G", static_cast<double>(value));
    uselocale(previous);
    std::string text = buffer;
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

// strtof on a text with ',' read as '.'.
inline float strtofValue(std::string text) {
    std::replace(text.begin(), text.end(), ',', '.');
    return strtof_l(text.c_str(), nullptr, cLocale());
}

} // namespace reference
