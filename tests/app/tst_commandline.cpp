// The verlo program's commands, run as a child process over sandbox machines: what they print
// matches what the view model shows for the same machine, and what they move comes back.

#include "demo/DesktopMachineBuilder.h"
#include "demo/MachineBuilder.h"
#include "model/ByteCountFormat.h"
#include "tests/support/Sandbox.h"
#include "viewmodel/CategoryEnums.h"
#include "viewmodel/ContentViewModel.h"
#include "viewmodel/FileGroupListModel.h"
#include "viewmodel/RemovalRecord.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <signal.h>
#include <sys/stat.h>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

#define SETTLE(vm) QTRY_VERIFY_WITH_TIMEOUT(!(vm).hasPendingWork(), 20000)

struct Run
{
    int status = -1;
    QString out;
    QString err;
    QJsonObject json() const { return QJsonDocument::fromJson(out.toUtf8()).object(); }
};

// The machine: Aurora with leftovers (one whose name is not exact text), two applications named
// Notes, a desktop entry and an AppImage, an npm package and a formula with stand-in tools (and
// an application named as the formula), and Time Machine snapshots.
struct SampleMachine
{
    Sandbox sandbox;
    MachineBuilder builder{sandbox};
    QString aurora;

    SampleMachine()
    {
        const QString apps = sandbox.systemPath(u"/Applications"_s);
        aurora = sandbox.makeAppBundle(
            apps, u"Aurora.app"_s,
            {{"CFBundleIdentifier", "io.aurora.mail"}, {"CFBundleName", "Aurora"}});
        sandbox.makeAppBundle(apps, u"Notes.app"_s, {{"CFBundleName", "Notes"}});
        sandbox.makeAppBundle(sandbox.homePath(u"Applications"_s), u"Notes.app"_s,
                              {{"CFBundleName", "Notes"}});
        const DesktopMachineBuilder desktop(sandbox, builder);
        desktop.addDesktopEntry(desktop.systemData(), u"ledger.desktop"_s, u"Ledger"_s,
                                u"/usr/bin/true"_s);
        desktop.addAppImage(u"Applications/Kiln-2.0-x86_64.AppImage"_s);
        sandbox.writeFileOfSize(sandbox.homePath(u"Library/Preferences/io.aurora.mail.plist"_s),
                                1000);
        sandbox.writeFileOfSize(sandbox.homePath(u"Library/Caches/io.aurora.mail/blob"_s), 8192);
        sandbox.writeFileOfSize(sandbox.homePath(u"Library/Application Support/Aurora/db"_s), 500);
        ::mkdir(QFile::encodeName(sandbox.homePath(u"Library/Caches"_s)) + "/io.aurora.mail\xff",
                0755);
        builder.installNPM(u"/opt/homebrew/bin/npm"_s, 0, "removed 1 package\n");
        builder.addNPMPackage(sandbox.systemPath(MachineBuilder::homebrewNodeModules()),
                              u"mytool"_s, u"2.0.0"_s);
        sandbox.writeFileOfSize(sandbox.homePath(u".mytool"_s), 300);
        sandbox.writeFileOfSize(sandbox.homePath(u".npm/mytool"_s), 200);
        sandbox.makeAppBundle(apps, u"Wget.app"_s, {{"CFBundleName", "Wget"}});
        builder.installBrew();
        builder.addFormula(u"wget"_s, {{u"1.21"_s, MachineBuilder::Receipt::onRequest}});
        builder.addHomebrewFile(u"etc/wgetrc"_s, 800);
        builder.installTmutil("com.apple.TimeMachine.2026-03-14-093012.local\n");
        builder.addHomeFolderOfSize(u"Library/Developer/Xcode/DerivedData"_s, 4 * 4096);
        sandbox.makeDir(trash(u"files"_s));
        sandbox.makeDir(trash(u"info"_s));
    }

    QString trash(const QString &part) const
    {
        return sandbox.homePath(u".local/share/Trash/"_s + part);
    }

