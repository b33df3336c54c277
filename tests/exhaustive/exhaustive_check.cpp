// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
// Shows every finite single the way the window does, reads the text back, and
// checks the round trip (see round_trip_property.h). There are only 2^32 bit
// patterns, so instead of trusting samples this visits them all; --sample N
// visits an evenly spread 1/N of them for a quick run.
//
//   exhaustive_check [--sample N] [--threads N] [--printf]
//
// --printf also compares each text with the C library's "%.7G" in the "C"
// locale, which roughly doubles the time. The exit status is 0 only when no
// value failed.

#include "tests/c_library_reference.h"
#include "tests/exhaustive/round_trip_property.h"
#include "tests/single_bits.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cinttypes>
#include <clocale>
#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace {

using roundtrip::Fault;

constexpr std::uint64_t allPatterns = std::uint64_t{1} << 32;
// Small enough to share the work evenly between threads, large enough that
// taking the next block costs nothing.
constexpr std::uint64_t blockSize = std::uint64_t{1} << 20;
// Odd, so multiplying by it permutes the 32-bit patterns: a sample of the
// first 2^32/N products is spread over signs, exponents and mantissas alike.
constexpr std::uint32_t spreadFactor = 0x9E3779B1u;
constexpr std::size_t examplesKept = 5;
constexpr int faultKinds = static_cast<int>(Fault::kindCount);
constexpr int printfMismatch = faultKinds; // counted next to the round-trip faults
constexpr int slipKind = faultKinds + 1;
constexpr int tallyKinds = faultKinds + 2;

// The allowed slips are few and all worth seeing; the faults need only a few.
std::size_t keptFor(int kind) {
    return kind == slipKind ? 16 : examplesKept;
}

struct Options {
    std::uint64_t sample = 1;
    unsigned threads = 0;
    bool comparePrintf = false;
};

struct Example {
    std::uint32_t bits = 0;
    roundtrip::Outcome outcome;
    std::string printfText;
};

struct Tally {
    std::uint64_t checked = 0;
    std::uint64_t skipped = 0; // infinities and NaNs
    std::array<std::uint64_t, tallyKinds> counts{};
    std::array<std::vector<Example>, tallyKinds> examples;

    void note(int kind, Example example) {
        ++counts[static_cast<std::size_t>(kind)];
        auto &kept = examples[static_cast<std::size_t>(kind)];
        if (kept.size() < keptFor(kind))
            kept.push_back(std::move(example));
    }
    void add(Tally &other) {
        checked += other.checked;
        skipped += other.skipped;
        for (std::size_t kind = 0; kind < counts.size(); ++kind) {
            counts[kind] += other.counts[kind];
            for (auto &example : other.examples[kind])
                if (examples[kind].size() < keptFor(static_cast<int>(kind)))
                    examples[kind].push_back(std::move(example));
        }
    }
};

const char *kindName(int kind) {
    if (kind == printfMismatch)
        return "text differs from the C library's %.7G";
    if (kind == slipKind)
        return "power of ten read back as 9,999999 of the decade below (allowed)";
    return roundtrip::faultName(static_cast<Fault>(kind));
}

void checkBlock(std::uint64_t begin, std::uint64_t end, const Options &options, Tally &tally) {
    for (std::uint64_t index = begin; index < end; ++index) {
        const std::uint32_t bits = options.sample == 1
                                       ? static_cast<std::uint32_t>(index)
                                       : static_cast<std::uint32_t>(index) * spreadFactor;
        const float value = singles::fromBits(bits);
        if (!std::isfinite(value)) {
            ++tally.skipped;
            continue;
        }
        ++tally.checked;
        roundtrip::Outcome outcome = roundtrip::check(value);
        std::string expected;
        const bool printfDiffers = options.comparePrintf && outcome.fault != Fault::formatRaised &&
                                   (expected = reference::printfText(value)) != outcome.text;
        if (outcome.fault == Fault::none && !outcome.slipsBelowPowerOfTen && !printfDiffers)
            continue;
        if (printfDiffers)
            tally.note(printfMismatch, Example{bits, outcome, expected});
        if (outcome.slipsBelowPowerOfTen)
            tally.note(slipKind, Example{bits, outcome, {}});
        if (outcome.fault != Fault::none)
            tally.note(static_cast<int>(outcome.fault), Example{bits, std::move(outcome), {}});
    }
}

bool parseCount(const char *text, std::uint64_t &count) {
    char *end = nullptr;
    const unsigned long long value = std::strtoull(text, &end, 10);
    if (end == text || *end != '\0' || value == 0)
        return false;
    count = value;
    return true;
}

