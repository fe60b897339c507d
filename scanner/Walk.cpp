// One thread's part of a size walk (see WalkThreads.h).
#include "scanner/WalkThreads.h"

#include "scanner/platform/FolderListing.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

// Entries read per getdents call; large enough that most folders take one call.
constexpr size_t kReadBufferSize = 64 * 1024;
// Folders the calling thread walks alone before helper threads are started, unless the walk
// has lasted a sample interval before.
constexpr int kFoldersBeforeHelpers = 128;
constexpr auto kProgressInterval = std::chrono::milliseconds(50);
// Tries at opening a folder while the process is out of descriptors, and the pause between two.
constexpr int kOpenAttempts = 2000;
constexpr auto kOpenRetryPause = std::chrono::microseconds(100);
// How often a walking thread tells the pacer how much it waited.
constexpr auto kSampleInterval = std::chrono::milliseconds(5);

// O_NOFOLLOW: a folder replaced by a link between listing and opening is not followed.
// O_NONBLOCK: opening something that turned into a FIFO must not hang the walk.
constexpr int kOpenFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK;

} // namespace

namespace walk {

Walk::Walk(HelperPool *pool, const ScanProgress *progress, const Setup &setup)
    : m_buffer(new char[kReadBufferSize]), m_pool(pool), m_progress(progress), m_setup(setup),
      m_isCallingThread(progress != nullptr)
{
    if (pool && pool->paces())
        m_gauge = std::make_unique<WaitGauge>();
}

qint64 Walk::run(const WalkTask &task)
{
    m_total = 0;
    m_baseDepth = task.depth;
    if (m_frames.empty())
        m_frames.resize(16);
    m_top = 0;
    m_lowestOpen = 1;
    m_openCount = 1;
    if (m_gauge) {
        m_gauge->restart(); // time spent waiting for this folder in the queue is not walking
        m_nextSample = std::chrono::steady_clock::now() + kSampleInterval;
    }
    {
        Frame &root = m_frames[0];
        root.fd = task.fd;
        root.pending.clear();
        root.next = 0;
        root.place = task.place;
        root.bucket = task.bucket;
        root.bytes = root.newest = 0;
        readFolder(root);
    }

    const std::atomic_bool *cancelled = m_setup.cancelled;
    for (;;) {
        Frame &frame = m_frames[m_top];
        // Cancelled: walk no further down; the way back up closes what is open.
        if (cancelled && cancelled->load(std::memory_order_relaxed))
            frame.next = frame.pending.size();
        if (frame.next < frame.pending.size()) {
            const size_t nameAt = frame.next;
            const char *name = frame.pending.data() + nameAt;
            frame.next += std::strlen(name) + 1;
            if (frame.place && takeKnownFolder(frame, name))
                continue;
            if (frame.fd < 0)
                continue; // lost on the way back up: its remaining subfolders count 0
            const int child = openFolder(m_top, name);
            if (child < 0)
                continue; // unreadable or gone: counts 0
            if (m_baseDepth + m_top == 0 && m_progress && *m_progress)
                reportProgress(name);
            WalkPlan::Entry entry{nullptr, frame.bucket};
            if (frame.place)
                entry = m_setup.plan->enterFolder(*frame.place, frame.bucket, name);
            if (++m_top == m_frames.size())
                m_frames.resize(m_frames.size() * 2);
            Frame &next = m_frames[m_top];
            next.fd = child;
            next.pending.clear();
            next.next = 0;
            next.nameInParent = nameAt;
            next.place = entry.place;
            next.bucket = entry.bucket;
            next.bytes = next.newest = 0;
            if (++m_openCount > m_setup.maxOpen)
                closeOldest();
            readFolder(next);
            continue;
        }

        // This folder is done: go back up to its parent, opened again if it was closed on the way
        // down (even with nothing left to walk, so that its own parent can be reached through it).
        if (m_top == 0) {
            handOn(frame, nullptr);
            if (frame.fd >= 0)
                ::close(frame.fd);
            frame.fd = -1;
            break;
        }
        Frame &parent = m_frames[m_top - 1];
        handOn(frame, &parent);
        if (parent.fd < 0 && m_top - 1 > 0) {
            if (reopen(m_top - 1, frame.fd))
                ++m_openCount;
            else
                parent.next = parent.pending.size();
        }
        if (frame.fd >= 0) {
            ::close(frame.fd);
            --m_openCount;
        }
        frame.fd = -1;
        --m_top;
        if (m_lowestOpen > m_top)
            m_lowestOpen = std::max<size_t>(1, m_top);
    }
    return m_total;
}

void Walk::readFolder(Frame &frame)
{
    const qint64 before = m_total;
    platform::listFolder(frame.fd, m_buffer.get(), kReadBufferSize,
                         [&](const char *name, bool isFolder) {
                             if (isFolder) // a folder adds nothing of its own: no need to stat it
                                 frame.pending.append(name, std::strlen(name) + 1);
                             else
                                 measureEntry(frame, name);
                         });
    if (m_setup.measured)
        m_setup.measured->fetch_add(m_total - before, std::memory_order_relaxed);
    ++m_foldersRead;
    if (m_pool)
        afterFolder();
}

// Between two folders: tell the pacer how much this thread waited, start the helpers once the
// walk proves large, hand a folder to a thread that ran dry.
void Walk::afterFolder()
{
    bool sampled = false;
    if (m_gauge) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= m_nextSample) {
            m_nextSample = now + kSampleInterval;
            m_pool->report(m_gauge->sample());
            sampled = true;
        }
    }
    if (!m_pool->isStarted()) {
        if (m_isCallingThread && (m_foldersRead >= kFoldersBeforeHelpers || sampled))
            m_pool->start();
    } else if (m_pool->queue().isHungry()) {
        donate();
    }
}

