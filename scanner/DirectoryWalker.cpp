#include "scanner/DirectoryWalker.h"

#include "scanner/PlatformCalls.h"

#include "scanner/WaitGauge.h"
#include "scanner/WalkPacer.h"
#include "scanner/WalkQueue.h"

#include <QFile>
#include <QThread>

#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#if defined(__linux__)
#include <sys/syscall.h>
#endif

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

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
// Descriptors left to the rest of the program when the walk shares out the process's limit.
constexpr rlim_t kReservedDescriptors = 64;
// How often a walking thread tells the pacer how much it waited.
constexpr auto kSampleInterval = std::chrono::milliseconds(5);

// O_NOFOLLOW: a folder replaced by a link between listing and opening is not followed.
// O_NONBLOCK: opening something that turned into a FIFO must not hang the walk.
constexpr int kOpenFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK;

bool isDotOrDotDot(const char *name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

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
    Walk(HelperPool *pool, const ScanProgress *progress, const QString &topPath, int maxOpen,
         const std::atomic_bool *cancelled);

    // Walks the folder open at fd (and closes it); returns what was found below it.
    qint64 run(int fd, int depth);

private:
    struct Frame
    {
        int fd = -1;
        std::string pending;     // names of subfolders still to walk, each ending in '\0'
        size_t next = 0;         // offset of the next pending name
        size_t nameInParent = 0; // offset of this folder's name in its parent's pending list
        dev_t device = 0;        // identity, recorded when the descriptor is closed early
        ino_t inode = 0;
    };

    void readFolder(Frame &frame);
    void measureEntry(Frame &frame, const char *name);
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
    const QString &m_topPath;
    bool m_isCallingThread;
    int m_maxOpen;
    const std::atomic_bool *m_cancelled;
    std::optional<std::chrono::steady_clock::time_point> m_lastReport;
    std::unique_ptr<WaitGauge> m_gauge; // when the pool paces itself
    std::chrono::steady_clock::time_point m_nextSample;
};

// The helper threads of a parallel walk, started late by the calling thread's walk. With a
// pacer, their number follows how much the walking threads wait; helpers above it park.
class HelperPool
{
public:
    HelperPool(int baseThreads, int maxThreads, const QString &topPath, int maxOpen,
               const std::atomic_bool *cancelled)
        : m_pacer(baseThreads, maxThreads), m_paces(maxThreads > baseThreads), m_topPath(topPath),
          m_maxOpen(maxOpen), m_cancelled(cancelled)
    {}

    ~HelperPool()
    {
        std::lock_guard lock(m_threadsMutex);
        for (std::thread &thread : m_threads)
            thread.join();
    }

    WalkQueue &queue() { return m_queue; }
    bool isStarted() const { return m_started.load(std::memory_order_relaxed); }
    bool paces() const { return m_paces; }
    int peakThreads() const { return m_peakThreads.load(); }

    void start()
    {
        m_started = true;
        setThreads(m_pacer.threads());
    }

    // A span of one thread's walk, for the pacer.
    void report(const WaitGauge::Span &span)
    {
        if (const std::optional<int> threads = m_pacer.add(span.running, span.waited)) {
            if (isStarted())
                setThreads(*threads);
        }
    }

    // Called by the calling thread once its own walk is done: helps until all work is finished,
    // then returns what the helpers found.
    qint64 finish(Walk &walk)
    {
        qint64 total = 0;
        while (const std::optional<WalkTask> task = m_queue.take(0))
            total += walk.run(task->fd, task->depth);
        std::lock_guard lock(m_threadsMutex);
        for (std::thread &thread : m_threads)
            thread.join();
        m_threads.clear();
        return total + m_helperTotal.load();
    }

private:
    // Starts the helpers that count calls for and were never started; parks or wakes the rest.
    void setThreads(int count)
    {
        std::lock_guard lock(m_threadsMutex);
        while (1 + int(m_threads.size()) < count) {
            const int worker = 1 + int(m_threads.size());
            // Counted before it runs, so that the queue never sees every thread idle too early.
            m_queue.setWorkerCount(worker + 1);
            try {
                m_threads.emplace_back([this, worker] { work(worker); });
            } catch (const std::system_error &) {
                m_queue.setWorkerCount(worker); // no thread to be had: the others carry on
                break;
            }
        }
        const int running = 1 + int(m_threads.size());
        m_queue.setActiveCount(std::min(count, running));
        if (std::min(count, running) > m_peakThreads.load())
            m_peakThreads = std::min(count, running);
    }

