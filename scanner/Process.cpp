#include "scanner/Process.h"

#include "scanner/platform/ProcessCalls.h"

#include <QFile>
#include <QStringDecoder>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <vector>

extern char **environ;

namespace {

// How long the helpers a tool left behind get to end on SIGTERM before SIGKILL.
constexpr int kTerminateGraceMs = 500;
// How long SIGKILLed helpers may take to be gone before the call returns anyway.
constexpr int kKillWaitMs = 2000;
// Without a process descriptor the exit is noticed by polling this often.
constexpr int kExitPollMs = 20;

class Descriptor
{
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int get() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }
    void reset(int fd = -1)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }

private:
    int m_fd;
};

// Keeps the first headLimit bytes and the last tailLimit bytes of everything appended.
class OutputCollector
{
public:
    OutputCollector(qint64 headLimit, qint64 tailLimit)
        : m_headLimit(qMax<qint64>(0, headLimit)), m_tailLimit(qMax<qint64>(0, tailLimit))
    {}

    void append(const char *data, qint64 size)
    {
        const qint64 toHead = qMin(size, m_headLimit - m_head.size());
        if (toHead > 0) {
            m_head.append(data, toHead);
            data += toHead;
            size -= toHead;
        }
        if (size <= 0)
            return;
        if (size >= m_tailLimit) {
            m_omitted += m_tail.size() + size - m_tailLimit;
            m_tail = QByteArray(data + size - m_tailLimit, m_tailLimit);
            return;
        }
        m_tail.append(data, size);
        // Trimming only when twice the limit keeps the copying linear in the output size.
        if (m_tail.size() > 2 * m_tailLimit)
            dropTailFront(m_tail.size() - m_tailLimit);
    }

    void finish(ProcessResult &result)
    {
        if (m_tail.size() > m_tailLimit)
            dropTailFront(m_tail.size() - m_tailLimit);
        if (m_omitted > 0) {
            // The cuts must fall between characters, or valid text would read as invalid.
            const qsizetype partial = incompleteSequenceAtEnd(m_head);
            m_head.chop(partial);
            m_omitted += partial;
            qsizetype continuation = 0;
            while (continuation < 3 && continuation < m_tail.size() &&
                   (static_cast<uchar>(m_tail.at(continuation)) & 0xC0) == 0x80)
                ++continuation;
            dropTailFront(continuation);
        }
        result.head = std::move(m_head);
        result.tail = std::move(m_tail);
        result.omittedBytes = m_omitted;
    }

private:
    void dropTailFront(qsizetype count)
    {
        m_tail.remove(0, count);
        m_omitted += count;
    }

    // The length of a multi-byte sequence that begins but does not end within bytes.
    static qsizetype incompleteSequenceAtEnd(const QByteArray &bytes)
    {
        for (qsizetype back = 1; back <= 4 && back <= bytes.size(); ++back) {
            const uchar byte = static_cast<uchar>(bytes.at(bytes.size() - back));
            if ((byte & 0xC0) == 0x80)
                continue; // a continuation byte: look further back for the lead
            int length = 1;
            if ((byte & 0xE0) == 0xC0)
                length = 2;
            else if ((byte & 0xF0) == 0xE0)
                length = 3;
            else if ((byte & 0xF8) == 0xF0)
                length = 4;
            return length > back ? back : 0;
        }
        return 0;
    }

    qint64 m_headLimit;
    qint64 m_tailLimit;
    QByteArray m_head;
    QByteArray m_tail;
    qint64 m_omitted = 0;
};

// Reads what the pipe holds now. False once it reached end of file (or failed).
bool readAvailable(int fd, OutputCollector &collector)
{
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            collector.append(buffer, n);
            continue;
        }
        if (n == 0)
            return false;
        if (errno == EINTR)
            continue;
        return errno == EAGAIN || errno == EWOULDBLOCK;
    }
}

