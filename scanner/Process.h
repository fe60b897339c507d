#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// What one run of a child process gave back.
struct ProcessResult
{
    bool started = false; // false when the executable could not be started at all
    // The exit code; 128 + the signal number when a signal ended the child; -1 when not started.
    int status = -1;
    QByteArray head;         // the first bytes of the output, up to the head limit
    QByteArray tail;         // the last bytes beyond the head, up to the tail limit
    qint64 omittedBytes = 0; // bytes dropped between head and tail
    bool timedOut = false;   // the time limit ran out and the child was killed

    // The whole output as strict UTF-8 text, with a marker line where bytes were dropped.
    // Nothing when the bytes are not valid UTF-8 (or the child never started).
    std::optional<QString> text() const;
};

// Runs one child process to its end and collects what it prints. The executable (an absolute
// path) is started directly, without a shell, with the arguments as they are; standard input
// reads from /dev/null. There is no time limit unless one is set. The child gets a session (and
// process group) of its own, and whatever it leaves running in that group is terminated once it
// exits, so no helper outlives the call; a process that left the group yet holds the output open
// does not keep the call waiting. Output beyond the head limit keeps only its tail, so a tool that
// prints without end neither stalls nor fills memory. Safe to use from any thread; each run is
// independent.
class Process
{
public:
    static constexpr qint64 kDefaultHeadLimit = 4LL * 1024 * 1024;
    static constexpr qint64 kDefaultTailLimit = 256LL * 1024;

    Process(QString executable, QStringList arguments);

    // Exactly these "NAME=value" entries; without a call the child inherits this program's
    // environment.
    void setEnvironment(const QStringList &environment);
    // True (the default): standard error joins standard output in the capture. False: standard
    // error goes wherever this program's goes.
    void setCaptureStandardError(bool capture);
    void setOutputLimits(qint64 headBytes, qint64 tailBytes);
    // A child still running after this many milliseconds is killed (its whole group, SIGKILL)
    // and the result says timedOut. 0 or less (the default): no limit.
    void setTimeLimit(int milliseconds);

    // Starts the child, collects its output and waits for it to exit.
    ProcessResult run() const;

private:
    QString m_executable;
    QStringList m_arguments;
    std::optional<QStringList> m_environment;
    bool m_captureStandardError = true;
    qint64 m_headLimit = kDefaultHeadLimit;
    qint64 m_tailLimit = kDefaultTailLimit;
    int m_timeLimitMs = 0;
};
