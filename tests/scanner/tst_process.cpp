#include "scanner/Process.h"
#include "tests/support/Sandbox.h"

#include <QFile>
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
    if (stat.isEmpty())
        return false;
    const qsizetype close = stat.lastIndexOf(')');
    return close > 0 && close + 2 < stat.size() && stat.at(close + 2) != 'Z' &&
           stat.at(close + 2) != 'X';
}

pid_t recordedPid(const QString &file)
{
    return static_cast<pid_t>(contentsOf(file).trimmed().toLongLong());
}

ProcessResult runScript(const Sandbox &sandbox, const QString &body,
                        const QStringList &arguments = {})
{
    static int counter = 0;
    const QString script =
        sandbox.writeScript(sandbox.base() + QStringLiteral("/bin/tool%1").arg(++counter), body);
    Process process(script, arguments);
    process.setEnvironment({QStringLiteral("PATH=/usr/bin:/bin")});
    return process.run();
}

} // namespace

class ProcessTest : public QObject
{
    Q_OBJECT

private slots:
    void bothStreams_inOneCaptureInOrder();
    void arguments_passedAsTheyAre();
    void environment_exactOrInherited();
    void standardInput_isClosed();
    void exitStatus_reported_data();
    void exitStatus_reported();
    void notStarted_data();
    void notStarted();
    void standardError_canBeLeftAlone();
    void text_strictUtf8_data();
    void text_strictUtf8();
    void largeOutput_keepsHeadAndTail();
    void cuts_fallBetweenCharacters_data();
    void cuts_fallBetweenCharacters();
    void leftoverChildren_areEnded_data();
    void leftoverChildren_areEnded();
    void leftoverChildren_getToEndPolitely();
    void escapedChild_holdingOutput_doesNotBlock();
    void parallelRuns_keepTheirOwnOutput();
};

void ProcessTest::bothStreams_inOneCaptureInOrder()
{
    Sandbox sandbox;
    const ProcessResult result = runScript(
        sandbox, QStringLiteral("printf 'out 1\\n'; printf 'err 1\\n' >&2; printf 'out 2\\n'; "
                                "printf 'err 2' >&2"));
    QVERIFY(result.started);
    QCOMPARE(result.status, 0);
    QCOMPARE(result.text(), QStringLiteral("out 1\nerr 1\nout 2\nerr 2"));
    QCOMPARE(result.omittedBytes, qint64(0));
}

void ProcessTest::arguments_passedAsTheyAre()
{
    Sandbox sandbox;
    const QStringList arguments{QStringLiteral("two words"),   QString(),
                                QStringLiteral("$HOME"),       QStringLiteral("*"),
                                QStringLiteral("a;b|c"),       QStringLiteral("'\"`"),
                                QStringLiteral("line\nbreak"), QStringLiteral("--cask"),
                                QStringLiteral("naïve")};
    const ProcessResult result = runScript(
        sandbox, QStringLiteral("for a in \"$@\"; do printf '<%s>' \"$a\"; done"), arguments);
    QString expected;
    for (const QString &argument : arguments)
        expected += QLatin1Char('<') + argument + QLatin1Char('>');
    QCOMPARE(result.text(), expected);
}

void ProcessTest::environment_exactOrInherited()
{
    Sandbox sandbox;
    qputenv("VERLO_PROCESS_MARK", "inherited");
    Process exact(QStringLiteral("/usr/bin/env"), {});
    exact.setEnvironment({QStringLiteral("PATH=/nowhere"), QStringLiteral("HOME=/home/some one"),
                          QStringLiteral("EMPTY=")});
    const ProcessResult exactResult = exact.run();
    const ProcessResult inherited = Process(QStringLiteral("/usr/bin/env"), {}).run();
    qunsetenv("VERLO_PROCESS_MARK");

    QCOMPARE(exactResult.text(), QStringLiteral("PATH=/nowhere\nHOME=/home/some one\nEMPTY=\n"));
    QVERIFY(inherited.text()->contains(QStringLiteral("VERLO_PROCESS_MARK=inherited\n")));
}