    // Every item of home and root but what is in the Trash: path, type, mode, size, contents, file
    // date.
    QStringList snapshot() const
    {
        QStringList lines;
        for (const QString &top : {sandbox.home(), sandbox.root()}) {
            QDirIterator it(top,
                            QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                            QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString path = it.next();
                struct stat st;
                if (path.startsWith(trash({})) || ::lstat(QFile::encodeName(path), &st) != 0)
                    continue;
                QFile file(path);
                const bool regular = S_ISREG(st.st_mode) && file.open(QIODevice::ReadOnly);
                lines.append(QStringLiteral("%1 %2 %3 %4 %5")
                                 .arg(path)
                                 .arg(st.st_mode, 0, 8)
                                 .arg(st.st_size)
                                 .arg(regular ? QCryptographicHash::hash(file.readAll(),
                                                                         QCryptographicHash::Md5)
                                                    .toHex()
                                              : QByteArray())
                                 .arg(S_ISDIR(st.st_mode) ? 0 : st.st_mtim.tv_nsec));
            }
        }
        lines.sort();
        return lines;
    }
};

// "category: path size +ticked|-|!unremovable" per file, from the view model or the JSON.
QString describe(const QList<FileGroup> &groups)
{
    QStringList lines;
    for (const FileGroup &group : groups) {
        for (const AssociatedFile &file : group.files) {
            lines.append(caseName(group.category) + u": "_s + file.path + u' ' +
                         QString::number(file.size) +
                         (!file.isRemovable() ? u" !"_s
                          : file.isSelected   ? u" +"_s
                                              : u" -"_s));
        }
    }
    return lines.join(u'\n');
}

QString describe(const QJsonArray &groups)
{
    QStringList lines;
    for (const QJsonValue &group : groups) {
        for (const QJsonValue &file : group[u"files"_s].toArray()) {
            lines.append(group[u"category"_s].toString() + u": "_s + file[u"path"_s].toString() +
                         u' ' + QString::number(file[u"size"_s].toInteger()) +
                         (!file[u"removable"_s].toBool() ? u" !"_s
                          : file[u"ticked"_s].toBool()   ? u" +"_s
                                                         : u" -"_s));
        }
    }
    return lines.join(u'\n');
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

    QTemporaryDir m_config; // QSettings of the program, out of the sandbox and the real home

    Run verlo(const SampleMachine &machine, const QStringList &arguments,
              const std::function<void(QProcess &)> &whileRunning = {})
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"VERLO_DEMO_HOME"_s, machine.sandbox.home());
        environment.insert(u"VERLO_DEMO_ROOT"_s, machine.sandbox.root());
        environment.insert(u"XDG_CONFIG_HOME"_s, m_config.path());
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(VERLO_PATH), arguments);
        process.closeWriteChannel(); // no terminal to ask on
        if (whileRunning)
            whileRunning(process);
        process.waitForFinished(-1);
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

