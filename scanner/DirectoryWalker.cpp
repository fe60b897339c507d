#include "scanner/DirectoryWalker.h"

#include "scanner/WalkThreads.h"

#include <QFile>
#include <QThread>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <system_error>

namespace {

// Descriptors left to the rest of the program when the walk shares out the process's limit.
constexpr rlim_t kReservedDescriptors = 64;

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

namespace walk {

HelperPool::HelperPool(int baseThreads, int maxThreads, const Setup &setup)
    : m_pacer(baseThreads, maxThreads), m_paces(maxThreads > baseThreads), m_setup(setup)
{}

HelperPool::~HelperPool()
{
    std::lock_guard lock(m_threadsMutex);
    for (std::thread &thread : m_threads)
        thread.join();
}

void HelperPool::start()
{
    m_started = true;
    setThreads(m_pacer.threads());
}

void HelperPool::report(const WaitGauge::Span &span)
{
    if (const std::optional<int> threads = m_pacer.add(span.running, span.waited)) {
        if (isStarted())
            setThreads(*threads);
    }
}

qint64 HelperPool::finish(Walk &walk)
{
    qint64 total = 0;
    while (const std::optional<WalkTask> task = m_queue.take(0))
        total += walk.run(*task);
    std::lock_guard lock(m_threadsMutex);
    for (std::thread &thread : m_threads)
        thread.join();
    m_threads.clear();
    return total + m_helperTotal.load();
}

// Starts the helpers that count calls for and were never started; parks or wakes the rest.
void HelperPool::setThreads(int count)
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

void HelperPool::work(int worker)
{
    Walk walk(this, nullptr, m_setup);
    qint64 total = 0;
    while (const std::optional<WalkTask> task = m_queue.take(worker))
        total += walk.run(*task);
    m_helperTotal.fetch_add(total);
}

} // namespace walk

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
    const walk::Setup setup{folder, openFoldersPerThread(m_maxThreads), m_cancelled, m_plan,
                            m_measured};
    const WalkTask top{fd, 0, m_plan ? &m_plan->root() : nullptr, 0};
    if (m_maxThreads == 1) {
        walk::Walk walk(nullptr, &m_progress, setup);
        return walk.run(top);
    }
    walk::HelperPool pool(m_baseThreads, m_maxThreads, setup);
    walk::Walk walk(&pool, &m_progress, setup);
    qint64 total = walk.run(top);
    if (pool.isStarted())
        total += pool.finish(walk);
    if (threadsUsed)
        *threadsUsed = pool.peakThreads();
    return total;
}
