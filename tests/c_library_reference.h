// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The C library's own number conversions under the "C" locale: the
// independent reference the window's conversions are checked against. glibc
// rounds both ways correctly, and so does mingw-w64's C library on Windows
// (David Gay's conversions); the "C" locale keeps the process locale out.

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace reference {

#if defined(_WIN32)

// The Windows C run-time passes no locale to a call, but lets a thread keep a
// locale of its own: the calling thread stays in the "C" locale from then on.
inline void useCLocaleInThisThread() {
    thread_local const bool inC = [] {
        _configthreadlocale(_ENABLE_PER_THREAD_LOCALE);
        return std::setlocale(LC_ALL, "C") != nullptr;
    }();
    if (!inC)
        std::abort();
}

// "%.7G" as in the "C" locale.
inline std::string printfC(double value) {
    useCLocaleInThisThread();
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.7G", value);
    return buffer;
}

// strtof as in the "C" locale.
inline float strtofC(const std::string &text) {
    useCLocaleInThisThread();
    return std::strtof(text.c_str(), nullptr);
}

#else

// One per thread: uselocale is per thread, and newlocale is too slow to call
// per value.
inline locale_t cLocale() {
    thread_local const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t{});
    if (locale == locale_t{})
        std::abort();
    return locale;
}

inline void useCLocaleInThisThread() {
    uselocale(cLocale());
}

// "%.7G" in the "C" locale; the thread's locale is left as it was.
inline std::string printfC(double value) {
    char buffer[32];
    const locale_t previous = uselocale(cLocale());
    std::snprintf(buffer, sizeof buffer, "%.7G", value);
    uselocale(previous);
    return buffer;
}

inline float strtofC(const std::string &text) {
    return strtof_l(text.c_str(), nullptr, cLocale());
}

#endif

// "%.7G" with ',' for '.', and "0" for both zeros: what the window shows.
inline std::string printfText(float value) {
    if (value == 0.0f)
        return "0";
    std::string text = printfC(static_cast<double>(value));
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

// strtof on a text with ',' read as '.'.
inline float strtofValue(std::string text) {
    std::replace(text.begin(), text.end(), ',', '.');
    return strtofC(text);
}

// The process in the Italian locale, whose C library would write and read
// ',' itself: glibc's name for it (the setup generates it), then Windows'.
inline bool useItalianLocale() {
    return std::setlocale(LC_ALL, "it_IT.UTF-8") != nullptr ||
           std::setlocale(LC_ALL, "Italian_Italy.1252") != nullptr;
}

} // namespace reference
