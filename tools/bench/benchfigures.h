#pragma once

// Timing for the benchmarks: a step is run a few times to warm caches and the
// font engine, then timed over many rounds; the median, 90th percentile and
// best time are printed on one line, in milliseconds.

#include <QElapsedTimer>
#include <QList>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace Lumisong::Bench {

struct Figures
{
    double median;
    double p90;
    double best;
};

// step(i) is called with the round number, 0 upwards.
template <typename Step>
Figures measure(int rounds, Step step)
{
    for (int i = 0; i < 50; ++i)
        step(i);
    std::vector<double> times;
    times.reserve(size_t(rounds));
    QElapsedTimer timer;
    for (int i = 0; i < rounds; ++i) {
        timer.start();
        step(i);
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times[times.size() * 9 / 10], times.front()};
}

// The median of whole runs timed one by one.
inline double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n % 2 ? values.at(n / 2) : (values.at(n / 2 - 1) + values.at(n / 2)) / 2;
}

inline void print(const char *what, const Figures &f)
{
    std::printf("%-46s median %.4f ms   p90 %.4f ms   best %.4f ms\n", what, f.median, f.p90, f.best);
}

} // namespace Lumisong::Bench