// Opens subfolder name of frame frameIndex.
int Walk::openFolder(size_t frameIndex, const char *name)
{
    return openAt(m_frames[frameIndex].fd, name);
}

// openat for a folder. When the process runs out of descriptors (other threads, or the rest of
// the program, hold theirs too), this walk closes its own oldest folder, or else waits a moment
// for others to give theirs back, and tries again rather than lose the folder.
int Walk::openAt(int dirFd, const char *name)
{
    for (int attempt = 0;; ++attempt) {
        const int fd = ::openat(dirFd, name, kOpenFolderFlags);
        if (fd >= 0 || (errno != EMFILE && errno != ENFILE) || attempt == kOpenAttempts)
            return fd;
        if (!closeOldest())
            std::this_thread::sleep_for(kOpenRetryPause);
    }
}

void Walk::measureEntry(Frame &frame, const char *name)
{
    const std::optional<platform::EntryMeasure> measure =
        platform::measureEntry(frame.fd, name, m_setup.plan != nullptr);
    if (!measure)
        return; // cannot be read: counts 0
    if (measure->isFolder) {
        frame.pending.append(name, std::strlen(name) + 1);
        return;
    }
    if (m_setup.plan)
        count(frame, name, measure->allocated, measure->modified);
    else
        m_total += measure->allocated;
}

// Keeps the descriptor count bounded on deep trees: the open folders are always the top of the
// stack (plus the walk's own top folder), so the oldest of them is closed first. False when
// nothing is left to close.
bool Walk::closeOldest()
{
    while (m_lowestOpen < m_top && m_frames[m_lowestOpen].fd < 0)
        ++m_lowestOpen;
    if (m_lowestOpen >= m_top)
        return false;
    Frame &frame = m_frames[m_lowestOpen];
    struct stat info;
    if (::fstat(frame.fd, &info) == 0) {
        frame.device = info.st_dev;
        frame.inode = info.st_ino;
    } else {
        frame.next = frame.pending.size(); // cannot be told apart on reopening: give it up
    }
    ::close(frame.fd);
    frame.fd = -1;
    --m_openCount;
    ++m_lowestOpen;
    return true;
}

// Opens frame index again: through ".." of its child when that is still open (one call), else by
// names from the nearest open ancestor. Either way it must be the very folder that was closed.
bool Walk::reopen(size_t index, int childFd)
{
    Frame &frame = m_frames[index];
    const auto isSameFolder = [&frame](int fd) {
        struct stat info;
        return ::fstat(fd, &info) == 0 && info.st_dev == frame.device && info.st_ino == frame.inode;
    };
    if (childFd >= 0) {
        const int fd = openAt(childFd, "..");
        if (fd >= 0 && isSameFolder(fd)) {
            frame.fd = fd;
            return true;
        }
        if (fd >= 0)
            ::close(fd);
    }
    size_t ancestor = index;
    while (ancestor > 0 && m_frames[ancestor].fd < 0)
        --ancestor;
    if (m_frames[ancestor].fd < 0)
        return false;
    int fd = m_frames[ancestor].fd;
    for (size_t i = ancestor + 1; i <= index; ++i) {
        const char *name = m_frames[i - 1].pending.data() + m_frames[i].nameInParent;
        const int next = openAt(fd, name);
        if (fd != m_frames[ancestor].fd)
            ::close(fd);
        if (next < 0)
            return false;
        fd = next;
    }
    if (!isSameFolder(fd)) {
        ::close(fd);
        return false;
    }
    frame.fd = fd;
    return true;
}

// Hands the shallowest waiting subfolder (likely the largest piece of work) to an idle thread.
void Walk::donate()
{
    for (size_t i = 0; i <= m_top; ++i) {
        Frame &frame = m_frames[i];
        if (frame.fd < 0 || frame.next >= frame.pending.size())
            continue;
        const char *name = frame.pending.data() + frame.next;
        if (frame.place && m_setup.plan->knownFolder(*frame.place, name))
            return; // not walked at all: this walk takes its size on the way
        const int fd = ::openat(frame.fd, name, kOpenFolderFlags);
        if (fd < 0 && (errno == EMFILE || errno == ENFILE))
            return; // out of descriptors: this walk keeps the folder
        frame.next += std::strlen(name) + 1;
        if (fd < 0)
            return;
        WalkPlan::Entry entry{nullptr, frame.bucket};
        if (frame.place)
            entry = m_setup.plan->enterFolder(*frame.place, frame.bucket, name);
        m_pool->queue().push(
            WalkTask{fd, m_baseDepth + static_cast<int>(i) + 1, entry.place, entry.bucket});
        return;
    }
}

void Walk::reportProgress(const char *name)
{
    const auto now = std::chrono::steady_clock::now();
    if (m_lastReport && now - *m_lastReport < kProgressInterval)
        return;
    m_lastReport = now;
    QString path = m_setup.topPath;
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    (*m_progress)(path + QFile::decodeName(name));
}

} // namespace walk
