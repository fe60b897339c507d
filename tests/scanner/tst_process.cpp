#include "scanner/Process.h"
#include "tests/support/Sandbox.h"

#include <QFile>
#include <QScopeGuard>
#include <QTest>

#include <signal.h>
#include <unistd.h>

#include <thread>
#include <vector>

namespace {

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Whether the process still runs: gone, or a zombie waiting for whoever adopted it, is not.
bool isRunning(pid_t pid)
{
    const QByteArray stat = contentsOf(QStringLiteral("/proc/%1/stat").arg(pid));
    const qsizetype close = stat.lastIndexOf(')');
    return close > 0 && close + 2 < stat.size() && stat.at(close + 2) != 'Z' &&
           stat.at(close + 2) != 'X';
}

QString writeTool(const Sandbox &sandbox, const QString &body)
{
    static int counter = 0;
    return sandbox.writeScript(sandbox.base() + QStringLiteral("/bin/tool%1").arg(++counter), body);
}

ProcessResult runScript(const Sandbox &sandbox, const QString &body,
                        const QStringList &arguments = {})
{
    Process process(writeTool(sandbox, body), arguments);
    process.setEnvironment({QStringLiteral("PATH=/usr/bin:/bin")});
    return process.run();
}

} // namespace

class ProcessTest : public QObject
{
    Q_OBJECT

private slots:
    void oneCapture_argumentsAsGiven_noInput()
    {
        Sandbox sandbox;
        const QStringList arguments{QStringLiteral("two words"),   QString(),
                                    QStringLiteral("$HOME *"),     QStringLiteral("a;b|c'\"`"),
                                    QStringLiteral("line\nbreak"), QStringLiteral("naïve")};
        // Were standard input inherited, cat and read would wait for a terminal or the runner.
        const QString tool = writeTool(
            sandbox,
            QStringLiteral("for a in \"$@\"; do printf '<%s>' \"$a\"; done; echo\n"
                           "printf 'err 1\\n' >&2; cat; if read l; then echo got; else echo "
                           "eof; fi\nls -l /proc/$$/fd/0 | sed 's/.*-> //'; printf 'err 2' >&2"));
        const ProcessResult result = Process(tool, arguments).run();
        QVERIFY(result.started);
        QCOMPARE(result.status, 0);
        QCOMPARE(result.omittedBytes, qint64(0));
        QCOMPARE(result.text(), QStringLiteral("<two words><><$HOME *><a;b|c'\"`><line\nbreak>"
                                               "<naïve>\nerr 1\neof\n/dev/null\nerr 2"));

        Process quiet(tool, {});
        quiet.setCaptureStandardError(false);
        QCOMPARE(quiet.run().text(), QStringLiteral("\neof\n/dev/null\n"));
    }

    void environment_exactOrInherited()
    {
        qputenv("VERLO_PROCESS_MARK", "inherited");
        Process exact(QStringLiteral("/usr/bin/env"), {});
        exact.setEnvironment({QStringLiteral("PATH=/nowhere"),
                              QStringLiteral("HOME=/home/some one"), QStringLiteral("EMPTY=")});
        const ProcessResult exactResult = exact.run();
        const ProcessResult inherited = Process(QStringLiteral("/usr/bin/env"), {}).run();
        qunsetenv("VERLO_PROCESS_MARK");

        QCOMPARE(exactResult.text(),
                 QStringLiteral("PATH=/nowhere\nHOME=/home/some one\nEMPTY=\n"));
        QVERIFY(inherited.text()->contains(QStringLiteral("VERLO_PROCESS_MARK=inherited\n")));
    }

    void exitStatus_reportedOrNotStarted()
    {
        Sandbox sandbox;
        const QString plain = sandbox.writeFile(sandbox.base() + "/plain", "#!/bin/sh\necho hi\n");
        // A program may ignore SIGPIPE (as many do, to survive closed sockets); the child must
        // not inherit that.
        struct sigaction ignore = {};
        ignore.sa_handler = SIG_IGN;
        struct sigaction saved = {};
        ::sigaction(SIGPIPE, &ignore, &saved);
        const auto restore = qScopeGuard([&saved] { ::sigaction(SIGPIPE, &saved, nullptr); });
        // An executable, or a script body; the status -1 means not started.
        const QList<std::tuple<QString, QString, int>> cases{
            {{}, QStringLiteral("exit 3"), 3},
            {{}, QStringLiteral("kill -KILL $$"), 128 + SIGKILL},
            {{}, QStringLiteral("kill -PIPE $$"), 128 + SIGPIPE},
            {sandbox.base() + "/bin/none", {}, -1},
            {QStringLiteral("sh"), {}, -1}, // relative
            {plain, {}, -1},                // not executable
        };
        for (const auto &[executable, body, status] : cases) {
            const QString program = executable.isEmpty() ? writeTool(sandbox, body) : executable;
            const ProcessResult result = Process(program, {QStringLiteral("-c"), body}).run();
            const QString name = executable + body + QStringLiteral(": %1 %2");
            QCOMPARE(name.arg(result.started).arg(result.status),
                     name.arg(status != -1).arg(status));
            if (status == -1)
                QCOMPARE(result.text(), std::nullopt);
        }
    }

