#include "scanner/FileScanner.h"
#include "tests/support/Sandbox.h"

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

// The lines a stand-in recorded, sorted when they are an environment.
QStringList recorded(const Sandbox &sandbox, const char *what)
{
    QStringList lines = QString::fromUtf8(contentsOf(sandbox.base() + QStringLiteral("/record.") +
                                                     QLatin1String(what)))
                            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (qstrcmp(what, "env") == 0)
        lines.sort();
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
    void moveFilesToTrash_goesOnPastFailuresAndRefusals();
    void uninstall_argumentsAndEnvironment_data();
    void uninstall_argumentsAndEnvironment();
    void uninstall_reportsToolResult_data();
    void uninstall_reportsToolResult();
    void uninstall_refusedBeforeRunning_data();
    void uninstall_refusedBeforeRunning();
    void locateTool_data();
    void locateTool();
};

void RemovalTest::moveFilesToTrash_goesOnPastFailuresAndRefusals()
{
    Sandbox sandbox;
    const FileScanner scanner(sandbox.places());
    const TrashResult none = scanner.moveFilesToTrash({});
    QCOMPARE(none.moved, 0);
    QVERIFY(none.failures.isEmpty());

    const QString first =
        sandbox.writeFile(sandbox.homePath(QStringLiteral("Library/Caches/one")), "1");
    const QString missing = sandbox.homePath(QStringLiteral("Library/Caches/two"));
    const QString third =
        sandbox.writeFile(sandbox.homePath(QStringLiteral("Library/Logs/three")), "3");
    const TrashResult result =
        scanner.moveFilesToTrash({fileAt(first), fileAt(missing), fileAt(third)});
    QCOMPARE(result.moved, 2);
    QCOMPARE(result.failures.size(), 1);
    QCOMPARE(result.failures.first().file.path, missing);
    QCOMPARE(result.failures.first().error, QStringLiteral("No such file or directory"));
    const QString files = sandbox.homePath(QStringLiteral(".local/share/Trash/files/"));
    QCOMPARE(contentsOf(files + QStringLiteral("one")), QByteArray("1"));
    QCOMPARE(contentsOf(files + QStringLiteral("three")), QByteArray("3"));
    QVERIFY(!lexists(first) && !lexists(third));

    // "/" (what a snapshot entry names) and the home folder are refused, the rest still moves.
    const QString moved = sandbox.writeFile(sandbox.homePath(QStringLiteral("moved")), "moved");
    const AssociatedFile snapshot(QStringLiteral("/"), QStringLiteral("com.apple.TimeMachine.x"),
                                  FileCategory::timeMachineSnapshots, 0, true);
    const TrashResult refused =
        scanner.moveFilesToTrash({snapshot, fileAt(sandbox.home()), fileAt(moved),
                                  fileAt(sandbox.home() + QLatin1Char('/'))});
    QCOMPARE(refused.moved, 1);
    QCOMPARE(refused.failures.size(), 3);
    QCOMPARE(refused.failures[0].file.path, QStringLiteral("/"));
    QVERIFY2(refused.failures[0].error.contains(QStringLiteral("root folder")),
             qPrintable(refused.failures[0].error));
    QCOMPARE(refused.failures[1].file.path, sandbox.home());
    QVERIFY(refused.failures[1].error.contains(QStringLiteral("home folder")));
    QVERIFY(refused.failures[2].error.contains(QStringLiteral("home folder")));
    QVERIFY(!lexists(moved));
    QVERIFY(lexists(sandbox.homePath(QStringLiteral("Library"))));
}

void RemovalTest::uninstall_argumentsAndEnvironment_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("formula") << QStringLiteral("brew") << QStringLiteral("owner/tap/tool@2")
                             << QStringList{QStringLiteral("uninstall"),
                                            QStringLiteral("owner/tap/tool@2")};
    QTest::newRow("cask, hostile name")
        << QStringLiteral("cask") << QStringLiteral("odd name;rm -rf x")
        << QStringList{QStringLiteral("uninstall"), QStringLiteral("--cask"),
                       QStringLiteral("odd name;rm -rf x")};
    QTest::newRow("npm") << QStringLiteral("npm") << QStringLiteral("@scope/tool")
                         << QStringList{QStringLiteral("uninstall"), QStringLiteral("-g"),
                                        QStringLiteral("@scope/tool")};
}

