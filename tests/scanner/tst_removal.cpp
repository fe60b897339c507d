#include "scanner/FileScanner.h"
#include "scanner/FlatpakSource.h"
#include "scanner/HomebrewSource.h"
#include "scanner/NPMSource.h"
#include "scanner/RunningPrograms.h"
#include "scanner/SnapSource.h"
#include "scanner/SystemPackageSource.h"
#include "tests/support/Sandbox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <signal.h>
#include <unistd.h>

namespace {

const QString kToolPath = QStringLiteral(
    "/opt/homebrew/bin:/opt/homebrew/sbin:/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin");

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The lines a stand-in recorded, sorted when they are an environment.
QStringList recorded(const Sandbox &box, const char *what)
{
    QStringList lines = QString::fromUtf8(contentsOf(box.base() + "/record." + what))
                            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (qstrcmp(what, "env") == 0)
        lines.sort();
    return lines;
}

// A stand-in for a package manager: records its arguments and the environment it was started
// with (exactly, from /proc, not as a shell would add to it), then does what body says.
QString writeStandIn(const Sandbox &box, const QString &systemPath, const QString &body)
{
    return box.writeScript(box.systemPath(systemPath),
                           QStringLiteral("printf '%s\\n' \"$@\" > '%1.args'\n"
                                          "tr '\\0' '\\n' < /proc/$$/environ > '%1.env'\n")
                                   .arg(box.base() + "/record") +
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
    void moveFilesToTrash_goesOnPastFailuresAndRefusals()
    {
        Sandbox box;
        const QString first = box.writeFile(box.homePath("Library/Caches/one"), "1");
        const QString missing = box.homePath("Library/Caches/two");
        const QString third = box.writeFile(box.homePath("Library/Logs/three"), "3");
        // "/" (what a snapshot entry names) and the home folder are refused, the rest still moves.
        const AssociatedFile snapshot("/", "com.apple.TimeMachine.x",
                                      FileCategory::timeMachineSnapshots, 0, true);
        const TrashResult result =
            FileScanner(box.places())
                .moveFilesToTrash({fileAt(first), snapshot, fileAt(missing), fileAt(box.home()),
                                   fileAt(third), fileAt(box.home() + '/')});
        QCOMPARE(result.moved, 2);
        QStringList failures;
        for (const TrashFailure &failure : result.failures)
            failures.append(failure.file.path + " | " + failure.error);
        const QString home = " | Verlo never moves the home folder to the Trash";
        QCOMPARE(failures, (QStringList{"/ | Verlo never moves the root folder to the Trash",
                                        missing + " | No such file or directory", box.home() + home,
                                        box.home() + '/' + home}));
        const QString files = box.homePath(".local/share/Trash/files/");
        QCOMPARE(contentsOf(files + "one") + contentsOf(files + "three"), QByteArray("13"));
        QVERIFY(!QFileInfo::exists(first) && !QFileInfo::exists(third));
        QVERIFY(QFileInfo::exists(box.homePath("Library")));
    }

    // Each item is claimed in the Trash (its record written) before it moves and told once there;
    // a refused claim (a record that cannot be kept) leaves its item in place. A stop (the
    // cancellation flag, which closing the window sets) lets the item being moved finish.
    void moveFilesToTrash_claimsEachItemFirstAndStopsBetweenItems()
    {
        Sandbox box;
        QList<AssociatedFile> files;
        for (const char *name : {"c0", "c1", "c2", "c3"})
            files.append(fileAt(box.writeFile(box.homePath("Library/Caches/") + name, name)));
        FileScanner scanner(box.places());
        const auto stop = std::make_shared<std::atomic_bool>(false);
        scanner.setCancellationFlag(stop);
        const QString info = box.homePath(".local/share/Trash/info/");
        QStringList steps;
        TrashObserver observer;
        observer.claimed = [&](const TrashedItem &item) {
            const bool first = QFileInfo::exists(info + item.name + ".trashinfo") &&
                               QFileInfo::exists(item.originalPath);
            steps.append(item.name + (first ? " claimed" : " late"));
            stop->store(item.name == "c2");
            return item.name == "c1" ? QString("disk full") : QString();
        };
        observer.trashed = [&](const TrashedItem &item) { steps.append(item.name + " trashed"); };
        const TrashResult result = scanner.moveFilesToTrash(files, observer);
        QCOMPARE(steps, (QStringList{"c0 claimed", "c0 trashed", "c1 claimed", "c2 claimed",
                                     "c2 trashed"}));
        QCOMPARE(result.failures.value(0).error, QString("disk full"));
        QCOMPARE((QList<qsizetype>{result.moved, result.failures.size(), result.notTried}),
                 (QList<qsizetype>{2, 1, 1}));
        QVERIFY(QFileInfo::exists(files[1].path) && QFileInfo::exists(files[3].path));
        QCOMPARE(QDir(info).entryList(QDir::Files), (QStringList{"c0.trashinfo", "c2.trashinfo"}));
    }

    void uninstall_exactArgumentsAndEnvironment_helpersEnded()
    {
        Sandbox box;
        // The tools also leave a helper running in the background: it must be gone on return.
        const QString pidFile = box.base() + "/helper.pid";
        const QString body =
            QStringLiteral("sleep 1000 & echo $! > '%1'\necho \"$#\"").arg(pidFile);
        writeStandIn(box, "/opt/homebrew/bin/brew", body);
        writeStandIn(box, "/opt/homebrew/bin/npm", body);
        const FileScanner scanner(box.places());
        const QStringList environment{"HOME=" + box.home(), "PATH=" + kToolPath};
        QCOMPARE(scanner.toolEnvironment(), (QStringList{environment[1], environment[0]}));
        // Tool ("cask": brew with --cask), package name, the arguments the tool must get.
        const std::tuple<QString, QString, QStringList> cases[] = {
            {"brew", "owner/tap/tool@2", {"uninstall", "owner/tap/tool@2"}},
            {"cask", "odd name;rm -rf x", {"uninstall", "--cask", "odd name;rm -rf x"}},
            {"npm", "@scope/tool", {"uninstall", "-g", "@scope/tool"}},
        };
        for (const auto &[tool, name, arguments] : cases) {
            QFile::remove(pidFile);
            qputenv("VERLO_SECRET", "must not leak");
            const UninstallResult result =
                tool == "npm" ? scanner.uninstallNPMPackage(name)
                              : scanner.uninstallHomebrewPackage(name, tool == "cask");
            qunsetenv("VERLO_SECRET");
            const pid_t helper = static_cast<pid_t>(contentsOf(pidFile).trimmed().toLongLong());
            const QByteArray stat = contentsOf(QStringLiteral("/proc/%1/stat").arg(helper));
            const bool running = helper > 0 && !stat.isEmpty() && !stat.contains(") Z ");
            if (running)
                ::kill(helper, SIGKILL);
            QVERIFY2(helper > 0 && !running, qPrintable(tool));
            QVERIFY(result.succeeded);
            QCOMPARE(result.output, QString::number(arguments.size()) + '\n');
            QCOMPARE(recorded(box, "args"), arguments);
            QCOMPARE(recorded(box, "env"), environment);
        }
    }

    // Success by the tool's status, both streams as the output, nothing when that is not UTF-8; the
    // plain runners give the same output whatever the status.
    void uninstall_reportsToolResult()
    {
        Sandbox box;
        const FileScanner scanner(box.places());
        const std::tuple<QString, bool, std::optional<QString>> cases[] = {
            {"", true, ""},
            {"echo 'Error: No such keg' >&2; exit 1", false, "Error: No such keg\n"},
            {"printf 'ok\\n'; printf '\\351t\\351' >&2", true, std::nullopt},
            {"echo partial; kill -KILL $$", false, "partial\n"},
        };
        for (const auto &[body, succeeded, output] : cases) {
            const QString tool = writeStandIn(box, "/opt/homebrew/bin/brew", body);
            writeStandIn(box, "/opt/homebrew/bin/npm", body);
            for (const UninstallResult &result : {scanner.uninstallHomebrewPackage("wget", false),
                                                  scanner.uninstallNPMPackage("typescript")}) {
                QCOMPARE(result.succeeded, succeeded);
                QCOMPARE(result.output, output);
            }
            QCOMPARE(scanner.runCommand(tool, {}).output, output);
            QCOMPARE(scanner.runCommandForOutput(tool, {}), output);
        }
    }

    void uninstall_refusedBeforeRunning()
    {
        Sandbox box;
        const FileScanner scanner(box.places());
        const auto refusal = [&](bool brew, const QString &name) {
            const UninstallResult result = brew ? scanner.uninstallHomebrewPackage(name, true)
                                                : scanner.uninstallNPMPackage(name);
            return result.succeeded ? QStringLiteral("succeeded") : result.output.value_or("none");
        };
        // Not where it is looked for, or npm a dangling link there: the message names the places.
        writeStandIn(box, "/usr/local/bin/brew", {});
        QCOMPARE(refusal(true, "wget"), "brew not found at /opt/homebrew/bin/brew");
        box.makeDir(box.homePath(".linuxbrew"));
        QCOMPARE(refusal(true, "wget"), "brew not found at " + box.homePath(".linuxbrew/bin/brew"));
        const QString npm = box.systemPath("/opt/homebrew/bin/npm");
        box.makeSymlink("../lib/node_modules/npm/bin/npm-cli.js", npm);
        QCOMPARE(refusal(false, "typescript"),
                 "npm not found at /opt/homebrew/bin/npm, /usr/local/bin/npm, /usr/bin/npm or "
                 "~/.npm-global/bin/npm, nor on the search path");
        // A name a package manager would read as an option, or none at all, is never passed on.
        QVERIFY(QFile::remove(npm));
        writeStandIn(box, "/opt/homebrew/bin/brew", {});
        writeStandIn(box, "/opt/homebrew/bin/npm", {});
        QCOMPARE(refusal(true, ""), "No package name was given");
        QCOMPARE(refusal(false, "--force"), "Refusing to uninstall a package named \"--force\"");
        QVERIFY(!QFileInfo::exists(box.base() + "/record.args"));
        // A tool that cannot be started: no output and status -1.
        const QString missing = box.systemPath("/usr/bin/tmutil");
        const CommandResult notStarted = scanner.runCommand(missing, {});
        QCOMPARE(notStarted.status, -1);
        QCOMPARE(notStarted.output, std::nullopt);
        QCOMPARE(scanner.runCommandForOutput(missing, {}), std::nullopt);
    }

    // Each package tool through the one interface: there once its tool is, the removal it shows,
    // and a name it refuses before anything runs.
    void packageSources_answerForTheirTool()
    {
        Sandbox box;
        const Machine machine(box.places());
        const NPMSource npm(machine);
        const HomebrewSource brew(machine);
        const SystemPackageSource system(machine);
        const FlatpakSource flatpak(machine);
        const SnapSource snap(machine);
        struct Case
        {
            const PackageSource &source;
            QString tool;
            PackageRef package;
            std::optional<QString> shown;
            QString refusal; // of the package named "-x"
        };
        const Case cases[] = {
            {npm,
             "/opt/homebrew/bin/npm",
             {"typescript"},
             std::nullopt,
             "Refusing to uninstall a package named \"-x\""},
            {brew,
             "/opt/homebrew/bin/brew",
             {"wget", true},
             std::nullopt,
             "Refusing to uninstall a package named \"-x\""},
            {system,
             "/usr/bin/dpkg-query",
             {"vim"},
             "sudo apt remove vim",
             "The system's packages are not removed by Verlo."},
            {flatpak,
             "/usr/bin/flatpak",
             {"org.x.Y", false, true},
             "flatpak uninstall --noninteractive --user org.x.Y",
             "Refusing to uninstall a Flatpak named \"-x\""},
            {snap,
             "/usr/bin/snap",
             {"hello"},
             "snap remove hello",
             "Refusing to remove a Snap named \"-x\""},
        };
        for (const Case &row : cases) {
            if (row.tool.startsWith("/usr/bin/")) // the others are also looked for on PATH
                QVERIFY2(!row.source.isAvailable(), qPrintable(row.tool));
            writeStandIn(box, row.tool, {});
            QVERIFY2(row.source.isAvailable(), qPrintable(row.tool));
            QCOMPARE(row.source.removalCommandText(row.package), row.shown);
            PackageRef option = row.package;
            option.name = "-x";
            const UninstallResult refused = row.source.uninstall(option);
            QVERIFY(!refused.succeeded);
            QCOMPARE(refused.output, row.refusal);
        }
        QCOMPARE(system.uninstall({"vim"}).output,
                 QString("The system package \"vim\" is not removed by Verlo. To remove it, "
                         "run: sudo apt remove vim"));
        QVERIFY(!QFileInfo::exists(box.base() + "/record.args"));
    }

    // A process of the user runs an application: a program inside its bundle, the entry's
    // program by path or name or as a script an interpreter runs, any process in its Flatpak or
    // Snap; not once it has ended, nor another user's.
    void findRunningProcess_tellsWhichApplicationRuns()
    {
        Sandbox box;
        const QString proc = box.makeDir(box.systemPath("/proc"));
        const auto fakeProcess = [&](int pid, uint uid, const QByteArray &cgroup) {
            const QString folder = proc + u'/' + QString::number(pid);
            box.writeFile(folder + "/status",
                          "Name:\tx\nUid:\t" + QByteArray::number(uid) + "\t0\n");
            box.writeFile(folder + "/cgroup", cgroup);
            return folder;
        };
        fakeProcess(70001, ::getuid(),
                    "0::/user.slice/app.slice/app-flatpak-org.example.Maps-42.scope\n");
        fakeProcess(70002, ::getuid(), "0::/user.slice/app.slice/snap.inkpad.inkpad-1f2e.scope\n");
        fakeProcess(70003, ::getuid() + 1, "0::/app-flatpak-org.example.Other-1.scope\n");
        box.writeFile(fakeProcess(70004, ::getuid(), "0::/\n") + "/root/.flatpak-info",
                      "[Application]\nname=org.example.Draw\n");
        const QString bundle = box.makeAppBundle(box.systemPath("/Applications"), "Sketch.app", {});
        const QString program = box.makeDir(bundle + "/Contents/MacOS") + "/Sketch";
        QVERIFY(QFile::copy(QStandardPaths::findExecutable("sleep"), program));
        QVERIFY(QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner));
        box.makeSymlink(program, box.systemPath("/usr/bin/sketch"));
        const QString script = box.writeScript(box.homePath(".local/bin/notepad"), "read -r line");
        QProcess bundled, scripted;
        for (auto &[process, path] : {std::pair{&bundled, program}, {&scripted, script}}) {
            process->start(path, {"1000"});
            QVERIFY(process->waitForStarted());
            QVERIFY(QFile::link("/proc/" + QString::number(process->processId()),
                                proc + u'/' + QString::number(process->processId())));
        }
        const auto entry = [](InstallationKind kind, const QString &execName,
                              const QString &execPath) {
            AppInfo app(execName, std::nullopt, "/entry.desktop");
            app.installation = kind;
            app.execName = execName;
            app.execPath = execPath;
            app.flatpakID = execName;
            app.snapName = execName;
            return app;
        };
        const AppInfo sketch("Sketch", std::nullopt, bundle);
        const std::tuple<AppInfo, qint64, QString> rows[] = {
            {sketch, bundled.processId(), "Sketch"},
            {entry(InstallationKind::systemPackage, "Sketch", {}), bundled.processId(), "Sketch"},
            {entry(InstallationKind::systemPackage, "sketch", "/usr/bin/sketch"),
             bundled.processId(), "sketch"}, // the program Exec names leads to it
            {entry(InstallationKind::homeFolder, "notepad", script), scripted.processId(),
             "notepad"},
            {entry(InstallationKind::homeFolder, "notepad", "/usr/bin/notepad"), 0, {}},
            {entry(InstallationKind::flatpak, "org.example.Maps", {}), 70001, "org.example.Maps"},
            {entry(InstallationKind::snap, "inkpad", {}), 70002, "inkpad"},
            {entry(InstallationKind::flatpak, "org.example.Other", {}), 0, {}},
            {entry(InstallationKind::flatpak, "org.example.Draw", {}), 70004, "org.example.Draw"},
        };
        for (const auto &[app, pid, name] : rows) {
            const auto found = findRunningProcess(box.places(), FileManager(), app);
            QCOMPARE(app.execPath + u' ' +
                         (found ? found->program + u' ' + QString::number(found->pid) : "none"),
                     app.execPath + u' ' + (pid ? name + u' ' + QString::number(pid) : "none"));
        }
        bundled.kill();
        QVERIFY(bundled.waitForFinished());
        QCOMPARE(findRunningProcess(box.places(), FileManager(), sketch).has_value(), false);
        scripted.kill();
        QVERIFY(scripted.waitForFinished());
    }

    void locateTool_readsWhichOutputInTheProgramsEnvironment()
    {
        Sandbox box;
        // Like which: the path on standard output, complaints on standard error, status 1 when
        // not found.
        const QString which =
            writeStandIn(box, "/usr/bin/which", R"(echo "which: looking for $1" >&2
case "$1" in
brew) echo /opt/homebrew/bin/brew ;;
npm) printf '  /usr/local/bin/npm \n\n' ;;
mark) echo "$VERLO_LOCATE_MARK" ;;
blank) printf ' \n\t\n' ;;
latin) printf '/opt/caf\351\n' ;;
*) exit 1 ;;
esac)");
        const FileScanner scanner(box.places());
        // Unlike the package managers, "which" runs in this program's own environment ("mark").
        // clang-format off
        const std::pair<const char *, std::optional<QString>> rows[] = {
            {"brew", "/opt/homebrew/bin/brew"}, {"npm", "/usr/local/bin/npm"},
            {"mark", "/from/the/program"}, {"tmutil", std::nullopt}, {"blank", std::nullopt},
            {"latin", std::nullopt}, // not UTF-8
        };
        // clang-format on
        qputenv("VERLO_LOCATE_MARK", "/from/the/program");
        for (const auto &[name, expected] : rows) {
            QCOMPARE(name + (": " + scanner.locateTool(name).value_or("none")),
                     name + (": " + expected.value_or("none")));
            QCOMPARE(recorded(box, "args"), QStringList{name});
        }
        qunsetenv("VERLO_LOCATE_MARK");
        // Without any "which" at its fixed place, nothing is found.
        QVERIFY(QFile::remove(which));
        QCOMPARE(scanner.locateTool("brew"), std::nullopt);
    }
};

QTEST_GUILESS_MAIN(RemovalTest)
#include "tst_removal.moc"
