#pragma once

// The inside of DirectoryWalker: one thread's walk, and the helper threads of a parallel one.

#include "scanner/ScanProgress.h"
#include "scanner/WaitGauge.h"
#include "scanner/WalkPacer.h"
#include "scanner/WalkPlan.h"
#include "scanner/WalkQueue.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace walk {

// What every thread of one walk shares and never changes.
struct Setup
{
    const QString &topPath;
    int maxOpen;
    const std::atomic_bool *cancelled;
    WalkPlan *plan;                // where the bytes go; nothing: only the total counts
    std::atomic<qint64> *measured; // told the bytes of each folder read, when set
};

class HelperPool;

// One thread's depth-first walk. Each folder is read whole before the walk descends: entries
// that are not folders are measured on the spot, subfolder names are kept in the folder's frame
// until the walk goes into them. So memory grows with depth and folder width, never with the
// number of entries in the tree, and one read buffer serves the whole walk.
class Walk
{
public:
    // progress is set for the calling thread's walk only, which is also the one that starts the
    // helpers of pool once the tree proves large.
    Walk(HelperPool *pool, const ScanProgress *progress, const Setup &setup);

    // Walks the folder of task (and closes it); returns what was found below it.
    qint64 run(const WalkTask &task);

private:
    struct Frame
    {
        int fd = -1;
        std::string pending;     // names of subfolders still to walk, each ending in '\0'
        size_t next = 0;         // offset of the next pending name
        size_t nameInParent = 0; // offset of this folder's name in its parent's pending list
        dev_t device = 0;        // identity, recorded when the descriptor is closed early
        ino_t inode = 0;
        // In a planned walk: the place this folder is (if any), its bucket, and what was found
        // in it (and in its finished subfolders of the same bucket) not yet handed on.
        const WalkPlace *place = nullptr;
        int bucket = 0;
        qint64 bytes = 0;
        qint64 newest = 0;
    };

    void readFolder(Frame &frame);
    void measureEntry(Frame &frame, const char *name);
    void count(Frame &frame, const char *name, qint64 size, qint64 modified);
    bool takeKnownFolder(Frame &frame, const char *name);
    void handOn(Frame &frame, Frame *parent);
    void afterFolder();
    int openFolder(size_t frameIndex, const char *name);
    int openAt(int dirFd, const char *name);
    bool closeOldest();
    bool reopen(size_t index, int childFd);
    void donate();
    void reportProgress(const char *name);

    std::unique_ptr<char[]> m_buffer;
    std::vector<Frame> m_frames;
    size_t m_top = 0;
    size_t m_lowestOpen = 1;
    int m_openCount = 0;
    int m_baseDepth = 0;
    int m_foldersRead = 0;
    qint64 m_total = 0;
    HelperPool *m_pool;
    const ScanProgress *m_progress;
    const Setup &m_setup;
    bool m_isCallingThread;
    std::optional<std::chrono::steady_clock::time_point> m_lastReport;
    std::unique_ptr<WaitGauge> m_gauge; // when the pool paces itself
    std::chrono::steady_clock::time_point m_nextSample;
};

// The helper threads of a parallel walk, started late by the calling thread's walk. With a
// pacer, their number follows how much the walking threads wait; helpers above it park.
class HelperPool
{
public:
    HelperPool(int baseThreads, int maxThreads, const Setup &setup);
    ~HelperPool();

    WalkQueue &queue() { return m_queue; }
    bool isStarted() const { return m_started.load(std::memory_order_relaxed); }
    bool paces() const { return m_paces; }
    int peakThreads() const { return m_peakThreads.load(); }

    void start();
    // A span of one thread's walk, for the pacer.
    void report(const WaitGauge::Span &span);
    // Called by the calling thread once its own walk is done: helps until all work is finished,
    // then returns what the helpers found.
    qint64 finish(Walk &walk);

private:
    void setThreads(int count);
    void work(int worker);

    WalkPacer m_pacer;
    const bool m_paces;
    const Setup &m_setup;
    std::atomic<bool> m_started{false};
    WalkQueue m_queue;
    std::mutex m_threadsMutex;
    std::vector<std::thread> m_threads;
    std::atomic<int> m_peakThreads{1};
    std::atomic<qint64> m_helperTotal{0};
};

} // namespace walk
