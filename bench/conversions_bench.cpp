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

std::vector<bench::Comparison> registerAll() {
    std::vector<bench::Comparison> comparisons;
    const auto pair = [&](const std::string &what, const std::string &ours,
                          const std::string &baseline) {
        comparisons.push_back({.title = what,
                               .ours = ours,
                               .baseline = baseline,
                               .maxRatio = 1.0,
                               .heapCounter = "heap",
                               .heapMustBeZero = true});
    };

    benchmark::RegisterBenchmark("textToSingle/all", [](benchmark::State &state) {
        timeAndCount(state, [] {
            for (const Text &t : texts)
                ours(t.ours);
        });
    });
    benchmark::RegisterBenchmark("strtof/all", [](benchmark::State &state) {
        timeAndCount(state, [] {
            for (const Text &t : texts)
                strtofBaseline(t.forStrtof);
        });
    });
    pair("textToSingle vs strtof, all 7 texts", "textToSingle/all", "strtof/all");
    for (const Text &t : texts) {
        const std::string ourName = std::string("textToSingle/") + t.label;
        const std::string baseName = std::string("strtof/") + t.label;
        benchmark::RegisterBenchmark(ourName.c_str(), [&t](benchmark::State &state) {
            timeAndCount(state, [&t] { ours(t.ours); });
        });
        benchmark::RegisterBenchmark(baseName.c_str(), [&t](benchmark::State &state) {
            timeAndCount(state, [&t] { strtofBaseline(t.forStrtof); });
        });
        pair(std::string("  \"") + t.label + "\"", ourName, baseName);
    }

    benchmark::RegisterBenchmark("singleToText/all", [](benchmark::State &state) {
        timeAndCount(state, [] {
            for (const Value &v : values)
                oursToText(v.value);
        });
    });
    benchmark::RegisterBenchmark("snprintf%.7G/all", [](benchmark::State &state) {
        timeAndCount(state, [] {
            for (const Value &v : values)
                snprintfBaseline(v.value);
        });
    });
    pair("singleToText vs %.7G, all 7 values", "singleToText/all", "snprintf%.7G/all");
    for (const Value &v : values) {
        const std::string ourName = std::string("singleToText/") + v.label;
        const std::string baseName = std::string("snprintf%.7G/") + v.label;
        benchmark::RegisterBenchmark(ourName.c_str(), [&v](benchmark::State &state) {
            timeAndCount(state, [&v] { oursToText(v.value); });
        });
        benchmark::RegisterBenchmark(baseName.c_str(), [&v](benchmark::State &state) {
            timeAndCount(state, [&v] { snprintfBaseline(v.value); });
        });
        pair(std::string("  ") + v.label, ourName, baseName);
    }
    return comparisons;
}

} // namespace

int main(int argc, char **argv) {
    const std::vector<bench::Comparison> comparisons = registerAll();
    return bench::runAndCompare(argc, argv, comparisons);
}
