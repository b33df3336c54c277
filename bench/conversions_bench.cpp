// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
// How the window's number conversions compare with the C library's on the
// texts and values a user actually meets: whole degrees, centimetres with a
// decimal comma, the extremes of the single range.
#include "bench/alloc_counter.h"
#include "bench/opaque.h"
#include "bench/paired_report.h"
#include "runtime/core/conversions.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Each text as typed into the window, and the same number spelled for strtof
// in the C locale (a point, never a comma).
struct Text {
    const char *label;
    std::string_view ours;
    const char *forStrtof;
};

constexpr std::array texts{
    Text{"90", "90", "90"},
    Text{"12,5", "12,5", "12.5"},
    Text{"365", "365", "365"},
    Text{"0,0001", "0,0001", "0.0001"},
    Text{"3,4028235E+38", "3,4028235E+38", "3.4028235E+38"},
    Text{"-10", "-10", "-10"},
    Text{"1e-30", "1e-30", "1e-30"},
};

// Results the window shows: twists of typical barrels, a negative twist, the
// smallest value written without an exponent and one with it at each end of
// the single range.
struct Value {
    const char *label;
    float value;
};

constexpr std::array values{
    Value{"40", 40.0f},     Value{"668,5714", 668.5714f}, Value{"11,83562", 11.83562f},
    Value{"-180", -180.0f}, Value{"0,0001", 0.0001f},     Value{"3,402823E+38", 3.4028235e38f},
    Value{"1E-30", 1e-30f},
};

// Every figure comes with the heap blocks one call takes, measured outside the
// timed loop so that counting costs nothing there.
template <typename Body> void timeAndCount(benchmark::State &state, Body body) {
    body();
    state.counters["heap"] = bench::allocationsPerCall(body, 64);
    state.counters["new"] = bench::allocationsPerCall(body, 64, true);
    for (auto _ : state)
        body();
}

float ours(std::string_view text) {
    const float value = runtime::textToSingle(bench::opaque(text));
    bench::keep(value);
    return value;
}

float strtofBaseline(const char *text) {
    const float value = std::strtof(bench::opaque(text), nullptr);
    bench::keep(value);
    return value;
}

void oursToText(float value) {
    const std::string text = runtime::singleToText(bench::opaque(value));
    bench::keepMemory(text.data());
}

void snprintfBaseline(float value) {
    char text[32];
    const int length =
        std::snprintf(text, sizeof text, "%.7G", static_cast<double>(bench::opaque(value)));
    bench::keep(length);
    bench::keepMemory(text);
}

// Registers our conversion and its baseline on all cases at once and on each
// case alone, and pairs them for the summary.
template <typename Case, std::size_t count, typename Ours, typename Baseline>
void registerPairs(std::vector<bench::Comparison> &comparisons,
                   const std::array<Case, count> &cases, const std::string &oursName,
                   const std::string &baselineName, const std::string &allTitle, Ours runOurs,
                   Baseline runBaseline) {
    const auto pair = [&](const std::string &title, const std::string &oursBenchmark,
                          const std::string &baselineBenchmark) {
        comparisons.push_back({.title = title,
                               .ours = oursBenchmark,
                               .baseline = baselineBenchmark,
                               .maxRatio = 1.0,
                               .heapCounter = "heap",
                               .heapMustBeZero = true});
    };
    const auto registerOne = [](const std::string &name, auto body) {
        benchmark::RegisterBenchmark(
            name.c_str(), [body](benchmark::State &state) { timeAndCount(state, body); });
    };

    registerOne(oursName + "/all", [&cases, runOurs] {
        for (const Case &c : cases)
            runOurs(c);
    });
    registerOne(baselineName + "/all", [&cases, runBaseline] {
        for (const Case &c : cases)
            runBaseline(c);
    });
    pair(allTitle, oursName + "/all", baselineName + "/all");
    for (const Case &c : cases) {
        registerOne(oursName + "/" + c.label, [&c, runOurs] { runOurs(c); });
        registerOne(baselineName + "/" + c.label, [&c, runBaseline] { runBaseline(c); });
        pair(std::string("  ") + c.label, oursName + "/" + c.label, baselineName + "/" + c.label);
    }
}

std::vector<bench::Comparison> registerAll() {
    std::vector<bench::Comparison> comparisons;
    registerPairs(
        comparisons, texts, "textToSingle", "strtof", "textToSingle vs strtof, all 7 texts",
        [](const Text &t) { ours(t.ours); }, [](const Text &t) { strtofBaseline(t.forStrtof); });
    registerPairs(
        comparisons, values, "singleToText", "snprintf%.7G", "singleToText vs %.7G, all 7 values",
        [](const Value &v) { oursToText(v.value); },
        [](const Value &v) { snprintfBaseline(v.value); });
    return comparisons;
}

} // namespace

int main(int argc, char **argv) {
    const std::vector<bench::Comparison> comparisons = registerAll();
    return bench::runAndCompare(argc, argv, comparisons);
}
