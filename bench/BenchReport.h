#pragma once

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace korvex::bench {

// Best of n runs, in seconds: the least disturbed run is the fairest figure.
inline double bestOf(int runs, const std::function<void()> &work)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

// Processor time of this process so far, in seconds: on a machine shared
// with other work it varies far less than the wall clock.
inline double processorSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Best of n runs in processor time, in seconds.
inline double bestOfProcessorTime(int runs, const std::function<void()> &work)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        const double start = processorSeconds();
        work();
        best = std::min(best, processorSeconds() - start);
    }
    return best;
}

// Best processor time of each piece of work, in seconds, the pieces taking
// turns round after round: a machine that slows down or speeds up meanwhile
// then weighs on a figure and its baseline alike. Each piece runs once
// untimed first, to warm the caches the same way for all.
inline std::vector<double> bestOfProcessorTimeInTurns(int rounds, const std::vector<std::function<void()>> &works)
{
    std::vector<double> best(works.size(), 1e300);
    for (const auto &work : works)
        work();
    for (int i = 0; i < rounds; ++i)
        for (size_t w = 0; w < works.size(); ++w) {
            const double start = processorSeconds();
            works[w]();
            best[w] = std::min(best[w], processorSeconds() - start);
        }
    return best;
}

// One row of the benchmark table: a figure, its baseline and their ratio.
inline bool reportRatio(const std::string &name, double seconds, const std::string &baseline, double baseSeconds,
                        double maxRatio)
{
    const double ratio = seconds / baseSeconds;
    const bool met = ratio <= maxRatio;
    std::printf("%-44s %9.2f ms | %-28s %9.2f ms | ratio %6.2f (target <= %.2f) %s\n", name.c_str(), seconds * 1e3,
                baseline.c_str(), baseSeconds * 1e3, ratio, maxRatio, met ? "MET" : "MISSED");
    return met;
}

// A row that only informs: a figure against a baseline, no target.
inline void reportInfo(const std::string &name, double seconds, const std::string &baseline, double baseSeconds)
{
    std::printf("%-44s %9.2f ms | %-28s %9.2f ms | ratio %6.2f (no target)\n", name.c_str(), seconds * 1e3,
                baseline.c_str(), baseSeconds * 1e3, seconds / baseSeconds);
}

// A row whose target is at most the baseline plus a margin.
inline bool reportAbove(const std::string &name, double seconds, const std::string &baseline, double baseSeconds,
                        double maxAboveSeconds)
{
    const bool met = seconds - baseSeconds <= maxAboveSeconds;
    std::printf("%-44s %9.2f ms | %-28s %9.2f ms | above %6.0f ms (target <= %.0f ms) %s\n", name.c_str(),
                seconds * 1e3, baseline.c_str(), baseSeconds * 1e3, (seconds - baseSeconds) * 1e3,
                maxAboveSeconds * 1e3, met ? "MET" : "MISSED");
    return met;
}

// A row with an absolute limit where no baseline program exists.
inline bool reportLimit(const std::string &name, double seconds, double limitSeconds)
{
    const bool met = seconds <= limitSeconds;
    std::printf("%-44s %9.2f ms | %-28s %9.2f ms | ratio %6.2f (target <= 1.00) %s\n", name.c_str(), seconds * 1e3,
                "limit", limitSeconds * 1e3, seconds / limitSeconds, met ? "MET" : "MISSED");
    return met;
}

} // namespace korvex::bench