void RemovalTest::uninstall_argumentsAndEnvironment()
{
    QFETCH(QString, tool);
    QFETCH(QString, name);
    QFETCH(QStringList, arguments);
    Sandbox sandbox;
    // The tool also leaves a helper running in the background: it must be gone on return.
    const QString pidFile = sandbox.base() + QStringLiteral("/helper.pid");
    const QString body = QStringLiteral("sleep 1000 & echo $! > '%1'\necho \"$#\"").arg(pidFile);
    const bool npm = tool == QLatin1String("npm");
    writeStandIn(sandbox,
                 npm ? QStringLiteral("/opt/homebrew/bin/npm")
                     : QStringLiteral("/opt/homebrew/bin/brew"),
                 body);
    const FileScanner scanner(sandbox.places());
    qputenv("VERLO_SECRET", "must not leak");
    const UninstallResult result =
        npm ? scanner.uninstallNPMPackage(name)
            : scanner.uninstallHomebrewPackage(name, tool == QLatin1String("cask"));
    qunsetenv("VERLO_SECRET");

    const pid_t helper = static_cast<pid_t>(contentsOf(pidFile).trimmed().toLongLong());
    const QByteArray stat = contentsOf(QStringLiteral("/proc/%1/stat").arg(helper));
    const bool running = helper > 0 && !stat.isEmpty() && !stat.contains(") Z ");
    if (running)
        ::kill(helper, SIGKILL);
    QVERIFY(helper > 0);
    QVERIFY(!running);
    QVERIFY(result.succeeded);
    QCOMPARE(result.output, QString::number(arguments.size()) + QLatin1Char('\n'));
    QCOMPARE(recorded(sandbox, "args"), arguments);
    const QStringList environment{QStringLiteral("HOME=") + sandbox.home(),
                                  QStringLiteral("PATH=") + kToolPath};
    QCOMPARE(recorded(sandbox, "env"), environment);
    QCOMPARE(scanner.toolEnvironment(), (QStringList{environment[1], environment[0]}));
}

void RemovalTest::uninstall_reportsToolResult_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<bool>("succeeded");
    QTest::addColumn<std::optional<QString>>("output");
    QTest::newRow("success, silent") << QString() << true << std::optional<QString>(QString());
    QTest::newRow("failure on stderr")
        << QStringLiteral("echo 'Error: No such keg' >&2; exit 1") << false
        << std::optional<QString>(QStringLiteral("Error: No such keg\n"));
    QTest::newRow("invalid UTF-8") << QStringLiteral("printf 'ok\\n'; printf '\\351t\\351' >&2")
                                   << true << std::optional<QString>();
    QTest::newRow("killed") << QStringLiteral("echo partial; kill -KILL $$") << false
                            << std::optional<QString>(QStringLiteral("partial\n"));
}

void RemovalTest::uninstall_reportsToolResult()
{
    QFETCH(QString, body);
    QFETCH(bool, succeeded);
    QFETCH(std::optional<QString>, output);
    Sandbox sandbox;
    const QString tool = writeStandIn(sandbox, QStringLiteral("/opt/homebrew/bin/brew"), body);
    writeStandIn(sandbox, QStringLiteral("/opt/homebrew/bin/npm"), body);
    const FileScanner scanner(sandbox.places());

    const UninstallResult brew = scanner.uninstallHomebrewPackage(QStringLiteral("wget"), false);
    QCOMPARE(brew.succeeded, succeeded);
    QCOMPARE(brew.output, output);
    const UninstallResult npm = scanner.uninstallNPMPackage(QStringLiteral("typescript"));
    QCOMPARE(npm.succeeded, succeeded);
    QCOMPARE(npm.output, output);
    // The same tool through the plain runners: the output alike, whatever the status.
    QCOMPARE(scanner.runCommand(tool, {}).output, output);
    QCOMPARE(scanner.runCommandForOutput(tool, {}), output);
}