    void work(int worker)
    {
        Walk walk(this, nullptr, m_topPath, m_maxOpen, m_cancelled);
        qint64 total = 0;
        while (const std::optional<WalkTask> task = m_queue.take(worker))
            total += walk.run(task->fd, task->depth);
        m_helperTotal.fetch_add(total);
    }

    WalkPacer m_pacer;
    const bool m_paces;
    const QString &m_topPath;
    const int m_maxOpen;
    const std::atomic_bool *m_cancelled;
    std::atomic<bool> m_started{false};
    WalkQueue m_queue;
    std::mutex m_threadsMutex;
    std::vector<std::thread> m_threads;
    std::atomic<int> m_peakThreads{1};
    std::atomic<qint64> m_helperTotal{0};
};

Walk::Walk(HelperPool *pool, const ScanProgress *progress, const QString &topPath, int maxOpen,
           const std::atomic_bool *cancelled)
    : m_buffer(new char[kReadBufferSize]), m_pool(pool), m_progress(progress), m_topPath(topPath),
      m_isCallingThread(progress != nullptr), m_maxOpen(maxOpen), m_cancelled(cancelled)
{
    if (pool && pool->paces())
        m_gauge = std::make_unique<WaitGauge>();
}

qint64 Walk::run(int fd, int depth)
{
    m_total = 0;
    m_baseDepth = depth;
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
        root.fd = fd;
        root.pending.clear();
        root.next = 0;
        readFolder(root);
    }

    for (;;) {
        Frame &frame = m_frames[m_top];
        // Cancelled: walk no further down; the way back up closes what is open.
        if (m_cancelled && m_cancelled->load(std::memory_order_relaxed))
            frame.next = frame.pending.size();
        if (frame.next < frame.pending.size()) {
            const size_t nameAt = frame.next;
            const char *name = frame.pending.data() + nameAt;
            frame.next += std::strlen(name) + 1;
            if (frame.fd < 0)
                continue; // lost on the way back up: its remaining subfolders count 0
            const int child = openFolder(m_top, name);
            if (child < 0)
                continue; // unreadable or gone: counts 0
            if (m_baseDepth + m_top == 0 && m_progress && *m_progress)
                reportProgress(name);
            if (++m_top == m_frames.size())
                m_frames.resize(m_frames.size() * 2);
            Frame &next = m_frames[m_top];
            next.fd = child;
            next.pending.clear();
            next.next = 0;
            next.nameInParent = nameAt;
            if (++m_openCount > m_maxOpen)
                closeOldest();
            readFolder(next);
            continue;
        }

        // This folder is done: go back up to its parent, opened again if it was closed on the way
        // down (even with nothing left to walk, so that its own parent can be reached through it).
        if (m_top == 0) {
            if (frame.fd >= 0)
                ::close(frame.fd);
            frame.fd = -1;
            break;
        }
        Frame &parent = m_frames[m_top - 1];
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
    char *buffer = m_buffer.get();
#if VERLO_LINUX_CALLS
    for (;;) {
        const long length = ::syscall(SYS_getdents64, frame.fd, buffer, kReadBufferSize);
        if (length <= 0)
            break; // the end, or an error: what was read so far stands
        for (long position = 0; position < length;) {
            // struct linux_dirent64: u64 d_ino, s64 d_off, u16 d_reclen, u8 d_type, char d_name[]
            const char *record = buffer + position;
            unsigned short recordLength = 0;
            std::memcpy(&recordLength, record + 16, sizeof recordLength);
            const unsigned char type = static_cast<unsigned char>(record[18]);
            const char *name = record + 19;
            position += recordLength;
            if (isDotOrDotDot(name))
                continue;
            if (type == DT_DIR) // a folder adds nothing of its own: no need to stat it
                frame.pending.append(name, std::strlen(name) + 1);
            else
                measureEntry(frame, name);
        }
    }
#else
    Q_UNUSED(buffer);
    const int listingFd = ::fcntl(frame.fd, F_DUPFD_CLOEXEC, 0);
    if (listingFd < 0)
        return;
    DIR *dir = ::fdopendir(listingFd);
    if (!dir) {
        ::close(listingFd);
        return;
    }
    while (const struct dirent *entry = ::readdir(dir)) {
        const char *name = entry->d_name;
        if (isDotOrDotDot(name))
            continue;
        if (entry->d_type == DT_DIR)
            frame.pending.append(name, std::strlen(name) + 1);
        else
            measureEntry(frame, name);
    }
    ::closedir(dir);
#endif
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
#if VERLO_LINUX_CALLS && defined(STATX_BLOCKS)
    // statx says which fields the file system filled in, so "no allocation known" is a real
    // answer here and the length stands in for it.
    struct statx info;
    if (::statx(frame.fd, name, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT,
                STATX_TYPE | STATX_SIZE | STATX_BLOCKS, &info) != 0)
        return; // cannot be read: counts 0
    if ((info.stx_mask & STATX_TYPE) && S_ISDIR(info.stx_mode)) {
        frame.pending.append(name, std::strlen(name) + 1);
        return;
    }
    if (info.stx_mask & STATX_BLOCKS)
        m_total += static_cast<qint64>(info.stx_blocks) * 512;
    else if (info.stx_mask & STATX_SIZE)
        m_total += static_cast<qint64>(info.stx_size);
#else
    struct stat info;
    if (::fstatat(frame.fd, name, &info, AT_SYMLINK_NOFOLLOW) != 0)
        return;
    if (S_ISDIR(info.st_mode)) {
        frame.pending.append(name, std::strlen(name) + 1);
        return;
    }
    // POSIX always reports a block count, so the allocation is always known here.
    m_total += static_cast<qint64>(info.st_blocks) * 512;
#endif
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
        const int fd = ::openat(frame.fd, name, kOpenFolderFlags);
        if (fd < 0 && (errno == EMFILE || errno == ENFILE))
            return; // out of descriptors: this walk keeps the folder
        frame.next += std::strlen(name) + 1;
        if (fd >= 0)
            m_pool->queue().push(WalkTask{fd, m_baseDepth + static_cast<int>(i) + 1});
        return;
    }
}

