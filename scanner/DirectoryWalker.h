#pragma once

#include "scanner/ScanProgress.h"

#include <QString>

#include <atomic>

class WalkPlan;

// Adds up the disk space taken by everything below a folder with the file system's own calls:
// each folder is opened relative to its parent's descriptor and read with a large buffer, and
// each entry costs one stat call relative to its folder. The walk keeps an explicit stack (no
// recursion, so depth is limited only by the disk), holds a bounded number of descriptors open
// however deep the tree goes, and keeps no list of the entries it has seen.
class DirectoryWalker
{
public:
    // Folders held open at once by one thread; deeper ones are closed and reopened on the way up.
    // Fewer when the process's descriptor limit, shared among the threads, leaves less.
    static constexpr int kMaxOpenFolders = 64;

    // threadCount 1 walks on the calling thread only. With more, helper threads join once the
    // tree has proved large (small folders never pay for a thread) and share its subfolders.
    // progress, when set, is told the top-level subfolder being measured, on the calling thread
    // only and at most every few tens of milliseconds; never once per file.
    explicit DirectoryWalker(int threadCount = 1, ScanProgress progress = {});
    // A walk on baseThreads threads that keeps more at work, up to maxThreads, while its threads
    // spend their time waiting (a cold disk, a network mount) rather than on a processor, and
    // goes back to baseThreads when they stop waiting (see WalkPacer).
    static DirectoryWalker paced(int baseThreads, int maxThreads, ScanProgress progress = {});
    // The walk SizeMeter measures folders with: paced, from two threads (one on a single
    // processor) up to kMaxPacedThreads. On a cached tree two threads roughly halve the time of
    // a large walk on a small machine and more add nothing; on a cold disk more threads keep
    // more requests in flight.
    static DirectoryWalker standard(ScanProgress progress = {});
    static constexpr int kMaxPacedThreads = 8;

    // cancelled, when set and true, makes the walk stop soon and return what it had counted.
    void setCancellationFlag(const std::atomic_bool *cancelled) { m_cancelled = cancelled; }
    // plan, when set, is told where every byte lies (see WalkPlan); the walk then also reads
    // each entry's modification time. It must outlive the walk.
    void setPlan(WalkPlan *plan) { m_plan = plan; }
    // measured, when set, is told the bytes of each folder as it is read (what a place the plan
    // knows adds is not told again), so another thread can show how far the walk has come.
    void setMeter(std::atomic<qint64> *measured) { m_measured = measured; }

    // Sum over every entry below folder, at any depth, of its allocated size (blocks x 512), or
    // of its length where the file system reports no allocation. Folders add nothing of their
    // own; a hard link counts once per path. A link at folder itself is followed; links below it
    // count as themselves and are never followed. What cannot be opened or read counts 0 and the
    // walk goes on. 0 when folder is missing or not a folder.
    // *threadsUsed, when given, is told the most threads that walked at once.
    qint64 totalSize(const QString &folder, int *threadsUsed = nullptr) const;

private:
    int m_baseThreads;
    int m_maxThreads;
    ScanProgress m_progress;
    const std::atomic_bool *m_cancelled = nullptr;
    WalkPlan *m_plan = nullptr;
    std::atomic<qint64> *m_measured = nullptr;
};
