#include "bench/BenchRuns.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdlib>

BenchArguments benchArguments(int argc, char **argv, int defaultCount, int defaultRuns,
                              int leastCount)
{
    return {argc > 1 ? std::max(leastCount, atoi(argv[1])) : defaultCount,
            argc > 2 ? std::max(1, atoi(argv[2])) : defaultRuns};
}

QList<double> medianMilliseconds(int runs, const QList<std::function<void()>> &steps)
{
    QList<QList<double>> times(steps.size());
    for (int run = 0; run <= runs; ++run) {
        for (qsizetype i = 0; i < steps.size(); ++i) {
            QElapsedTimer timer;
            timer.start();
            steps[i]();
            if (run > 0)
                times[i].append(timer.nsecsElapsed() / 1e6);
        }
    }
    QList<double> medians;
    for (QList<double> &values : times) {
        std::sort(values.begin(), values.end());
        medians.append(values.at(values.size() / 2));
    }
    return medians;
}
