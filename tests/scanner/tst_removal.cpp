#include "scanner/FileScanner.h"
#include "tests/support/Sandbox.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kToolPath = QStringLiteral(
    "/opt/homebrew/bin:/opt/homebrew/sbin:/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin");

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool lexists(const QString &path)
{
    struct stat st;
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

QStringList linesOf(const QString &path)
{
    QStringList lines = QString::fromUtf8(contentsOf(path)).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// A stand-in for a package manager: records its arguments and the environment it was started
// with (exactly, from /proc, not as a shell would add to it), then does what body says.
QString writeStandIn(const Sandbox &sandbox, const QString &systemPath, const QString &body)
{
    const QString record = sandbox.base() + QStringLiteral("/record");
    return sandbox.writeScript(sandbox.systemPath(systemPath),
                               QStringLiteral("printf '%s\\n' \"$@\" > '%1.args'\n"
                                              "tr '\\0' '\\n' < /proc/$$/environ > '%1.env'\n")
                                       .arg(record) +
                                   body);
}

QStringList recordedArguments(const Sandbox &sandbox)
{
    return linesOf(sandbox.base() + QStringLiteral("/record.args"));
}

QStringList recordedEnvironment(const Sandbox &sandbox)
{
    QStringList environment = linesOf(sandbox.base() + QStringLiteral("/record.env"));
    environment.sort();
    return environment;
}

AssociatedFile fileAt(const QString &path)
{
    return AssociatedFile(path, path.mid(path.lastIndexOf(QLatin1Char('/')) + 1),
                          FileCategory::caches, 0, true);
}

} // namespace

class RemovalTest : public QObject
{
    Q_OBJECT

private slots:
    void moveFilesToTrash_emptyList();
    void moveFilesToTrash_goesOnPastFailures();
    void moveFilesToTrash_refusesRootAndHome();
    void toolEnvironment_isExactlyPathAndHome();
    void runCommand_givesToolsOnlyPathAndHome();
    void runCommand_leftoverChildIsEnded();
    void homebrewUninstall_arguments_data();
    void homebrewUninstall_arguments();
    void uninstall_reportsToolResult_data();
    void uninstall_reportsToolResult();
    void uninstall_missingTool_data();
    void uninstall_missingTool();
    void uninstall_optionLikeName_neverRuns_data();
    void uninstall_optionLikeName_neverRuns();
    void npmUninstall_arguments();
    void locateTool_data();
    void locateTool();
    void locateTool_inheritsEnvironment();
};

void RemovalTest::moveFilesToTrash_emptyList()
{
    Sandbox sandbox;
    const TrashResult result = FileScanner(sandbox.places()).moveFilesToTrash({});
    QCOMPARE(result.moved, 0);
    QVERIFY(result.failures.isEmpty());
}

void RemovalTest::moveFilesToTrash_goesOnPastFailures()
{
    Sandbox sandbox;
    const QString first =
        sandbox.writeFile(sandbox.homePath(QStringLiteral("Library/Caches/one")), "1");
    const QString missing = sandbox.homePath(QStringLiteral("Library/Caches/two"));
    const QString third =
        sandbox.writeFile(sandbox.homePath(QStringLiteral("Library/Logs/three")), "3");

    const TrashResult result =
        FileScanner(sandbox.places())
            .moveFilesToTrash({fileAt(first), fileAt(missing), fileAt(third)});

    QCOMPARE(result.moved, 2);
    QCOMPARE(result.failures.size(), 1);
    QCOMPARE(result.failures.first().file.path, missing);
    QCOMPARE(result.failures.first().error, QStringLiteral("No such file or directory"));
    const QString files = sandbox.homePath(QStringLiteral(".local/share/Trash/files/"));
    QCOMPARE(contentsOf(files + QStringLiteral("one")), QByteArray("1"));
    QCOMPARE(contentsOf(files + QStringLiteral("three")), QByteArray("3"));
    QVERIFY(!lexists(first));
    QVERIFY(!lexists(third));
}

void RemovalTest::moveFilesToTrash_refusesRootAndHome()
{
    Sandbox sandbox;
    const QString kept = sandbox.writeFile(sandbox.homePath(QStringLiteral("kept")), "kept");
    const QString moved = sandbox.writeFile(sandbox.homePath(QStringLiteral("moved")), "moved");
    AssociatedFile snapshot(QStringLiteral("/"), QStringLiteral("com.apple.TimeMachine.2024-01-01"),
                            FileCategory::timeMachineSnapshots, 0, true);

    const TrashResult result =
        FileScanner(sandbox.places())
            .moveFilesToTrash({snapshot, fileAt(sandbox.home()), fileAt(moved),
                               fileAt(sandbox.home() + QLatin1Char('/'))});

    QCOMPARE(result.moved, 1);
    QCOMPARE(result.failures.size(), 3);
    QCOMPARE(result.failures[0].file.path, QStringLiteral("/"));
    QVERIFY2(result.failures[0].error.contains(QStringLiteral("root folder")),
             qPrintable(result.failures[0].error));
    QCOMPARE(result.failures[1].file.path, sandbox.home());
    QVERIFY(result.failures[1].error.contains(QStringLiteral("home folder")));
    QVERIFY(result.failures[2].error.contains(QStringLiteral("home folder")));
    QCOMPARE(contentsOf(kept), QByteArray("kept"));
    QVERIFY(!lexists(moved));
}

void RemovalTest::toolEnvironment_isExactlyPathAndHome()
{
    Sandbox sandbox;
    QCOMPARE(FileScanner(sandbox.places()).toolEnvironment(),
             QStringList(
                 {QStringLiteral("PATH=") + kToolPath, QStringLiteral("HOME=") + sandbox.home()}));
}

void RemovalTest::runCommand_givesToolsOnlyPathAndHome()
{
    Sandbox sandbox;
    qputenv("VERLO_SECRET", "must not leak");
    const QString tool = writeStandIn(sandbox, QStringLiteral("/opt/homebrew/bin/brew"), QString());
    const FileScanner scanner(sandbox.places());
    const CommandResult result = scanner.runCommand(tool, {QStringLiteral("list")});
    const std::optional<QString> output =
        scanner.runCommandForOutput(QStringLiteral("/usr/bin/env"), {});
    qunsetenv("VERLO_SECRET");

    QCOMPARE(result.status, 0);
    QCOMPARE(recordedEnvironment(sandbox), QStringList({QStringLiteral("HOME=") + sandbox.home(),
                                                        QStringLiteral("PATH=") + kToolPath}));
    QCOMPARE(output, QStringLiteral("PATH=%1\nHOME=%2\n").arg(kToolPath, sandbox.home()));

    // A tool that cannot be started: no output and status -1.
    const QString missing = sandbox.systemPath(QStringLiteral("/usr/bin/tmutil"));
    const CommandResult notStarted = scanner.runCommand(missing, {});
    QCOMPARE(notStarted.status, -1);
    QCOMPARE(notStarted.output, std::nullopt);
    QCOMPARE(scanner.runCommandForOutput(missing, {}), std::nullopt);
}

void RemovalTest::runCommand_leftoverChildIsEnded()
{
    Sandbox sandbox;
    const QString pidFile = sandbox.base() + QStringLiteral("/daemon.pid");
    const QString brew = writeStandIn(
        sandbox, QStringLiteral("/opt/homebrew/bin/brew"),
        QStringLiteral("sleep 1000 & echo $! > '%1'\necho 'Uninstalling x'").arg(pidFile));
    const UninstallResult result =
        FileScanner(sandbox.places()).uninstallHomebrewPackage(QStringLiteral("x"), false);
    QVERIFY(result.succeeded);
    QCOMPARE(result.output, QStringLiteral("Uninstalling x\n"));
    const pid_t daemon = static_cast<pid_t>(contentsOf(pidFile).trimmed().toLongLong());
    QVERIFY(daemon > 0);
    const QByteArray stat = contentsOf(QStringLiteral("/proc/%1/stat").arg(daemon));
    const bool running = !stat.isEmpty() && !stat.contains(") Z ");
    if (running)
        ::kill(daemon, SIGKILL);
    QVERIFY(!running);
    Q_UNUSED(brew);
}

void RemovalTest::homebrewUninstall_arguments_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("isCask");
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("formula") << QStringLiteral("wget") << false
                             << QStringList{QStringLiteral("uninstall"), QStringLiteral("wget")};
    QTest::newRow("cask") << QStringLiteral("visual-studio-code") << true
                          << QStringList{QStringLiteral("uninstall"), QStringLiteral("--cask"),
                                         QStringLiteral("visual-studio-code")};
    QTest::newRow("tap formula") << QStringLiteral("owner/tap/tool@2") << false
                                 << QStringList{QStringLiteral("uninstall"),
                                                QStringLiteral("owner/tap/tool@2")};
    QTest::newRow("name with space")
        << QStringLiteral("odd name;rm -rf x") << true
        << QStringList{QStringLiteral("uninstall"), QStringLiteral("--cask"),
                       QStringLiteral("odd name;rm -rf x")};
}