void Walk::reportProgress(const char *name)
{
    const auto now = std::chrono::steady_clock::now();
    if (m_lastReport && now - *m_lastReport < kProgressInterval)
        return;
    m_lastReport = now;
    QString path = m_topPath;
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    (*m_progress)(path + QFile::decodeName(name));
}

// Each thread's share of the descriptors the process may open, once the rest of the program has
// its own: kMaxOpenFolders at most, a few at least.
int openFoldersPerThread(int threads)
{
    struct rlimit limit;
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return DirectoryWalker::kMaxOpenFolders;
    const rlim_t spare =
        limit.rlim_cur > kReservedDescriptors ? limit.rlim_cur - kReservedDescriptors : 0;
    return int(std::clamp<rlim_t>(spare / rlim_t(threads), 4, DirectoryWalker::kMaxOpenFolders));
}

} // namespace

DirectoryWalker::DirectoryWalker(int threadCount, ScanProgress progress)
    : m_baseThreads(std::max(1, threadCount)), m_maxThreads(m_baseThreads),
      m_progress(std::move(progress))
{}

DirectoryWalker DirectoryWalker::paced(int baseThreads, int maxThreads, ScanProgress progress)
{
    DirectoryWalker walker(baseThreads, std::move(progress));
    walker.m_maxThreads = std::max(walker.m_baseThreads, maxThreads);
    return walker;
}

DirectoryWalker DirectoryWalker::standard(ScanProgress progress)
{
    static const int base = std::clamp(QThread::idealThreadCount(), 1, 2);
    return paced(base, kMaxPacedThreads, std::move(progress));
}

qint64 DirectoryWalker::totalSize(const QString &folder, int *threadsUsed) const
{
    if (threadsUsed)
        *threadsUsed = 1;
    if (folder.isEmpty())
        return 0;
    // The top is followed when it is a link; nothing below it is.
    const int fd = ::open(QFile::encodeName(folder).constData(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return 0;
    const int maxOpen = openFoldersPerThread(m_maxThreads);
    if (m_maxThreads == 1) {
        Walk walk(nullptr, &m_progress, folder, maxOpen, m_cancelled);
        return walk.run(fd, 0);
    }
    HelperPool pool(m_baseThreads, m_maxThreads, folder, maxOpen, m_cancelled);
    Walk walk(&pool, &m_progress, folder, maxOpen, m_cancelled);
    qint64 total = walk.run(fd, 0);
    if (pool.isStarted())
        total += pool.finish(walk);
    if (threadsUsed)
        *threadsUsed = pool.peakThreads();
    return total;
}