    void text_strictUtf8()
    {
        Sandbox sandbox;
        const QString data = sandbox.base() + QStringLiteral("/data");
        const QString tool = writeTool(sandbox, QStringLiteral("cat \"$1\"; echo ' and more' >&2"));
        const QList<std::pair<QByteArray, bool>> outputs{
            {"caf\xc3\xa9 \xe6\x97\xa5 \xf0\x9f\x8e\x89", true}, // multi-byte
            {"\xef\xbf\xbd", true},                              // the replacement character itself
            {"", true},
            {"caf\xe9", false},      // Latin-1
            {"ok \xe6\x97", false},  // a sequence cut at the end
            {"\xc0\xaf", false},     // overlong
            {"\xed\xa0\x80", false}, // surrogate
        };
        for (const auto &[output, valid] : outputs) {
            sandbox.writeFile(data, output);
            const ProcessResult result = Process(tool, {data}).run();
            QCOMPARE(result.status, 0);
            QCOMPARE(result.text(), valid ? std::optional(QString::fromUtf8(output) +
                                                          QStringLiteral(" and more\n"))
                                          : std::nullopt);
        }
    }

    void largeOutput_keepsHeadAndTail()
    {
        Sandbox sandbox;
        // 20 MB of whole lines, then an end marker: far more than a pipe holds and than is kept.
        const ProcessResult result = runScript(
            sandbox, QStringLiteral("printf 'START\\n'; yes 'line of output' | head -c 20000010; "
                                    "printf 'LAST LINE\\n' >&2; exit 7"));
        QCOMPARE(result.status, 7);
        QCOMPARE(qint64(result.head.size()), Process::kDefaultHeadLimit);
        QCOMPARE(qint64(result.tail.size()), Process::kDefaultTailLimit);
        QCOMPARE(result.head.size() + result.tail.size() + result.omittedBytes,
                 qint64(6 + 20000010 + 10));
        QVERIFY(result.head.startsWith("START\nline of output\n"));
        const std::optional<QString> text = result.text();
        QVERIFY(text);
        QVERIFY(
            text->contains(QStringLiteral("\n… %1 bytes omitted …\n").arg(result.omittedBytes)));
        QVERIFY(text->endsWith(QStringLiteral("line of output\nLAST LINE\n")));
    }

    void cuts_fallBetweenCharacters()
    {
        Sandbox sandbox;
        // Four-byte characters: wherever the limits cut, the kept text must still be valid.
        const QString tool = writeTool(
            sandbox, QStringLiteral("printf '\\360\\237\\216\\211%.0s' 1 2 3 4 5 6 7 8 9 10"));
        const QString party = QString::fromUtf8("\xf0\x9f\x8e\x89");
        for (int head = 0; head <= 4; ++head) {
            for (int tail = 1; tail <= 4; ++tail) {
                Process process(tool, {});
                process.setOutputLimits(head, tail);
                const ProcessResult result = process.run();
                QVERIFY(result.head.size() <= head && result.tail.size() <= tail);
                QCOMPARE(result.head.size() + result.tail.size() + result.omittedBytes, qint64(40));
                const std::optional<QString> text = result.text();
                QVERIFY2(text, qPrintable(QStringLiteral("head %1, tail %2").arg(head).arg(tail)));
                QCOMPARE(text->left(2 * (result.head.size() / 4)),
                         party.repeated(result.head.size() / 4));
                QVERIFY(text->contains(QStringLiteral("bytes omitted")));
            }
        }
    }

