#pragma once

#include <chrono>
#include <mutex>
#include <optional>

// How many threads a size walk keeps at work. A thread that spends a share w of its time waiting
// for the disk (or a network file system) rather than running keeps its processor busy only
// 1 - w of the time, so base / (1 - w) threads keep base processors busy and that many more
// requests in flight. On a cached tree nothing waits and base threads already fill the
// processors. Time queued for a processor counts neither way: a busy machine is no slow disk.
//
// The threads report spans of walking; once the spans add up to a window, the count is decided
// again from the share of that window spent waiting. Safe to use from any thread.
class WalkPacer
{
public:
    // Running and waiting time (all threads together) between two decisions.
    static constexpr std::chrono::milliseconds kWindow{20};

    WalkPacer(int baseThreads, int maxThreads);

    int threads() const;
    // Adds a span of one thread's walk; the new count when the window closes with another one.
    std::optional<int> add(std::chrono::nanoseconds running, std::chrono::nanoseconds waited);

    // The count for a window that spent waitedShare (0 to 1) of its time waiting.
    static int threadsFor(double waitedShare, int baseThreads, int maxThreads);

private:
    const int m_base;
    const int m_max;
    mutable std::mutex m_mutex;
    int m_threads;
    std::chrono::nanoseconds m_running{0};
    std::chrono::nanoseconds m_waited{0};
};
