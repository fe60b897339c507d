#pragma once

#include <QList>

#include <functional>

// What the benchmark programs share: their command line and how they time what they compare.

// "[count] [runs]": how many entries each place or folder holds, and how many timed runs.
struct BenchArguments
{
    int count;
    int runs;
};
BenchArguments benchArguments(int argc, char **argv, int defaultCount, int defaultRuns,
                              int leastCount = 1);

// Times each step once per run, the steps interleaved so that a load coming and going on the
// machine falls on all of them alike; one first run warms the caches and is not counted. The
// median milliseconds of each step, in the steps' order.
QList<double> medianMilliseconds(int runs, const QList<std::function<void()>> &steps);
