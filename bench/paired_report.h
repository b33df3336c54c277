// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace bench {

// One line of the closing summary: our code against the baseline that does
// the same job, both measured in this run.
struct Comparison {
    std::string title;
    std::string ours; // benchmark names
    std::string baseline;
    // Target for ours / baseline; 0 when there is none.
    double maxRatio;
    // A target for our median itself, in nanoseconds; 0 when there is none.
    double maxOursNanoseconds = 0.0;
    // The counter holding ours' heap blocks per iteration, shown when set.
    std::string heapCounter = {};
    bool heapMustBeZero = false;
};

// Shows one median line per benchmark instead of every repetition, and keeps
// every repetition for the summary.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    // Colours only on a terminal: the output is also kept in files.
    MedianReporter();
    void ReportRuns(const std::vector<Run> &runs) override;

    // Median CPU time of one iteration over the repetitions, in nanoseconds.
    double medianNanoseconds(const std::string &name) const;
    // The largest per-iteration value a counter took in any repetition.
    double maxCounter(const std::string &name, const std::string &counter) const;
    int repetitions(const std::string &name) const;

private:
    std::map<std::string, std::vector<Run>> m_runs;
};

// Runs every registered benchmark with repetitions interleaved at random, so
// that the machine's slow spells hit ours and the baseline alike, then prints
// the comparisons. Returns 0 when every target is met, 1 otherwise (the
// figures are reported either way; a miss is not a crash).
int runAndCompare(int argc, char **argv, const std::vector<Comparison> &comparisons);

} // namespace bench
