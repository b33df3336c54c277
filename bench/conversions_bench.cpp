// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
// How the window's number conversions compare with the C library's on the
// texts and values a user actually meets: whole degrees, centimetres with a
// decimal comma, the extremes of the single range.
#include "bench/alloc_counter.h"
#include "bench/opaque.h"
#include "runtime/core/conversions.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>

namespace {

// Each text as typed into the window, which labels it, and the same number
// spelled for strtof in the C locale (a point, never a comma).
struct Text {
    std::string_view label;
    const char *forStrtof;
};

constexpr std::array texts{
    Text{"90", "90"},
    Text{"12,5", "12.5"},
    Text{"365", "365"},
    Text{"0,0001", "0.0001"},
    Text{"3,4028235E+38", "3.4028235E+38"},
    Text{"-10", "-10"},
    Text{"1e-30", "1e-30"},
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

// Registers FIGURE/ours/CASE and FIGURE/baseline/CASE for every case, and
// for all of them at once as the case "all"; bench/run.py pairs them by name.
template <typename Case, std::size_t count>
void registerPairs(const std::string &figure, const std::array<Case, count> &cases,
                   void (*ours)(const Case &), void (*baseline)(const Case &)) {
    for (const auto &[side, run] : {std::pair{"/ours/", ours}, std::pair{"/baseline/", baseline}}) {
        const auto registerOne = [&](const std::string &name, auto body) {
            benchmark::RegisterBenchmark(
                (figure + side + name).c_str(),
                [body](benchmark::State &state) { timeAndCount(state, body); });
        };
        registerOne("all", [&cases, run] {
            for (const Case &c : cases)
                run(c);
        });
        for (const Case &c : cases)
            registerOne(std::string(c.label), [&c, run] { run(c); });
    }
}

} // namespace

int main(int argc, char **argv) {
    registerPairs<Text>(
        "textToSingle", texts, [](const Text &t) { ours(t.label); },
        [](const Text &t) { strtofBaseline(t.forStrtof); });
    registerPairs<Value>(
        "singleToText", values, [](const Value &v) { oursToText(v.value); },
        [](const Value &v) { snprintfBaseline(v.value); });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