// Whether the child has exited, without reaping it: while it stays a zombie its process id,
// and so its group id, cannot be handed to anyone else.
bool hasExited(pid_t pid)
{
    siginfo_t info;
    std::memset(&info, 0, sizeof info);
    for (;;) {
        if (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0)
            return info.si_pid != 0;
        if (errno != EINTR)
            return true; // nothing to wait for any more
    }
}

void waitForExitWithoutReaping(pid_t pid)
{
    siginfo_t info;
    while (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT) != 0 &&
           errno == EINTR) {
    }
}

int reap(pid_t pid)
{
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return -1;
}

// Whether anything of the group still runs. Killed helpers that nobody reaps linger as zombies
// (a container's first process may not reap), and those no longer count.
bool groupHasLiveMembers(pid_t group)
{
    if (::kill(-group, 0) != 0 && errno != EPERM)
        return false;
    return platform::groupMembersRun(group);
}

// Polls the pipe (when open) for up to timeoutMs and reads what came. Updates pipeOpen.
void pollAndRead(int fd, bool &pipeOpen, OutputCollector &collector, int timeoutMs)
{
    if (!pipeOpen) {
        if (timeoutMs > 0)
            ::poll(nullptr, 0, timeoutMs);
        return;
    }
    pollfd entry{fd, POLLIN, 0};
    if (::poll(&entry, 1, timeoutMs) > 0)
        pipeOpen = readAvailable(fd, collector);
}

std::vector<char *> pointersTo(std::vector<QByteArray> &strings)
{
    std::vector<char *> pointers;
    pointers.reserve(strings.size() + 1);
    for (QByteArray &string : strings)
        pointers.push_back(string.data());
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

std::optional<QString> ProcessResult::text() const
{
    if (!started)
        return std::nullopt;
    const auto decode = [](const QByteArray &bytes) -> std::optional<QString> {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                         QStringDecoder::Flag::ConvertInitialBom);
        QString text = decoder.decode(bytes);
        if (decoder.hasError())
            return std::nullopt;
        return text;
    };
    if (omittedBytes == 0)
        return decode(head + tail);
    const std::optional<QString> first = decode(head);
    const std::optional<QString> last = decode(tail);
    if (!first || !last)
        return std::nullopt;
    QString marker = QStringLiteral("… %1 bytes omitted …\n").arg(omittedBytes);
    if (!first->isEmpty() && !first->endsWith(QLatin1Char('\n')))
        marker.prepend(QLatin1Char('\n'));
    return *first + marker + *last;
}

Process::Process(QString executable, QStringList arguments)
    : m_executable(std::move(executable)), m_arguments(std::move(arguments))
{}

void Process::setEnvironment(const QStringList &environment)
{
    m_environment = environment;
}

void Process::setCaptureStandardError(bool capture)
{
    m_captureStandardError = capture;
}

void Process::setOutputLimits(qint64 headBytes, qint64 tailBytes)
{
    m_headLimit = headBytes;
    m_tailLimit = tailBytes;
}

void Process::setTimeLimit(int milliseconds)
{
    m_timeLimitMs = milliseconds;
}

