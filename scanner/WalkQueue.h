#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <vector>

struct WalkPlace;

// A folder handed from one walking thread to another: open, with its depth below the top and,
// in a planned walk, the place it is and the bucket its bytes go to.
struct WalkTask
{
    int fd = -1;
    int depth = 0;
    const WalkPlace *place = nullptr;
    int bucket = 0;
};

// The folders waiting for a thread of a parallel walk, and the bookkeeping that tells when every
// thread is out of work. Threads are numbered from 0; only those numbered below the active count
// take folders, the others wait parked until the count rises again or the walk ends. Active
// threads that run dry say so through isHungry(), and busy ones then hand over a folder.
class WalkQueue
{
public:
    // Threads that take from the queue, parked ones included.
    void setWorkerCount(int count);
    // Threads numbered below count take folders.
    void setActiveCount(int count);

    bool isHungry() const { return m_hungry.load(std::memory_order_relaxed); }
    void push(WalkTask task);
    // The next folder for thread number worker; nothing once every thread is idle and no folder
    // is left.
    std::optional<WalkTask> take(int worker);

private:
    void updateHungry();

    std::mutex m_mutex;
    std::condition_variable m_wakeUp;
    std::vector<WalkTask> m_tasks;
    int m_workers = 1;
    int m_active = 1;
    int m_idle = 0;
    int m_waitingActive = 0; // idle threads that would take a folder if there were one
    bool m_finished = false;
    std::atomic<bool> m_hungry{false};
};