private slots:
    void listFilesAndSystemData_showWhatTheViewModelShows()
    {
        SampleMachine machine;
        ContentViewModel vm{FileScanner(machine.sandbox.places())};
        SETTLE(vm);

        QStringList shown;
        for (const AppInfo &app : vm.userApplications() + vm.systemApplications())
            shown.append(app.path);
        QStringList listed;
        for (const QJsonValue &item :
             verlo(machine, {u"list"_s, u"apps"_s, u"--json"_s}).json()[u"items"_s].toArray())
            listed.append(item[u"path"_s].toString());
        QCOMPARE(listed, shown);
        // How each was installed, as the window's line under its name says.
        QStringList installed;
        for (const QJsonValue &item :
             verlo(machine, {u"list"_s, u"apps"_s, u"--json"_s}).json()[u"items"_s].toArray())
            installed.append(item[u"name"_s].toString() + u' ' +
                             item[u"installation"_s].toString() + u' ' +
                             item[u"desktopFileID"_s].toString(u"-"_s));
        installed.sort();
        QCOMPARE(installed.join(u", "_s),
                 u"Aurora bundle -, Kiln appImage -, Ledger systemPackage ledger.desktop, "
                 "Notes bundle -, Notes bundle -, Wget bundle -"_s);
        // The table's middle column is the window's line under each name.
        const QString table = verlo(machine, {u"list"_s, u"apps"_s}).out;
        for (const char *row : {"^Kiln +AppImage +/", "^Aurora +io\\.aurora\\.mail +/"})
            QVERIFY2(table.contains(QRegularExpression(QLatin1String(row),
                                                       QRegularExpression::MultilineOption)),
                     qPrintable(table));

        // An item's groups, files, sizes and first ticks, for each kind of item.
        const QList<std::pair<QString, std::function<void()>>> items{
            {machine.aurora, [&] { vm.selectApplication(machine.aurora); }},
            {u"npm:mytool"_s,
             [&] {
                 vm.selectSection(SidebarSection::npm);
                 SETTLE(vm);
                 vm.selectNPMPackage(u"mytool"_s);
             }},
            {u"brew:wget"_s, [&] {
                 vm.selectSection(SidebarSection::homebrew);
                 SETTLE(vm);
                 vm.selectHomebrewPackage(u"wget"_s, u"Formula"_s);
             }}};
        QString seen;
        for (const auto &[item, select] : items) {
            select();
            SETTLE(vm);
            const Run run = verlo(machine, {u"files"_s, item, u"--json"_s});
            QCOMPARE(run.status, 0);
            QCOMPARE(run.json()[u"version"_s].toInt(), 1);
            QCOMPARE(describe(run.json()[u"groups"_s].toArray()), describe(vm.fileGroups()));
            seen += describe(vm.fileGroups());
        }
        // Unticked application files, one never tickable, ticked package files.
        for (const QString &part : {u"appBundle: "_s, u" -\n"_s, u" !\n"_s, u"homebrewCellar"_s})
            QVERIFY2(seen.contains(part), qPrintable(seen));

        machine.sandbox.writeFileOfSize(machine.sandbox.homePath(u".cache/pip/wheel"_s), 5000);
        vm.selectSection(SidebarSection::systemData);
        SETTLE(vm);
        const QJsonObject data = verlo(machine, {u"system-data"_s, u"--json"_s}).json();
        QCOMPARE(describe(data[u"groups"_s].toArray()), describe(vm.systemDataGroups()));
        QCOMPARE(data[u"hiddenCount"_s].toInt(), vm.hiddenSystemCategoryCount());
        // The hidden categories are listed too, each under the display threshold.
        const QJsonArray hidden = data[u"hiddenGroups"_s].toArray();
        QVERIFY(!hidden.isEmpty());
        QCOMPARE(hidden.size(), data[u"hiddenCount"_s].toInt());
        for (const QJsonValue &group : hidden)
            QVERIFY(group[u"size"_s].toInteger() < 100 * 1024 * 1024 &&
                    !group[u"files"_s].toArray().isEmpty());
        const QString text = verlo(machine, {u"system-data"_s}).out;
        for (FileCategory category : allFileCategories()) {
            if (caseName(category) == hidden[0][u"category"_s].toString())
                QVERIFY2(text.contains(u"under 100 MB hidden: "_s + displayName(category) +
                                       u" ("_s + formatByteCount(hidden[0][u"size"_s].toInteger()) +
                                       u')'),
                         qPrintable(text));
        }
        // How much of the home the categories account for, as the window's header says it.
        const qint64 homeSize = data[u"homeSize"_s].toInteger();
        QVERIFY(homeSize > 0 && data[u"accountedSize"_s].toInteger() <= homeSize);
        QVERIFY2(
            text.contains(u"\n%1 of %2 in your home accounted for\n"_s.arg(
                formatByteCount(data[u"accountedSize"_s].toInteger()), formatByteCount(homeSize))),
            qPrintable(text));
        const QAbstractItemModel *rows = vm.systemDataGroupsModel();
        QCOMPARE(rows->rowCount(), 1);
        QCOMPARE(data[u"groups"_s][0][u"safety"_s].toString(), u"review"_s);
        QCOMPARE(rows->index(0, 0).data(FileGroupListModel::SafetyRole).value<Safety::Value>(),
                 Safety::Value::Review);

        // A name that holds terminal controls and line breaks is printed escaped, on its own
        // line: it can neither clear the screen nor add a line to the plan.
        machine.sandbox.writeFile(
            machine.sandbox.homePath(u"Library/Logs/io.aurora.mail\x1b[2J\rX\n  [x] fake"_s),
            "log");
        for (const QStringList &arguments :
             {QStringList{u"files"_s, u"Aurora"_s},
              {u"remove"_s, u"Aurora"_s, u"--only"_s, u"libraryLogs"_s, u"--dry-run"_s}}) {
            const QString out = verlo(machine, arguments).out;
            QVERIFY2(out.contains(u"io.aurora.mail\\x1b[2J\\rX\\n  [x] fake"_s) &&
                         !out.contains(u'\x1b') && !out.contains(u'\r') &&
                         !out.contains(u"\n  [x] fake"_s),
                     qPrintable(out));
        }
    }

    void removeAndRestore_leaveTheMachineAsItWas()
    {
        SampleMachine machine;
        const QStringList before = machine.snapshot();

        // The window's confirmation for the bundle ticked (it ticks everything).
        ContentViewModel vm{FileScanner(machine.sandbox.places())};
        SETTLE(vm);
        vm.selectApplication(machine.aurora);
        SETTLE(vm);
        vm.toggleFile(vm.fileGroups().constFirst().files.constFirst().id);
        const QString confirmation = vm.deleteConfirmationMessage();

        // As in the window nothing of an application starts ticked: without --all or --only
        // nothing is done. A dry run and a run without --yes nor terminal change nothing.
        const std::tuple<QStringList, int, QString> runs[] = {
            {{u"remove"_s, u"Aurora"_s, u"--dry-run"_s}, 1, QString()},
            {{u"remove"_s, u"Aurora"_s, u"--all"_s, u"--dry-run"_s}, 0, confirmation + u'\n'},
            {{u"remove"_s, u"Aurora"_s, u"--all"_s}, 2, confirmation + u'\n'}};
        for (const auto &[arguments, status, start] : runs) {
            const Run run = verlo(machine, arguments);
            QVERIFY2(start.isEmpty() ? run.out.isEmpty() : run.out.startsWith(start),
                     qPrintable(run.out + run.err));
            QCOMPARE(run.status, status);
            QCOMPARE(machine.snapshot(), before);
        }

        Run run = verlo(machine, {u"remove"_s, u"io.aurora.mail"_s, u"--all"_s, u"--yes"_s});
        QCOMPARE(run.status, 0);
        QVERIFY(!QFileInfo::exists(machine.aurora) &&
                QFileInfo::exists(machine.trash(u"files/Aurora.app"_s)));
        // A missing folder on the way back is made again, for its owner only.
        const QByteArray support =
            QFile::encodeName(machine.sandbox.homePath(u"Library/Application Support"_s));
        QVERIFY(QDir().rmdir(QFile::decodeName(support)));
        run = verlo(machine, {u"restore"_s, u"--last"_s});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out.count(u"Put back "_s), 4);
        struct stat st;
        QVERIFY(::stat(support, &st) == 0 && (st.st_mode & 0777) == 0700);
        ::chmod(support, 0755);
        QCOMPARE(machine.snapshot(), before);
        QCOMPARE(QDir(machine.trash(u"info"_s)).entryList(QDir::Files), QStringList());

        // A package: its manager uninstalls (not undone), its files come back.
        run = verlo(machine, {u"remove"_s, u"npm:mytool"_s, u"--yes"_s});
        QVERIFY2(run.status == 0 && run.out.contains(u"Put Back restores the files only"_s),
                 qPrintable(run.out + run.err));
        QCOMPARE(machine.builder.toolCalls(u"/opt/homebrew/bin/npm"_s),
                 (QList<QStringList>{{u"uninstall"_s, u"-g"_s, u"mytool"_s}}));
        QVERIFY(QFileInfo::exists(machine.sandbox.homePath(u".mytool"_s))); // ticked by hand only
        QCOMPARE(verlo(machine, {u"restore"_s, u"--last"_s}).status, 0);
        QCOMPARE(machine.snapshot(), before);

        // An occupied original place is never overwritten; the item stays in the Trash.
        QCOMPARE(
            verlo(machine, {u"remove"_s, u"Aurora"_s, u"--only"_s, u"preferences"_s, u"--yes"_s})
                .status,
            0);
        const QString plist =
            machine.sandbox.homePath(u"Library/Preferences/io.aurora.mail.plist"_s);
        machine.sandbox.writeFile(plist, "new");
        run = verlo(machine, {u"restore"_s, u"--last"_s});
        QVERIFY2(run.status == 1 && run.err.contains(plist + u" is taken"_s), qPrintable(run.err));
        QFile file(plist);
        QVERIFY(file.open(QIODevice::ReadOnly) && file.readAll() == "new");
        QVERIFY(QFileInfo::exists(machine.trash(u"files/io.aurora.mail.plist"_s)));

        // Only the item that went comes back, not another that took its name in the Trash once
        // that was emptied (kept aside here, so that no new item gets its inode): from another
        // place, or from the same one.
        QVERIFY(QFile::remove(plist));
        int emptied = 0;
        for (const QString &from :
             {machine.sandbox.base() + u"/other/io.aurora.mail.plist"_s, plist}) {
            machine.sandbox.writeFile(from, "other");
            QVERIFY(QFile::rename(machine.trash(u"files/io.aurora.mail.plist"_s),
                                  machine.sandbox.base() + u"/emptied"_s +
                                      QString::number(++emptied)) &&
                    QFile::remove(machine.trash(u"info/io.aurora.mail.plist.trashinfo"_s)));
            QCOMPARE(Trash(machine.sandbox.home()).moveToTrash(from), QString());
            run = verlo(machine, {u"restore"_s, u"--last"_s});
            QVERIFY2(run.status == 1 &&
                         run.err.contains(from == plist ? u"is no longer the item that was moved"_s
                                                        : u"now belongs to an item from "_s + from),
                     qPrintable(run.err));
            QVERIFY(!QFileInfo::exists(from));
        }

        // The Cellar folder found for an application stays: no brew runs, the command is named,
        // and not all that was ticked is done.
        run = verlo(machine, {u"remove"_s, u"Wget"_s, u"--all"_s, u"--yes"_s});
        QVERIFY2(run.status == 1 && run.out.contains(u"Not uninstalled: wget (Cellar); to remove, "
                                                     "run \"brew uninstall wget\"\n"_s),
                 qPrintable(run.out + run.err));
        QVERIFY(machine.builder.toolCalls(u"/opt/homebrew/bin/brew"_s).isEmpty() &&
                QFileInfo::exists(machine.sandbox.systemPath(u"/opt/homebrew/Cellar/wget"_s)));
    }

    // While an application runs, the confirmation names its process, in the window as in the
    // command line, and remove refuses with 2 unless --force is given.
    void removeWhileRunning_isRefusedUnlessForced()
    {
        SampleMachine machine;
        const QString program =
            machine.sandbox.makeDir(machine.aurora + u"/Contents/MacOS"_s) + u"/Aurora"_s;
        QVERIFY(QFile::copy(QStandardPaths::findExecutable(u"sleep"_s), program));
        QVERIFY(QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner));
        machine.sandbox.makeSymlink(u"/proc"_s, machine.sandbox.systemPath(u"/proc"_s));
        QProcess running;
        running.start(program, {u"1000"_s});
        QVERIFY(running.waitForStarted());
        const QString named = u"Aurora is running (Aurora, process %1)"_s.arg(running.processId());

        ContentViewModel vm{FileScanner(machine.sandbox.places())};
        SETTLE(vm);
        vm.selectApplication(machine.aurora);
        SETTLE(vm);
        vm.toggleFile(vm.fileGroups().constFirst().files.constFirst().id);
        const QString confirmation = vm.deleteConfirmationMessage();
        QVERIFY2(confirmation.contains(u"\n\n"_s + named + u": quit it first"_s),
                 qPrintable(confirmation));
        const QStringList before = machine.snapshot();
        Run run = verlo(machine, {u"remove"_s, u"Aurora"_s, u"--all"_s, u"--yes"_s});
        QVERIFY2(
            run.status == 2 && run.out.startsWith(confirmation + u'\n') &&
                run.err.contains(u"remove: "_s + named + u"; quit it first, or give --force"_s),
            qPrintable(run.out + run.err));
        QCOMPARE(machine.snapshot(), before);
        run = verlo(machine, {u"remove"_s, u"Aurora"_s, u"--all"_s, u"--yes"_s, u"--force"_s});
        QCOMPARE(run.status, 0);
        QVERIFY(QFileInfo::exists(machine.trash(u"files/Aurora.app"_s)));
        running.kill();
        QVERIFY(running.waitForFinished());
    }

    // What a removed Flatpak left is a row of its own, certain, with its reason and last change;
    // files and remove take it as leftover:NAME, and the user's kept names are never listed.
    void leftovers_listRowsThatFilesAndRemoveTake()
    {
        SampleMachine machine;
        const QString data = machine.sandbox.writeFileOfSize(
            machine.sandbox.homePath(u".var/app/org.gone.Drumkit/config/kit"_s), 700);
        machine.sandbox.writeFileOfSize(machine.sandbox.homePath(u".config/keepme/x"_s), 10);
        QSettings(m_config.path() + u"/Verlo/Verlo.conf"_s, QSettings::IniFormat)
            .setValue(u"Leftovers/kept"_s, QStringList{u"keepme"_s});

        const QJsonObject listed = verlo(machine, {u"leftovers"_s, u"--json"_s}).json();
        QCOMPARE(listed[u"version"_s].toInt(), 1);
        QJsonObject drumkit;
        QStringList names;
        for (const QJsonValue &row : listed[u"rows"_s].toArray()) {
            names.append(row[u"name"_s].toString());
            if (row[u"name"_s] == u"drumkit"_s)
                drumkit = row.toObject();
        }
        QVERIFY2(!names.contains(u"keepme"_s) && names.contains(u"drumkit"_s),
                 qPrintable(names.join(u", "_s)));
        QCOMPARE(drumkit[u"certainty"_s].toString(), u"certain"_s);
        QCOMPARE(drumkit[u"item"_s].toString(), u"leftover:drumkit"_s);
        QVERIFY(drumkit[u"reason"_s].toString().contains(u"is named drumkit"_s));
        QVERIFY(
            QDateTime::fromString(drumkit[u"lastModified"_s].toString(), Qt::ISODate).isValid());
        const QString files = u"flatpakData: "_s + QFileInfo(data).path().section(u'/', 0, -2);
        QVERIFY2(describe(drumkit[u"groups"_s].toArray()).startsWith(files),
                 qPrintable(describe(drumkit[u"groups"_s].toArray())));
        const QString text = verlo(machine, {u"leftovers"_s}).out;
        QVERIFY2(text.contains(u"drumkit \u00B7 Certain \u00B7 "_s), qPrintable(text));

        const Run shown = verlo(machine, {u"files"_s, u"leftover:drumkit"_s, u"--json"_s});
        QCOMPARE(describe(shown.json()[u"groups"_s].toArray()),
                 describe(drumkit[u"groups"_s].toArray()));
        QVERIFY(describe(drumkit[u"groups"_s].toArray()).endsWith(u" -"_s)); // nothing ticked
        const Run removed =
            verlo(machine, {u"remove"_s, u"leftover:drumkit"_s, u"--all"_s, u"--yes"_s});
        QCOMPARE(removed.status, 0);
        QVERIFY(!QFileInfo::exists(data) &&
                QFileInfo::exists(machine.trash(u"files/org.gone.Drumkit/config/kit"_s)));
    }

    // A removal of 2,000 files stopped part-way by SIGTERM: each file is in place or in the Trash
    // with its record, no record is left without its item, and restore --last brings back every
    // one that moved, byte for byte.
    void removeStoppedBySignal_leavesEachFileInPlaceOrRestorable()
    {
        SampleMachine machine;
        machine.sandbox.makeAppBundle(
            machine.sandbox.systemPath(u"/Applications"_s), u"Bulk.app"_s,
            {{"CFBundleIdentifier", "io.bulk.app"}, {"CFBundleName", "Bulk"}});
        QStringList paths;
        for (int i = 0; i < 2000; ++i)
            paths.append(machine.sandbox.writeFile(
                machine.sandbox.homePath(u"Library/Caches/io.bulk.app.%1"_s.arg(i)),
                QByteArray::number(i * 7919)));
        const QStringList before = machine.snapshot();

        const QDir files(machine.trash(u"files"_s));
        const Run removal = verlo(
            machine, {u"remove"_s, u"Bulk"_s, u"--only"_s, u"caches"_s, u"--yes"_s},
            [&](QProcess &process) {
                while (!process.waitForFinished(1) && files.entryList(QDir::Files).size() < 20) {
                }
                ::kill(pid_t(process.processId()), SIGTERM);
            });
        qsizetype left = 0;
        for (const QString &path : paths) {
            const QString name = QFileInfo(path).fileName();
            QFile info(machine.trash(u"info/"_s + name + u".trashinfo"_s));
            if (QFileInfo::exists(path))
                ++left;
            else
                QVERIFY2(files.exists(name) && info.open(QIODevice::ReadOnly) &&
                             info.readAll().contains(
                                 "\nPath=" + QUrl::toPercentEncoding(path, "/") + '\n'),
                         qPrintable(path));
        }
        qInfo("%lld of %lld files stayed in place", qlonglong(left), qlonglong(paths.size()));
        QCOMPARE(QDir(machine.trash(u"info"_s)).entryList(QDir::Files).size(), paths.size() - left);
        QCOMPARE(removal.status, left > 0 ? 1 : 0);
        QVERIFY2(left == 0 || removal.err.contains(u"Stopped before %1 file(s)"_s.arg(left)),
                 qPrintable(removal.err));

        const Run run = verlo(machine, {u"restore"_s, u"--last"_s});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out.count(u"Put back "_s), paths.size() - left);
        QCOMPARE(machine.snapshot(), before);
    }

    // What a removal stopped between claiming a name in the Trash and moving leaves (its claim in
    // the record, a .trashinfo without its item) goes at the next start; other records stay.
    void claimLeftByAStoppedRemoval_isSettledAtTheNextStart()
    {
        SampleMachine machine;
        const QString cache = machine.sandbox.homePath(u"Library/Caches/io.aurora.mail"_s);
        const QString trash = machine.trash({});
        // Trash name, the place its .trashinfo records, whether the record holds a claim of it.
        const std::tuple<QString, QString, bool> entries[] = {
            {u"io.aurora.mail"_s, cache, true},
            {u"blob"_s, machine.sandbox.base() + u"/blob"_s, true},
            {u"io.aurora.mail.2"_s, cache, false},
        };
        {
            RemovalRecord record;
            QCOMPARE(record.start(FileScanner(machine.sandbox.places())), QString());
            for (const auto &[name, place, claimed] : entries) {
                machine.sandbox.writeFile(trash + u"info/"_s + name + u".trashinfo"_s,
                                          "[Trash Info]\nPath=" + QUrl::toPercentEncoding(place));
                if (claimed)
                    QCOMPARE(record.addClaimed({trash.chopped(1), name, cache, {}}), QString());
            }
        }
        const Run run = verlo(machine, {u"restore"_s, u"--last"_s});
        QVERIFY2(run.err.contains(u"the last removal left nothing to put back"_s),
                 qPrintable(run.err));
        QCOMPARE(QDir(machine.trash(u"info"_s)).entryList(QDir::Files),
                 (QStringList{u"blob.trashinfo"_s, u"io.aurora.mail.2.trashinfo"_s}));
    }

    void badInput_endsWithAMessageAndMovesNothing_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("record"); // trash/info/entry.trashinfo, when given
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        const QByteArray header = "[Trash Info]\n";
        QTest::newRow("unknown command") << QStringList{u"frobnicate"_s} << QByteArray() << 2
                                         << u"unknown command 'frobnicate'"_s;
        QTest::newRow("unknown option") << QStringList{u"list"_s, u"apps"_s, u"--all"_s}
                                        << QByteArray() << 2 << u"Unknown option 'all'"_s;
        QTest::newRow("section by its case name")
            << QStringList{u"list"_s, u"homebrew"_s} << QByteArray() << 2
            << u"unknown section 'homebrew'"_s;
        QTest::newRow("unknown item") << QStringList{u"files"_s, u"Nowhere"_s} << QByteArray() << 2
                                      << u"unknown item 'Nowhere'"_s;
        QTest::newRow("two of one name")
            << QStringList{u"remove"_s, u"Notes"_s, u"--yes"_s} << QByteArray() << 2
            << u"'Notes' names 2 applications; name one by its path:\n  "_s;
        QTest::newRow("unknown category")
            << QStringList{u"remove"_s, u"Aurora"_s, u"--only"_s, u"cachez"_s, u"--yes"_s}
            << QByteArray() << 2 << u"unknown category 'cachez'"_s;
        const QStringList restore{u"restore"_s, u"entry"_s};
        QTest::newRow("relative Path") << restore << header + "Path=Library/entry\n"
                                       << 1 << u"its Path= is relative"_s;
        QTest::newRow("escaping Path") << restore << header + "Path=/tmp/a/../../etc/entry\n"
                                       << 1 << u"is not a plain path"_s;
        QTest::newRow("bad percent") << restore << header + "Path=/tmp/%zzentry\n"
                                     << 1 << u"invalid percent-encoding"_s;
        QTest::newRow("no group") << restore << QByteArray("Path=/tmp/entry\n") << 1
                                  << u"does not begin with [Trash Info]"_s;
        QTest::newRow("missing file") << restore << header + "Path=/tmp/entry\n"
                                      << 1 << u"is no longer in the Trash"_s;
    }

    void badInput_endsWithAMessageAndMovesNothing()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, record);
        QFETCH(int, status);
        QFETCH(QString, message);
        SampleMachine machine;
        if (!record.isEmpty()) {
            machine.sandbox.writeFile(machine.trash(u"info/entry.trashinfo"_s), record);
            if (!QByteArray(QTest::currentDataTag()).startsWith("missing"))
                machine.sandbox.writeFile(machine.trash(u"files/entry"_s), "trashed");
        }
        const QStringList before = machine.snapshot();
        const QStringList trash = QDir(machine.trash(u"files"_s)).entryList(QDir::Files);
        const Run run = verlo(machine, arguments);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QCOMPARE(run.status, status);
        QCOMPARE(machine.snapshot(), before);
        QCOMPARE(QDir(machine.trash(u"files"_s)).entryList(QDir::Files), trash);
    }

    void initTestCase()
    {
        QVERIFY(m_config.isValid());
        // The program's settings, and the record beside them, as the program finds them.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
        QCoreApplication::setOrganizationName(u"Verlo"_s);
        QCoreApplication::setApplicationName(u"Verlo"_s);
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
