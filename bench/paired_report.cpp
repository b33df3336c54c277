// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/paired_report.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include <unistd.h>

namespace bench {
namespace {

double median(std::vector<double> values) {
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

// Defaults first, so that flags given on the command line win.
std::vector<char *> withDefaultFlags(int argc, char **argv) {
    static char repetitions[] = "--benchmark_repetitions=15";
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    static char minTime[] = "--benchmark_min_time=0.1";
    std::vector<char *> args{argv[0], repetitions, interleave, minTime};
    args.insert(args.end(), argv + 1, argv + argc);
    args.push_back(nullptr);
    return args;
}

std::string formatTime(double nanoseconds) {
    char text[32];
    if (nanoseconds >= 10'000.0)
        std::snprintf(text, sizeof text, "%.2f us", nanoseconds / 1000.0);
    else
        std::snprintf(text, sizeof text, "%.1f ns", nanoseconds);
    return text;
}

} // namespace

MedianReporter::MedianReporter()
    : ConsoleReporter(isatty(fileno(stdout)) != 0 ? OO_ColorTabular : OO_Tabular) {}

void MedianReporter::ReportRuns(const std::vector<Run> &runs) {
    std::vector<Run> shown;
    for (const Run &run : runs) {
        if (run.run_type == Run::RT_Aggregate) {
            if (run.aggregate_name == "median" || run.aggregate_name == "cv")
                shown.push_back(run);
        } else {
            m_runs[run.run_name.function_name].push_back(run);
        }
    }
    if (!shown.empty())
        ConsoleReporter::ReportRuns(shown);
}

double MedianReporter::medianNanoseconds(const std::string &name) const {
    const auto found = m_runs.find(name);
    if (found == m_runs.end())
        return 0.0;
    std::vector<double> perIteration;
    for (const Run &run : found->second)
        if (!run.error_occurred && run.iterations > 0)
            perIteration.push_back(run.cpu_accumulated_time * 1e9 /
                                   static_cast<double>(run.iterations));
    return median(perIteration);
}

double MedianReporter::maxCounter(const std::string &name, const std::string &counter) const {
    const auto found = m_runs.find(name);
    double result = 0.0;
    if (found == m_runs.end())
        return result;
    for (const Run &run : found->second) {
        const auto value = run.counters.find(counter);
        if (value != run.counters.end())
            result = std::max(result, value->second.value);
    }
    return result;
}

int MedianReporter::repetitions(const std::string &name) const {
    const auto found = m_runs.find(name);
    return found == m_runs.end() ? 0 : static_cast<int>(found->second.size());
}

int runAndCompare(int argc, char **argv, const std::vector<Comparison> &comparisons) {
    std::vector<char *> args = withDefaultFlags(argc, argv);
    int count = static_cast<int>(args.size()) - 1;
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 2;

    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    bool allMet = true;
    std::printf("\nSummary: median CPU time per iteration over %d interleaved repetitions\n",
                comparisons.empty() ? 0 : reporter.repetitions(comparisons.front().ours));
    std::printf("%-36s %11s %11s %7s %8s %10s %10s  %s\n", "comparison", "ours", "baseline",
                "ratio", "target", "abs.target", "heap/iter", "met");
    for (const Comparison &c : comparisons) {
        const double ours = reporter.medianNanoseconds(c.ours);
        const double baseline = reporter.medianNanoseconds(c.baseline);
        if (ours == 0.0 || baseline == 0.0)
            continue; // filtered out with --benchmark_filter
        const double ratio = ours / baseline;
        bool met = c.maxRatio <= 0.0 || ratio <= c.maxRatio;
        if (c.maxOursNanoseconds > 0.0)
            met = met && ours <= c.maxOursNanoseconds;
        char heapText[16] = "-";
        if (!c.heapCounter.empty()) {
            const double heap = reporter.maxCounter(c.ours, c.heapCounter);
            std::snprintf(heapText, sizeof heapText, "%.2f", heap);
            if (c.heapMustBeZero)
                met = met && heap == 0.0;
        }
        char ratioTarget[16] = "-";
        if (c.maxRatio > 0.0)
            std::snprintf(ratioTarget, sizeof ratioTarget, "<=%.2f", c.maxRatio);
        const std::string absoluteTarget =
            c.maxOursNanoseconds > 0.0 ? "<" + formatTime(c.maxOursNanoseconds) : "-";
        allMet = allMet && met;
        std::printf("%-36s %11s %11s %7.3f %8s %10s %10s  %s\n", c.title.c_str(),
                    formatTime(ours).c_str(), formatTime(baseline).c_str(), ratio, ratioTarget,
                    absoluteTarget.c_str(), heapText, met ? "yes" : "NO");
    }
    return allMet ? 0 : 1;
}

} // namespace bench