void ProcessTest::standardInput_isClosed()
{
    Sandbox sandbox;
    // Were standard input inherited, these would wait for a terminal or the test runner.
    const ProcessResult result =
        runScript(sandbox, QStringLiteral("cat; if read line; then echo got; else echo eof; fi; "
                                          "ls -l /proc/$$/fd/0 | sed 's/.*-> //'"));
    QCOMPARE(result.text(), QStringLiteral("eof\n/dev/null\n"));
}

void ProcessTest::exitStatus_reported_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<int>("status");
    QTest::newRow("success") << QStringLiteral("true") << 0;
    QTest::newRow("failure") << QStringLiteral("exit 3") << 3;
    QTest::newRow("255") << QStringLiteral("exit 255") << 255;
    QTest::newRow("killed") << QStringLiteral("kill -KILL $$") << 128 + SIGKILL;
    QTest::newRow("terminated") << QStringLiteral("kill -TERM $$") << 128 + SIGTERM;
    // This program may ignore SIGPIPE; the child must not inherit that.
    QTest::newRow("broken pipe") << QStringLiteral("kill -PIPE $$") << 128 + SIGPIPE;
}

void ProcessTest::exitStatus_reported()
{
    QFETCH(QString, body);
    QFETCH(int, status);
    Sandbox sandbox;
    // Run as a program that ignores SIGPIPE would (as many do, to survive closed sockets).
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    struct sigaction saved = {};
    ::sigaction(SIGPIPE, &ignore, &saved);
    const ProcessResult result = runScript(sandbox, body);
    ::sigaction(SIGPIPE, &saved, nullptr);
    QVERIFY(result.started);
    QCOMPARE(result.status, status);
}

void ProcessTest::notStarted_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing") << QStringLiteral("missing");
    QTest::newRow("relative") << QStringLiteral("relative");
    QTest::newRow("not executable") << QStringLiteral("plain");
    QTest::newRow("folder") << QStringLiteral("folder");
    QTest::newRow("empty") << QStringLiteral("empty");
}

void ProcessTest::notStarted()
{
    QFETCH(QString, kind);
    Sandbox sandbox;
    QString executable;
    if (kind == QLatin1String("missing"))
        executable = sandbox.base() + QStringLiteral("/bin/none");
    else if (kind == QLatin1String("relative"))
        executable = QStringLiteral("sh");
    else if (kind == QLatin1String("plain"))
        executable = sandbox.writeFile(sandbox.base() + QStringLiteral("/bin/plain"),
                                       "#!/bin/sh\necho hi\n");
    else if (kind == QLatin1String("folder"))
        executable = sandbox.makeDir(sandbox.base() + QStringLiteral("/bin"));
    const ProcessResult result =
        Process(executable, {QStringLiteral("-c"), QStringLiteral("echo hi")}).run();
    QVERIFY(!result.started);
    QCOMPARE(result.status, -1);
    QCOMPARE(result.text(), std::nullopt);
}

void ProcessTest::standardError_canBeLeftAlone()
{
    Sandbox sandbox;
    const QString script = sandbox.writeScript(sandbox.base() + QStringLiteral("/bin/split"),
                                               QStringLiteral("echo visible; echo hidden >&2"));
    Process process(script, {});
    process.setCaptureStandardError(false);
    QCOMPARE(process.run().text(), QStringLiteral("visible\n"));
}

