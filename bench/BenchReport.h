#pragma once

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

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

// A row with an absolute limit where no baseline program exists.
inline bool reportLimit(const std::string &name, double seconds, double limitSeconds)
{
    const bool met = seconds <= limitSeconds;
    std::printf("%-44s %9.2f ms | %-28s %9.2f ms | ratio %6.2f (target <= 1.00) %s\n", name.c_str(), seconds * 1e3,
                "limit", limitSeconds * 1e3, seconds / limitSeconds, met ? "MET" : "MISSED");
    return met;
}

} // namespace korvex::bench