bool parseOptions(int argc, char **argv, Options &options) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        std::uint64_t count = 0;
        if (argument == "--sample" && i + 1 < argc && parseCount(argv[++i], count) &&
            count <= allPatterns)
            options.sample = count;
        else if (argument == "--threads" && i + 1 < argc && parseCount(argv[++i], count) &&
                 count <= 256)
            options.threads = static_cast<unsigned>(count);
        else if (argument == "--printf")
            options.comparePrintf = true;
        else
            return false;
    }
    return true;
}

void printExample(const Example &example) {
    const roundtrip::Outcome &o = example.outcome;
    std::printf("    bits 0x%08" PRIx32 " = %.9g: text \"%s\"", example.bits,
                static_cast<double>(singles::fromBits(example.bits)), o.text.c_str());
    if (o.errorNumber != 0)
        std::printf(", raised error %d", o.errorNumber);
    else if (o.fault != Fault::formatRaised && o.fault != Fault::tooLong)
        std::printf(", read back %.9g (bits 0x%08" PRIx32 ") shown \"%s\"",
                    static_cast<double>(o.parsed), singles::bitsOf(o.parsed), o.back.c_str());
    if (!example.printfText.empty())
        std::printf(", %%.7G gives \"%s\"", example.printfText.c_str());
    std::printf("\n");
}

} // namespace

int main(int argc, char **argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: %s [--sample N] [--threads N] [--printf]\n", argv[0]);
        return 2;
    }
    // The conversions must not depend on the process locale: run them under
    // the Italian one when it exists, and keep the reference printf in "C".
    reference::useItalianLocale();
    // This report, though, is read by developers and scripts.
    reference::useCLocaleInThisThread();
    if (options.threads == 0)
        options.threads = std::max(1u, std::thread::hardware_concurrency());

    const std::uint64_t total = allPatterns / options.sample;
    const std::uint64_t blocks = (total + blockSize - 1) / blockSize;
    std::atomic<std::uint64_t> nextBlock{0};
    std::atomic<std::uint64_t> blocksDone{0};
    std::mutex mutex;
    std::condition_variable finished;
    unsigned running = options.threads;
    Tally overall;

    std::printf("checking %" PRIu64 " of 2^32 bit patterns on %u threads%s\n", total,
                options.threads, options.comparePrintf ? ", comparing with %.7G" : "");
    std::fflush(stdout);
    const auto start = std::chrono::steady_clock::now();

    const auto work = [&] {
        Tally tally;
        for (std::uint64_t block; (block = nextBlock.fetch_add(1)) < blocks;) {
            checkBlock(block * blockSize, std::min(total, (block + 1) * blockSize), options, tally);
            blocksDone.fetch_add(1);
        }
        std::lock_guard lock(mutex);
        overall.add(tally);
        --running;
        finished.notify_one();
    };

    // One thread's work is done on this one, so that the check also runs
    // where the C library starts no threads (the browser build, under Node).
    std::vector<std::thread> workers;
    if (options.threads == 1)
        work();
    else
        for (unsigned t = 0; t < options.threads; ++t)
            workers.emplace_back(work);

    // Progress for a run left in the background, one line a minute.
    {
        std::unique_lock lock(mutex);
        while (!finished.wait_for(lock, std::chrono::minutes(1), [&] { return running == 0; })) {
            const double elapsed =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            std::printf("  %5.1f%% after %.0f s\n",
                        100.0 * static_cast<double>(blocksDone.load()) /
                            static_cast<double>(blocks),
                        elapsed);
            std::fflush(stdout);
        }
    }
    for (auto &worker : workers)
        worker.join();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    std::uint64_t failures = 0;
    for (int kind = 0; kind < tallyKinds; ++kind) {
        const std::uint64_t count = overall.counts[static_cast<std::size_t>(kind)];
        if (kind == static_cast<int>(Fault::none) || count == 0)
            continue;
        if (kind != slipKind)
            failures += count;
        std::printf("%s: %" PRIu64 "\n", kindName(kind), count);
        for (const Example &example : overall.examples[static_cast<std::size_t>(kind)])
            printExample(example);
    }
    std::printf("checked %" PRIu64 " finite values (%" PRIu64 " infinities and NaNs skipped): "
                "%" PRIu64 " failed, in %.1f s\n",
                overall.checked, overall.skipped, failures, seconds);
    return failures == 0 ? 0 : 1;
}