void RemovalTest::homebrewUninstall_arguments()
{
    QFETCH(QString, name);
    QFETCH(bool, isCask);
    QFETCH(QStringList, arguments);
    Sandbox sandbox;
    writeStandIn(sandbox, QStringLiteral("/opt/homebrew/bin/brew"), QStringLiteral("echo \"$#\""));
    const UninstallResult result =
        FileScanner(sandbox.places()).uninstallHomebrewPackage(name, isCask);
    QVERIFY(result.succeeded);
    QCOMPARE(result.output, QString::number(arguments.size()) + QLatin1Char('\n'));
    QCOMPARE(recordedArguments(sandbox), arguments);
}

void RemovalTest::uninstall_reportsToolResult_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<bool>("succeeded");
    QTest::addColumn<std::optional<QString>>("output");
    QTest::newRow("success with output")
        << QStringLiteral("echo 'Uninstalling /opt/homebrew/Cellar/wget/1.24.5... (92 files)'")
        << true
        << std::optional<QString>(
               QStringLiteral("Uninstalling /opt/homebrew/Cellar/wget/1.24.5... (92 files)\n"));
    QTest::newRow("success, silent") << QString() << true << std::optional<QString>(QString());
    QTest::newRow("failure on stderr")
        << QStringLiteral("echo 'Error: No such keg' >&2; exit 1") << false
        << std::optional<QString>(QStringLiteral("Error: No such keg\n"));
    QTest::newRow("failure, silent")
        << QStringLiteral("exit 1") << false << std::optional<QString>(QString());
    QTest::newRow("success, invalid UTF-8")
        << QStringLiteral("printf '\\200\\n'") << true << std::optional<QString>();
    QTest::newRow("failure, invalid UTF-8")
        << QStringLiteral("printf '\\351t\\351' >&2; exit 2") << false << std::optional<QString>();
    QTest::newRow("killed") << QStringLiteral("echo partial; kill -KILL $$") << false
                            << std::optional<QString>(QStringLiteral("partial\n"));
}