void ProcessTest::text_strictUtf8_data()
{
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<bool>("valid");
    QTest::newRow("ASCII") << QByteArray("plain\n") << true;
    QTest::newRow("multi-byte") << QByteArray("caf\xc3\xa9 \xe6\x97\xa5 \xf0\x9f\x8e\x89") << true;
    QTest::newRow("replacement character itself") << QByteArray("\xef\xbf\xbd") << true;
    QTest::newRow("empty") << QByteArray() << true;
    QTest::newRow("Latin-1 byte") << QByteArray("caf\xe9") << false;
    QTest::newRow("lone continuation") << QByteArray("a\x80z") << false;
    QTest::newRow("cut sequence at end") << QByteArray("ok \xe6\x97") << false;
    QTest::newRow("overlong") << QByteArray("\xc0\xaf") << false;
    QTest::newRow("surrogate") << QByteArray("\xed\xa0\x80") << false;
}

void ProcessTest::text_strictUtf8()
{
    QFETCH(QByteArray, output);
    QFETCH(bool, valid);
    Sandbox sandbox;
    const QString data = sandbox.writeFile(sandbox.base() + QStringLiteral("/data"), output);
    const ProcessResult result =
        runScript(sandbox, QStringLiteral("cat \"$1\"; echo ' and more' >&2"), {data});
    QCOMPARE(result.status, 0);
    const std::optional<QString> text = result.text();
    QCOMPARE(text.has_value(), valid);
    if (valid)
        QCOMPARE(*text, QString::fromUtf8(output) + QStringLiteral(" and more\n"));
}

void ProcessTest::largeOutput_keepsHeadAndTail()
{
    Sandbox sandbox;
    // 20 MB of whole lines, then an end marker: far more than a pipe holds and than is kept.
    const ProcessResult result = runScript(
        sandbox, QStringLiteral("printf 'START\\n'; yes 'line of output' | head -c 20000010; "
                                "printf 'LAST LINE\\n' >&2; exit 7"));
    QCOMPARE(result.status, 7);
    const qint64 total = 6 + 20000010 + 10;
    QCOMPARE(qint64(result.head.size()), Process::kDefaultHeadLimit);
    QCOMPARE(qint64(result.tail.size()), Process::kDefaultTailLimit);
    QCOMPARE(result.head.size() + result.tail.size() + result.omittedBytes, total);
    QVERIFY(result.head.startsWith("START\nline of output\n"));
    QVERIFY(result.tail.endsWith("line of output\nLAST LINE\n"));
    const std::optional<QString> text = result.text();
    QVERIFY(text);
    QVERIFY(text->contains(QStringLiteral("\n… %1 bytes omitted …\n").arg(result.omittedBytes)));
    QVERIFY(text->endsWith(QStringLiteral("LAST LINE\n")));
}

void ProcessTest::cuts_fallBetweenCharacters_data()
{
    QTest::addColumn<int>("head");
    QTest::addColumn<int>("tail");
    for (int head = 0; head <= 4; ++head)
        for (int tail = 1; tail <= 4; ++tail)
            QTest::addRow("head %d, tail %d", head, tail) << head << tail;
}

void ProcessTest::cuts_fallBetweenCharacters()
{
    QFETCH(int, head);
    QFETCH(int, tail);
    Sandbox sandbox;
    // Four-byte characters: wherever the limits cut, the kept text must still be valid.
    const QString script = sandbox.writeScript(
        sandbox.base() + QStringLiteral("/bin/emoji"),
        QStringLiteral("printf '\\360\\237\\216\\211%.0s' 1 2 3 4 5 6 7 8 9 10"));
    Process process(script, {});
    process.setOutputLimits(head, tail);
    const ProcessResult result = process.run();
    QVERIFY(result.head.size() <= head && result.tail.size() <= tail);
    QCOMPARE(result.head.size() + result.tail.size() + result.omittedBytes, qint64(40));
    const std::optional<QString> text = result.text();
    QVERIFY(text);
    const QString party = QString::fromUtf8("\xf0\x9f\x8e\x89");
    QCOMPARE(text->left(2 * (result.head.size() / 4)), party.repeated(result.head.size() / 4));
    QVERIFY(text->contains(QStringLiteral("bytes omitted")));
}