void RemovalTest::uninstall_refusedBeforeRunning_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("installedAt"); // a stand-in; empty: a dangling link as npm
    QTest::addColumn<QString>("message");
    const QString brewMissing = QStringLiteral("brew not found at /opt/homebrew/bin/brew");
    const QString npmMissing = QStringLiteral("npm not found at /opt/homebrew/bin/npm");
    QTest::newRow("brew elsewhere") << QStringLiteral("brew") << QStringLiteral("wget")
                                    << QStringLiteral("/usr/local/bin/brew") << brewMissing;
    QTest::newRow("npm elsewhere") << QStringLiteral("npm") << QStringLiteral("typescript")
                                   << QStringLiteral("/usr/local/bin/npm") << npmMissing;
    QTest::newRow("npm, dangling link")
        << QStringLiteral("npm") << QStringLiteral("typescript") << QString() << npmMissing;
    // A name a package manager would read as an option, or none at all, is never passed on.
    QTest::newRow("empty name") << QStringLiteral("brew") << QString()
                                << QStringLiteral("/opt/homebrew/bin/brew")
                                << QStringLiteral("No package name was given");
    QTest::newRow("option as name")
        << QStringLiteral("npm") << QStringLiteral("--force")
        << QStringLiteral("/opt/homebrew/bin/npm")
        << QStringLiteral("Refusing to uninstall a package named \"--force\"");
}

void RemovalTest::uninstall_refusedBeforeRunning()
{
    QFETCH(QString, tool);
    QFETCH(QString, name);
    QFETCH(QString, installedAt);
    QFETCH(QString, message);
    Sandbox sandbox;
    if (installedAt.isEmpty())
        sandbox.makeSymlink(QStringLiteral("../lib/node_modules/npm/bin/npm-cli.js"),
                            sandbox.systemPath(QStringLiteral("/opt/homebrew/bin/npm")));
    else
        writeStandIn(sandbox, installedAt, QString());
    const FileScanner scanner(sandbox.places());
    const UninstallResult result = tool == QLatin1String("brew")
                                       ? scanner.uninstallHomebrewPackage(name, true)
                                       : scanner.uninstallNPMPackage(name);
    QVERIFY(!result.succeeded);
    QCOMPARE(result.output, message);
    QVERIFY(!lexists(sandbox.base() + QStringLiteral("/record.args")));
    // A tool that cannot be started: no output and status -1.
    const QString missing = sandbox.systemPath(QStringLiteral("/usr/bin/tmutil"));
    const CommandResult notStarted = scanner.runCommand(missing, {});
    QCOMPARE(notStarted.status, -1);
    QCOMPARE(notStarted.output, std::nullopt);
    QCOMPARE(scanner.runCommandForOutput(missing, {}), std::nullopt);
}

void RemovalTest::locateTool_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<std::optional<QString>>("expected");
    QTest::newRow("installed") << QStringLiteral("brew")
                               << std::optional<QString>(QStringLiteral("/opt/homebrew/bin/brew"));
    QTest::newRow("padded answer")
        << QStringLiteral("npm") << std::optional<QString>(QStringLiteral("/usr/local/bin/npm"));
    // Unlike the package managers, "which" runs in this program's own environment.
    QTest::newRow("inherits environment")
        << QStringLiteral("mark") << std::optional<QString>(QStringLiteral("/from/the/program"));
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
    const QString which = writeStandIn(sandbox, QStringLiteral("/usr/bin/which"),
                                       QStringLiteral(R"(echo "which: looking for $1" >&2
case "$1" in
brew) echo /opt/homebrew/bin/brew ;;
npm) printf '  /usr/local/bin/npm \n\n' ;;
mark) echo "$VERLO_LOCATE_MARK" ;;
blank) printf ' \n\t\n' ;;
latin) printf '/opt/caf\351\n' ;;
*) exit 1 ;;
esac)"));
    const FileScanner scanner(sandbox.places());
    qputenv("VERLO_LOCATE_MARK", "/from/the/program");
    const std::optional<QString> found = scanner.locateTool(name);
    qunsetenv("VERLO_LOCATE_MARK");
    QCOMPARE(found, expected);
    QCOMPARE(recorded(sandbox, "args"), QStringList{name});
    // Without any "which" at its fixed place, nothing is found.
    QVERIFY(QFile::remove(which));
    QCOMPARE(scanner.locateTool(name), std::nullopt);
}

QTEST_GUILESS_MAIN(RemovalTest)
#include "tst_removal.moc"
