#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <thread>
#include <vector>

// Runs work(i, onCallingThread) for every i below count on a few threads, the calling thread
// among them, each taking the next index as it finishes one; returns when all are done. Helpers
// are started only when there are at least perHelper items for each, so small counts stay on the
// calling thread. For many short, independent reads and walks of the disk, which spend much of
// their time waiting for it (a cold disk, a network home): a few more threads than processors
// keep more requests in flight; past a few they only queue for the same disk.
template <typename Work> void forEachOnSmallPool(size_t count, size_t perHelper, const Work &work)
{
    constexpr int kMaxThreads = 4;
    std::atomic<size_t> next{0};
    const auto take = [&](bool onCallingThread) {
        for (size_t i = next++; i < count; i = next++)
            work(i, onCallingThread);
    };
    const size_t helpers = std::min<size_t>(kMaxThreads - 1, count / perHelper);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < helpers; ++i)
        threads.emplace_back(take, false);
    take(true);
    for (std::thread &thread : threads)
        thread.join();
}
