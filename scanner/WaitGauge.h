#pragma once

#include <chrono>

// How one thread's time splits between running on a processor and waiting for something else:
// the disk, a network file system. Where the system keeps per-thread scheduler statistics
// (Linux's /proc/thread-self/schedstat: time on a processor, time queued for one), time spent
// queued for a processor is neither, so a busy machine does not read as a slow disk; elsewhere
// all time off a processor counts as waiting. Belongs to the thread that made it.
class WaitGauge
{
public:
    struct Span
    {
        std::chrono::nanoseconds running{0};
        std::chrono::nanoseconds waited{0};
    };

    WaitGauge();
    ~WaitGauge();
    WaitGauge(const WaitGauge &) = delete;
    WaitGauge &operator=(const WaitGauge &) = delete;

    // Starts a new span now; time before it is never counted.
    void restart();
    // The span since restart() or the last sample, which starts the next one.
    Span sample();

private:
    struct Reading
    {
        std::chrono::nanoseconds wall{0};
        std::chrono::nanoseconds running{0}; // on a processor
        std::chrono::nanoseconds queued{0};  // ready, waiting for a processor
    };
    Reading read() const;

    int m_statsFd = -1;
    Reading m_last;
};
