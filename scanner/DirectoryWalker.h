#pragma once

#include "scanner/FileScanner.h"

#include <QString>

#include <atomic>

// Adds up the disk space taken by everything below a folder with the file system's own calls:
// each folder is opened relative to its parent's descriptor and read with a large buffer, and
// each entry costs one stat call relative to its folder. The walk keeps an explicit stack (no
// recursion, so depth is limited only by the disk), holds a bounded number of descriptors open
// however deep the tree goes, and keeps no list of the entries it has seen.
class DirectoryWalker
{
public:
    // Folders held open at once by one thread; deeper ones are closed and reopened on the way up.
    static constexpr int kMaxOpenFolders = 64;

    // threadCount 1 walks on the calling thread only. With more, helper threads join once the
    // tree has proved large (small folders never pay for a thread) and share its subfolders.
    // progress, when set, is told the top-level subfolder being measured, on the calling thread
    // only and at most every few tens of milliseconds; never once per file.
    // cancelled, when set and true, makes the walk stop soon and return what it had counted.
    explicit DirectoryWalker(int threadCount = 1, ScanProgress progress = {},
                             const std::atomic_bool *cancelled = nullptr);

    // Sum over every entry below folder, at any depth, of its allocated size (blocks x 512), or
    // of its length where the file system reports no allocation. Folders add nothing of their
    // own; a hard link counts once per path. A link at folder itself is followed; links below it
    // count as themselves and are never followed. What cannot be opened or read counts 0 and the
    // walk goes on. 0 when folder is missing or not a folder.
    qint64 totalSize(const QString &folder) const;

private:
    int m_threadCount;
    ScanProgress m_progress;
    const std::atomic_bool *m_cancelled;
};