void RemovalTest::uninstall_reportsToolResult()
{
    QFETCH(QString, body);
    QFETCH(bool, succeeded);
    QFETCH(std::optional<QString>, output);
    Sandbox sandbox;
    writeStandIn(sandbox, QStringLiteral("/opt/homebrew/bin/brew"), body);
    writeStandIn(sandbox, QStringLiteral("/opt/homebrew/bin/npm"), body);
    const FileScanner scanner(sandbox.places());

    const UninstallResult brew = scanner.uninstallHomebrewPackage(QStringLiteral("wget"), false);
    QCOMPARE(brew.succeeded, succeeded);
    QCOMPARE(brew.output, output);
    const UninstallResult npm = scanner.uninstallNPMPackage(QStringLiteral("typescript"));
    QCOMPARE(npm.succeeded, succeeded);
    QCOMPARE(npm.output, output);
    // The same tool through the plain runners: the output alike, whatever the status.
    const QString tool = sandbox.systemPath(QStringLiteral("/opt/homebrew/bin/brew"));
    QCOMPARE(scanner.runCommand(tool, {}).output, output);
    QCOMPARE(scanner.runCommandForOutput(tool, {}), output);
}

void RemovalTest::uninstall_missingTool_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QString>("elsewhere"); // a stand-in installed somewhere else that must not run
    QTest::addColumn<QString>("message");
    QTest::newRow("brew") << QStringLiteral("brew") << QStringLiteral("/usr/local/bin/brew")
                          << QStringLiteral("brew not found at /opt/homebrew/bin/brew");
    QTest::newRow("npm") << QStringLiteral("npm") << QStringLiteral("/usr/local/bin/npm")
                         << QStringLiteral("npm not found at /opt/homebrew/bin/npm");
    QTest::newRow("npm, brew present")
        << QStringLiteral("npm") << QStringLiteral("/opt/homebrew/bin/brew")
        << QStringLiteral("npm not found at /opt/homebrew/bin/npm");
    QTest::newRow("npm, dangling link") << QStringLiteral("npm") << QString()
                                        << QStringLiteral("npm not found at /opt/homebrew/bin/npm");
}

void RemovalTest::uninstall_missingTool()
{
    QFETCH(QString, tool);
    QFETCH(QString, elsewhere);
    QFETCH(QString, message);
    Sandbox sandbox;
    if (elsewhere.isEmpty())
        sandbox.makeSymlink(QStringLiteral("../lib/node_modules/npm/bin/npm-cli.js"),
                            sandbox.systemPath(QStringLiteral("/opt/homebrew/bin/npm")));
    else
        writeStandIn(sandbox, elsewhere, QString());
    const FileScanner scanner(sandbox.places());
    const UninstallResult result =
        tool == QLatin1String("brew")
            ? scanner.uninstallHomebrewPackage(QStringLiteral("wget"), true)
            : scanner.uninstallNPMPackage(QStringLiteral("typescript"));
    QVERIFY(!result.succeeded);
    QCOMPARE(result.output, message);
    QVERIFY(!lexists(sandbox.base() + QStringLiteral("/record.args")));
}

void RemovalTest::uninstall_optionLikeName_neverRuns_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("empty") << QString();
    QTest::newRow("long option") << QStringLiteral("--force");
    QTest::newRow("short option") << QStringLiteral("-g");
}

