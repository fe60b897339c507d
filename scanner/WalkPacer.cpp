#include "scanner/WalkPacer.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kNoiseShare = 0.3;
}

WalkPacer::WalkPacer(int baseThreads, int maxThreads)
    : m_base(std::max(1, baseThreads)), m_max(std::max(m_base, maxThreads)), m_threads(m_base)
{}

int WalkPacer::threads() const
{
    std::lock_guard lock(m_mutex);
    return m_threads;
}

std::optional<int> WalkPacer::add(std::chrono::nanoseconds running, std::chrono::nanoseconds waited)
{
    std::lock_guard lock(m_mutex);
    m_running += running;
    m_waited += waited;
    const std::chrono::nanoseconds window = m_running + m_waited;
    if (window < kWindow)
        return std::nullopt;
    const double share = double(m_waited.count()) / double(window.count());
    m_running = m_waited = std::chrono::nanoseconds(0);
    const int threads = threadsFor(share, m_base, m_max);
    if (threads == m_threads)
        return std::nullopt;
    m_threads = threads;
    return threads;
}

int WalkPacer::threadsFor(double waitedShare, int baseThreads, int maxThreads)
{
    // Some waiting is noise even on a cached tree (locks, interrupts, a virtual machine's host
    // taking its processor away for a moment): up to a fifth or more of a window on a busy
    // machine. A thread more pays for itself only past that.
    if (waitedShare < kNoiseShare)
        return baseThreads;
    const double busyShare = 1.0 - std::min(waitedShare, 1.0);
    if (busyShare * maxThreads <= baseThreads)
        return maxThreads;
    return std::clamp(int(std::ceil(baseThreads / busyShare - 1e-9)), baseThreads, maxThreads);
}