    void leftoverChildren_areEnded()
    {
        Sandbox sandbox;
        const QString pidFile = sandbox.base() + QStringLiteral("/child.pid");
        // A background child, one that ignores SIGTERM, a grandchild, and one that tidies up
        // (writes "$1.note") when asked politely to end.
        const QStringList bodies{
            QStringLiteral("sleep 1000 & echo $! > \"$1\"; echo started"),
            QStringLiteral("sh -c 'trap \"\" TERM; echo $$ > \"$1\"; exec sleep 1000' sh \"$1\" & "
                           "while [ ! -s \"$1\" ]; do sleep 0.01; done; echo started"),
            QStringLiteral("sh -c 'sleep 1000 & echo $! > \"$1\"' sh \"$1\"; echo started"),
            QStringLiteral("sh -c 'trap \"echo tidied > \\\"$1.note\\\"; exit 0\" TERM; "
                           "echo $$ > \"$1\"; sleep 1000 & wait' sh \"$1\" & "
                           "while [ ! -s \"$1\" ]; do sleep 0.01; done; echo started")};
        for (const QString &body : bodies) {
            QFile::remove(pidFile);
            const ProcessResult result = runScript(sandbox, body, {pidFile});
            QCOMPARE(result.text(), QStringLiteral("started\n"));
            const pid_t child = static_cast<pid_t>(contentsOf(pidFile).trimmed().toLongLong());
            QVERIFY(child > 0);
            // The call has returned; the helper must already be gone, not merely on its way.
            const bool running = isRunning(child);
            if (running)
                ::kill(child, SIGKILL);
            QVERIFY2(!running, qPrintable(body));
        }
        QCOMPARE(contentsOf(pidFile + QStringLiteral(".note")), QByteArray("tidied\n"));
    }

    void escapedChild_holdingOutput_doesNotBlock()
    {
        Sandbox sandbox;
        const QString pidFile = sandbox.base() + QStringLiteral("/escaped.pid");
        // A helper in a session of its own keeps the output pipe open and is out of reach of the
        // group: the call must still return once the tool itself has exited.
        const ProcessResult result = runScript(
            sandbox, QStringLiteral("setsid sleep 1000 & echo $! > \"$1\"; echo done"), {pidFile});
        const pid_t escaped = static_cast<pid_t>(contentsOf(pidFile).trimmed().toLongLong());
        if (escaped > 0)
            ::kill(escaped, SIGKILL);
        QCOMPARE(result.status, 0);
        QCOMPARE(result.text(), QStringLiteral("done\n"));
    }

    // A tool that hangs (and the helper it started) is killed at the limit; one that ends in
    // time is untouched by it.
    void timeLimit_killsAHangingToolAndItsGroup()
    {
        Sandbox sandbox;
        const QString pidFile = sandbox.base() + QStringLiteral("/helper.pid");
        Process hanging(
            writeTool(sandbox, QStringLiteral("sleep 300 & echo $! > '%1'; echo started; "
                                              "sleep 300")
                                   .arg(pidFile)),
            {});
        hanging.setTimeLimit(200);
        const ProcessResult killed = hanging.run();
        QVERIFY(killed.timedOut);
        QCOMPARE(killed.status, 128 + SIGKILL);
        QCOMPARE(killed.text(), QStringLiteral("started\n"));
        QTRY_VERIFY(!isRunning(contentsOf(pidFile).trimmed().toInt()));

        Process quick(writeTool(sandbox, QStringLiteral("echo done")), {});
        quick.setTimeLimit(60000);
        const ProcessResult finished = quick.run();
        QVERIFY(!finished.timedOut);
        QCOMPARE(finished.status, 0);
    }

    void parallelRuns_keepTheirOwnOutput()
    {
        Sandbox sandbox;
        const QString script = writeTool(
            sandbox,
            QStringLiteral(
                "i=0; while [ $i -lt 2000 ]; do echo \"$1 $i\"; i=$((i+1)); done; exit $2"));
        constexpr int kThreads = 6;
        std::vector<ProcessResult> results(kThreads);
        std::vector<std::thread> threads;
        for (int i = 0; i < kThreads; ++i)
            threads.emplace_back([&, i] {
                results[i] =
                    Process(script, {QStringLiteral("run%1").arg(i), QString::number(i)}).run();
            });
        for (std::thread &thread : threads)
            thread.join();
        for (int i = 0; i < kThreads; ++i) {
            QCOMPARE(results[i].status, i);
            QString expected;
            for (int line = 0; line < 2000; ++line)
                expected += QStringLiteral("run%1 %2\n").arg(i).arg(line);
            QCOMPARE(results[i].text(), expected);
        }
    }
};

QTEST_GUILESS_MAIN(ProcessTest)
#include "tst_process.moc"