void RemovalTest::uninstall_optionLikeName_neverRuns()
{
    QFETCH(QString, name);
    Sandbox sandbox;
    writeStandIn(sandbox, QStringLiteral("/opt/homebrew/bin/brew"), QString());
    writeStandIn(sandbox, QStringLiteral("/opt/homebrew/bin/npm"), QString());
    const FileScanner scanner(sandbox.places());
    const UninstallResult brew = scanner.uninstallHomebrewPackage(name, false);
    const UninstallResult npm = scanner.uninstallNPMPackage(name);
    QVERIFY(!brew.succeeded);
    QVERIFY(!npm.succeeded);
    QVERIFY(brew.output.has_value() && !brew.output->isEmpty());
    QVERIFY(!lexists(sandbox.base() + QStringLiteral("/record.args")));
}

void RemovalTest::npmUninstall_arguments()
{
    Sandbox sandbox;
    writeStandIn(sandbox, QStringLiteral("/opt/homebrew/bin/npm"),
                 QStringLiteral("echo 'removed 1 package in 95ms'"));
    const UninstallResult result =
        FileScanner(sandbox.places()).uninstallNPMPackage(QStringLiteral("@scope/tool"));
    QVERIFY(result.succeeded);
    QCOMPARE(result.output, QStringLiteral("removed 1 package in 95ms\n"));
    QCOMPARE(recordedArguments(sandbox),
             QStringList({QStringLiteral("uninstall"), QStringLiteral("-g"),
                          QStringLiteral("@scope/tool")}));
    QCOMPARE(recordedEnvironment(sandbox), QStringList({QStringLiteral("HOME=") + sandbox.home(),
                                                        QStringLiteral("PATH=") + kToolPath}));
}

void RemovalTest::locateTool_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<std::optional<QString>>("expected");
    QTest::newRow("installed") << QStringLiteral("brew")
                               << std::optional<QString>(QStringLiteral("/opt/homebrew/bin/brew"));
    QTest::newRow("padded answer")
        << QStringLiteral("npm") << std::optional<QString>(QStringLiteral("/usr/local/bin/npm"));
    QTest::newRow("missing") << QStringLiteral("tmutil") << std::optional<QString>();
    QTest::newRow("blank answer") << QStringLiteral("blank") << std::optional<QString>();
    QTest::newRow("invalid UTF-8") << QStringLiteral("latin") << std::optional<QString>();
}

void RemovalTest::locateTool()
{
    QFETCH(QString, name);
    QFETCH(std::optional<QString>, expected);
    Sandbox sandbox;
    // Like which: the path on standard output, complaints on standard error, status 1 when missing.
    writeStandIn(sandbox, QStringLiteral("/usr/bin/which"),
                 QStringLiteral(R"(echo "which: looking for $1" >&2
case "$1" in
brew) echo /opt/homebrew/bin/brew ;;
npm) printf '  /usr/local/bin/npm \n\n' ;;
blank) printf ' \n\t\n' ;;
latin) printf '/opt/caf\351\n' ;;
*) exit 1 ;;
esac)"));
    const FileScanner scanner(sandbox.places());
    QCOMPARE(scanner.locateTool(name), expected);
    QCOMPARE(recordedArguments(sandbox), QStringList{name});
}

void RemovalTest::locateTool_inheritsEnvironment()
{
    Sandbox sandbox;
    // Without any "which" at its fixed place, nothing is found.
    QCOMPARE(FileScanner(sandbox.places()).locateTool(QStringLiteral("sh")), std::nullopt);

    writeStandIn(sandbox, QStringLiteral("/usr/bin/which"), QStringLiteral("echo /bin/$1"));
    qputenv("VERLO_LOCATE_MARK", "from the program");
    const std::optional<QString> found =
        FileScanner(sandbox.places()).locateTool(QStringLiteral("sh"));
    qunsetenv("VERLO_LOCATE_MARK");
    QCOMPARE(found, QStringLiteral("/bin/sh"));
    QVERIFY(recordedEnvironment(sandbox).contains(
        QStringLiteral("VERLO_LOCATE_MARK=from the program")));
    QVERIFY(recordedEnvironment(sandbox).contains(QStringLiteral("HOME=") + sandbox.home()));

    // The real machine's "which" finds the real shell.
    const std::optional<QString> real = FileScanner().locateTool(QStringLiteral("sh"));
    QVERIFY(real.has_value());
    QVERIFY(real->startsWith(QLatin1Char('/')) && real->endsWith(QStringLiteral("/sh")));
    QCOMPARE(FileScanner().locateTool(QStringLiteral("verlo-no-such-tool-anywhere")), std::nullopt);
}

QTEST_GUILESS_MAIN(RemovalTest)
#include "tst_removal.moc"