void ProcessTest::leftoverChildren_areEnded_data()
{
    QTest::addColumn<QString>("body");
    QTest::newRow("background child")
        << QStringLiteral("sleep 1000 & echo $! > \"$1\"; echo started");
    QTest::newRow("ignores SIGTERM")
        << QStringLiteral("sh -c 'trap \"\" TERM; echo $$ > \"$1\"; exec sleep 1000' sh \"$1\" & "
                          "while [ ! -s \"$1\" ]; do sleep 0.01; done; echo started");
    QTest::newRow("grandchild") << QStringLiteral(
        "sh -c 'sleep 1000 & echo $! > \"$1\"' sh \"$1\"; echo started");
}

void ProcessTest::leftoverChildren_areEnded()
{
    QFETCH(QString, body);
    Sandbox sandbox;
    const QString pidFile = sandbox.base() + QStringLiteral("/child.pid");
    const ProcessResult result = runScript(sandbox, body, {pidFile});
    QCOMPARE(result.text(), QStringLiteral("started\n"));
    const pid_t child = recordedPid(pidFile);
    QVERIFY(child > 0);
    // The call has returned; the helper must already be gone, not merely on its way.
    const bool running = isRunning(child);
    if (running)
        ::kill(child, SIGKILL);
    QVERIFY(!running);
}

void ProcessTest::leftoverChildren_getToEndPolitely()
{
    Sandbox sandbox;
    const QString note = sandbox.base() + QStringLiteral("/note");
    // A helper that tidies up on SIGTERM is asked to end before it is killed.
    const ProcessResult result =
        runScript(sandbox,
                  QStringLiteral(
                      "sh -c 'trap \"echo tidied > \\\"$1\\\"; exit 0\" TERM; echo ready > \"$1\"; "
                      "sleep 1000 & wait' sh \"$1\" & "
                      "while [ ! -s \"$1\" ]; do sleep 0.01; done; echo started"),
                  {note});
    QCOMPARE(result.text(), QStringLiteral("started\n"));
    QCOMPARE(contentsOf(note), QByteArray("tidied\n"));
}

void ProcessTest::escapedChild_holdingOutput_doesNotBlock()
{
    Sandbox sandbox;
    const QString pidFile = sandbox.base() + QStringLiteral("/escaped.pid");
    // A helper in a session of its own keeps the output pipe open and is out of reach of the
    // group: the call must still return once the tool itself has exited.
    const ProcessResult result = runScript(
        sandbox, QStringLiteral("setsid sleep 1000 & echo $! > \"$1\"; echo done"), {pidFile});
    const pid_t escaped = recordedPid(pidFile);
    if (escaped > 0)
        ::kill(escaped, SIGKILL);
    QCOMPARE(result.status, 0);
    QCOMPARE(result.text(), QStringLiteral("done\n"));
}

void ProcessTest::parallelRuns_keepTheirOwnOutput()
{
    Sandbox sandbox;
    const QString script = sandbox.writeScript(
        sandbox.base() + QStringLiteral("/bin/echoer"),
        QStringLiteral("i=0; while [ $i -lt 2000 ]; do echo \"$1 $i\"; i=$((i+1)); done; exit $2"));
    constexpr int kThreads = 6;
    std::vector<ProcessResult> results(kThreads);
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back([&, i] {
            results[i] =
                Process(script, {QStringLiteral("run%1").arg(i), QString::number(i)}).run();
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    for (int i = 0; i < kThreads; ++i) {
        QCOMPARE(results[i].status, i);
        const QStringList lines = results[i].text()->split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2000);
        QCOMPARE(lines.first(), QStringLiteral("run%1 0").arg(i));
        QCOMPARE(lines.last(), QStringLiteral("run%1 1999").arg(i));
        QCOMPARE(lines.filter(QStringLiteral("run%1 ").arg(i)).size(), 2000);
    }
}

QTEST_GUILESS_MAIN(ProcessTest)
#include "tst_process.moc"