ProcessResult Process::run() const
{
    ProcessResult result;
    if (!m_executable.startsWith(QLatin1Char('/')))
        return result;

    std::vector<QByteArray> argumentBytes;
    argumentBytes.push_back(QFile::encodeName(m_executable));
    for (const QString &argument : m_arguments)
        argumentBytes.push_back(argument.toLocal8Bit());
    std::vector<char *> argv = pointersTo(argumentBytes);

    std::vector<QByteArray> environmentBytes;
    std::vector<char *> envp;
    if (m_environment) {
        for (const QString &entry : *m_environment)
            environmentBytes.push_back(entry.toLocal8Bit());
        envp = pointersTo(environmentBytes);
    }

    int fds[2];
    if (!platform::makeCloseOnExecPipe(fds))
        return result;
    Descriptor readEnd(fds[0]);
    Descriptor writeEnd(fds[1]);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, writeEnd.get(), STDOUT_FILENO);
    if (m_captureStandardError)
        posix_spawn_file_actions_adddup2(&actions, writeEnd.get(), STDERR_FILENO);

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // A session of its own: the child leads a fresh process group (so everything it leaves
    // behind can be found and ended) and has no controlling terminal to stop it or prompt on.
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF |
                                              platform::newSessionSpawnFlags(&attributes));
    sigset_t signalSet;
    sigemptyset(&signalSet);
    posix_spawnattr_setsigmask(&attributes, &signalSet);
    // Signals this program ignores would stay ignored in the child; give it the defaults.
    for (int signal : {SIGPIPE, SIGINT, SIGQUIT, SIGTERM, SIGHUP, SIGCHLD, SIGUSR1, SIGUSR2,
                       SIGALRM, SIGTSTP, SIGTTIN, SIGTTOU})
        sigaddset(&signalSet, signal);
    posix_spawnattr_setsigdefault(&attributes, &signalSet);

    pid_t pid = 0;
    const int spawnError =
        ::posix_spawn(&pid, argumentBytes.front().constData(), &actions, &attributes, argv.data(),
                      m_environment ? envp.data() : environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    writeEnd.reset();
    if (spawnError != 0)
        return result;
    result.started = true;

    ::fcntl(readEnd.get(), F_SETFL, ::fcntl(readEnd.get(), F_GETFL) | O_NONBLOCK);
    Descriptor exitNotice(platform::openExitNotice(pid));
    OutputCollector collector(m_headLimit, m_tailLimit);
    bool pipeOpen = true;
    using Clock = std::chrono::steady_clock;
    const auto killAt = Clock::now() + std::chrono::milliseconds(qMax(0, m_timeLimitMs));

    // Read until the child exits. The pipe's end of file is not awaited: a helper the child
    // left behind may hold it open.
    for (;;) {
        pollfd entries[2];
        nfds_t count = 0;
        if (pipeOpen)
            entries[count++] = {readEnd.get(), POLLIN, 0};
        if (exitNotice.isOpen())
            entries[count++] = {exitNotice.get(), POLLIN, 0};
        if (count == 0 && m_timeLimitMs <= 0) {
            waitForExitWithoutReaping(pid);
            break;
        }
        int timeout = exitNotice.isOpen() ? -1 : kExitPollMs;
        if (m_timeLimitMs > 0 && !result.timedOut) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(killAt - Clock::now())
                    .count();
            if (left <= 0) {
                // The child leads its group: everything it started goes with it.
                result.timedOut = true;
                ::kill(-pid, SIGKILL);
                timeout = kExitPollMs;
            } else if (timeout < 0 || left < timeout) {
                timeout = static_cast<int>(left);
            }
        }
        const int ready = ::poll(entries, count, timeout);
        if (ready < 0 && errno != EINTR) {
            // Never signal the group while the tool itself may still run.
            waitForExitWithoutReaping(pid);
            break;
        }
        if (pipeOpen && ready > 0 && entries[0].revents != 0)
            pipeOpen = readAvailable(readEnd.get(), collector);
        if (hasExited(pid))
            break;
    }

    // End whatever the child left running in its group: SIGTERM, a short grace, then SIGKILL.
    // The first signal goes out before the reap, while the zombie still holds the group's id.
    ::kill(-pid, SIGTERM);
    result.status = reap(pid);
    auto deadline = Clock::now() + std::chrono::milliseconds(kTerminateGraceMs);
    bool lingering = groupHasLiveMembers(pid);
    while (lingering && Clock::now() < deadline) {
        pollAndRead(readEnd.get(), pipeOpen, collector, 10);
        lingering = groupHasLiveMembers(pid);
    }
    if (lingering) {
        ::kill(-pid, SIGKILL);
        // Killed processes end within moments; one stuck in the kernel must not hang the call.
        deadline = Clock::now() + std::chrono::milliseconds(kKillWaitMs);
        while (groupHasLiveMembers(pid) && Clock::now() < deadline)
            pollAndRead(readEnd.get(), pipeOpen, collector, 5);
    }

    if (pipeOpen)
        readAvailable(readEnd.get(), collector);
    collector.finish(result);
    return result;
}
