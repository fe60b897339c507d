#include "demo/MachineBuilder.h"
#include "scanner/FileScanner.h"
#include "tests/support/Sandbox.h"

#include <QLocale>
#include <QSet>
#include <QTest>

#include <sys/stat.h>

using BackupInfo = MachineBuilder::BackupInfo;

namespace {

constexpr qint64 kMiB = 1024 * 1024;
constexpr qint64 kBlock = 4096;
constexpr qint64 kThreshold = 100 * kMiB;

QStringList describe(const QList<FileGroup> &groups)
{
    QStringList lines;
    for (const FileGroup &group : groups) {
        QStringList names;
        for (const AssociatedFile &file : group.files)
            names.append(file.name);
        lines.append(caseName(group.category) + ": " + names.join(QLatin1Char(',')));
    }
    return lines;
}

// The groups, then "hidden <count>".
QStringList describe(const SystemDataResult &result)
{
    return describe(result.groups) << QStringLiteral("hidden %1").arg(result.hiddenCount);
}

// Every item's size, group by group.
QList<qint64> sizes(const QList<FileGroup> &groups)
{
    QList<qint64> out;
    for (const FileGroup &group : groups) {
        for (const AssociatedFile &file : group.files)
            out.append(file.size);
    }
    return out;
}

// Folders below the home holding exactly the given allocated sizes.
bool addFolders(const MachineBuilder &machine, const QList<std::pair<QString, qint64>> &folders)
{
    for (const auto &[relative, bytes] : folders) {
        if (!machine.addHomeFolderOfSize(relative, bytes))
            return false;
    }
    return true;
}

const QDateTime kBackupDate(QDate(2026, 12, 6), QTime(12, 0));

} // namespace

class SystemDataTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void scan_wholeMachine_thresholdOrderAndProgress()
    {
        Sandbox sandbox;
        MachineBuilder machine(sandbox);
        machine.installXcode();
        machine.installDocker();
        machine.addDeviceBackup("0001", BackupInfo::binary, "iPhone", 8 * kMiB, kBackupDate);
        machine.installTmutil("Snapshots for disk /:\n"
                              "com.apple.TimeMachine.2026-12-06-090000.local\n"
                              "com.apple.TimeMachine.2026-12-06-100000.local\n");
        // Archives exactly at the threshold, Docker one allocation block under it.
        // clang-format off
        QVERIFY(addFolders(machine, {{"Library/Developer/Xcode/DerivedData", 120 * kMiB},
            {"Library/Developer/Xcode/iOS DeviceSupport", 30 * kMiB}, {"Library/Caches/Homebrew", 20 * kMiB},
            {"Library/Developer/Xcode/watchOS DeviceSupport", 80 * kMiB}, {"Library/Logs/Pixel Forge", 2 * kMiB},
            {"Library/Developer/Xcode/Archives", kThreshold}, {"Library/Logs/DiagnosticReports", 2 * kBlock},
            {"Library/Containers/com.docker.docker/Data", kThreshold - kBlock},
            {"Library/Developer/CoreSimulator/Devices", 0}, {"Library/Caches/com.spotify.client", 60 * kMiB},
            {"Library/Caches/com.google.Chrome", 50 * kMiB}, {"Library/Logs/Other", 2 * kMiB}}));
        // clang-format on

        const FileScanner scanner(sandbox.places());
        QStringList reported;
        const SystemDataResult result =
            scanner.scanSystemData([&reported](const QString &what) { reported.append(what); });

        // Device support (110 MiB) was found before the caches (110 MiB) and stays in front: a
        // group's total counts, not its entries. Hidden, counted by group: the backup, Docker one
        // block under the threshold, the two logs and the reports. The Homebrew cache is a
        // searched folder itself, never listed whole as a large folder (its files are each too
        // small to be one).
        QCOMPARE(
            describe(result),
            (QStringList{"xcodeDerivedData: DerivedData",
                         "xcodeDeviceSupport: watchOS DeviceSupport,iOS DeviceSupport",
                         "systemCaches: com.spotify.client,com.google.Chrome",
                         "xcodeArchives: Archives",
                         QStringLiteral("timeMachineSnapshots: Snapshot 2026-12-06-090000.local,"
                                        "Snapshot 2026-12-06-100000.local"),
                         "hidden 4"}));
        QCOMPARE(sizes(result.groups), (QList<qint64>{120 * kMiB, 80 * kMiB, 30 * kMiB, 60 * kMiB,
                                                      50 * kMiB, kThreshold, 0, 0}));
        QSet<QUuid> ids;
        for (const FileGroup &group : result.groups) {
            ids.insert(group.id);
            for (const AssociatedFile &file : group.files) {
                ids.insert(file.id);
                QVERIFY(!file.isSelected && file.category == group.category);
            }
        }
        QCOMPARE(ids.size(), 5 + 8);

        for (const char *place :
             {"Library/Developer/Xcode/DerivedData", "Library/Developer/Xcode/Archives",
              "Library/Containers/com.docker.docker/Data", "Library/Caches/com.google.Chrome",
              "Library/Logs/Pixel Forge", "Library/Logs/DiagnosticReports",
              "Library/Application Support/MobileSync/Backup/0001"}) {
            QVERIFY2(reported.contains(sandbox.homePath(QString::fromLatin1(place))), place);
        }
        QVERIFY(!reported.contains(sandbox.homePath("Library/Caches/Homebrew")));

        // Every scan measures afresh and makes new items.
        const SystemDataResult again = scanner.scanSystemData();
        QCOMPARE(describe(again.groups), describe(result.groups));
        QVERIFY(again.groups[0].id != result.groups[0].id);
        QVERIFY(again.groups[0].files[0].id != result.groups[0].files[0].id);
    }

    void xcode_onlyWhenInstalled_deviceSupportInOneGroup()
    {
        Sandbox sandbox;
        MachineBuilder machine(sandbox);
        QVERIFY(addFolders(machine, {{"Library/Developer/Xcode/DerivedData", 0},
                                     {"Library/Developer/Xcode/iOS DeviceSupport", 3 * kBlock},
                                     {"Library/Developer/Xcode/watchOS DeviceSupport", 1 * kBlock},
                                     {"Library/Developer/Xcode/tvOS DeviceSupport", 5 * kBlock},
                                     {"Library/Developer/CoreSimulator/Devices", 200 * kMiB}}));

        const FileScanner scanner(sandbox.places());
        QVERIFY(!scanner.isXcodeInstalled());
        QStringList reported;
        const SystemDataResult result =
            scanner.scanSystemData([&reported](const QString &what) { reported.append(what); });
        // Without Xcode its folders are only the home's largest: not a searched folder whole
        // (Library, Devices), but what is inside.
        QCOMPARE(describe(result), (QStringList{"largeFolders: data.bin", "hidden 0"}));
        QVERIFY2(!reported.join(' ').contains(QLatin1String("Developer")),
                 qPrintable(reported.join(' ')));

        // Xcode in the user's own Applications folder counts too.
        sandbox.makeDir(sandbox.homePath("Applications/Xcode.app"));
        QVERIFY(scanner.isXcodeInstalled());
        const QList<FileGroup> groups = scanner.scanXcodeData();
        // The empty derived data gives nothing; the three device support folders one group.
        QCOMPARE(describe(groups),
                 (QStringList{QStringLiteral("xcodeDeviceSupport: tvOS DeviceSupport,"
                                             "iOS DeviceSupport,watchOS DeviceSupport"),
                              "xcodeSimulators: Devices"}));
        QCOMPARE(sizes(groups), (QList<qint64>{5 * kBlock, 3 * kBlock, kBlock, 200 * kMiB}));
        QCOMPARE(groups[0].files[0].path,
                 sandbox.homePath("Library/Developer/Xcode/tvOS DeviceSupport"));
        QCOMPARE(scanner.scanSystemData().groups.size(), 1);
    }

    void backups_emptyOnesListedFilesSkipped_namedByDeviceAndDate()
    {
        Sandbox sandbox;
        MachineBuilder machine(sandbox);
        const FileScanner scanner(sandbox.places());
        const auto backups = [&scanner] {
            const auto groups = scanner.scanDeviceBackups();
            return groups ? describe(*groups) : QStringList{"unlistable"};
        };
        QCOMPARE(backups(), QStringList());
        const QString folder =
            sandbox.makeDir(sandbox.homePath("Library/Application Support/MobileSync/Backup/"));
        QCOMPARE(backups(), QStringList());
        sandbox.writeFileOfSize(folder + "stray.bin", 50 * kMiB);
        QCOMPARE(backups(), QStringList());
        machine.addDeviceBackup("empty", BackupInfo::missing, QString(), 0, kBackupDate);
        QCOMPARE(backups(), QStringList{"deviceBackups: iOS Device"});
        // Too small to be shown; counted as hidden, as is the stray file as a large one.
        QCOMPARE(describe(scanner.scanSystemData()), QStringList{"hidden 2"});

        // Each backup is named after its Info.plist kind and holds that many blocks plus one.
        for (const BackupInfo info : {BackupInfo::xml, BackupInfo::binary, BackupInfo::missing,
                                      BackupInfo::broken, BackupInfo::nameNotText}) {
            machine.addDeviceBackup(QString::number(int(info)), info, "Ada's iPhone",
                                    (int(info) + 1) * kBlock, kBackupDate);
        }
        // The date only when the Info.plist reads, in the locale's medium form.
        const QList<std::pair<QString, QString>> dates{
            {"C", "6 Dec 2026"}, {"en_US", "Dec 6, 2026"}, {"ja_JP", "2026年12月6日"}};
        for (const auto &[locale, date] : dates) {
            QLocale::setDefault(QLocale(locale));
            const std::optional<QList<FileGroup>> groups = scanner.scanDeviceBackups();
            QLocale::setDefault(QLocale::c());
            QVERIFY(groups && groups->size() == 1);
            QStringList found;
            for (const AssociatedFile &file : groups->first().files) {
                const QString id = file.path.mid(folder.size());
                QCOMPARE(file.path, folder + id);
                found << QStringLiteral("%1: %2 %3").arg(id, file.name).arg(file.size / kBlock);
            }
            found.sort();
            QCOMPARE(found.join(u'|'), QStringLiteral("0: Ada's iPhone (%1) 1|1: Ada's iPhone (%1) "
                                                      "2|2: iOS Device 3|3: iOS Device 4|5: iOS "
                                                      "Device (%1) 6|empty: iOS Device 0")
                                           .arg(date));
        }
    }

    void snapshots_onlyPrefixedLinesOfTheToolsOutput()
    {
        Sandbox sandbox;
        MachineBuilder machine(sandbox);
        const FileScanner scanner(sandbox.places());
        const QString tmutil = QStringLiteral("/usr/bin/tmutil");
        // The tool's output, error output and status, and the snapshots found.
        // clang-format off
        const QList<std::tuple<QByteArray, QByteArray, int, QStringList>> cases{
            {"Snapshots for disk /:\ncom.apple.TimeMachine.2025-03-04-101500.local\n", "", 0,
             {"Snapshot 2025-03-04-101500.local"}},
            // Indented, CRLF, kept in order.
            {"\r\n  com.apple.TimeMachine.B.local\r\n\tcom.apple.TimeMachine.A.local  \n", "", 0,
             {"Snapshot B.local", "Snapshot A.local"}},
            {"", "com.apple.TimeMachine.E.local\n", 0, {"Snapshot E.local"}}, // on standard error
            {"lorem ipsum\nsee com.apple.TimeMachine.X.local\nCOM.APPLE.TIMEMACHINE.Y\n\x01\x02\n", "", 0, {}},
            {"", "listlocalsnapshots: Failed to mount (error 80)\n", 1, {}},
            {"", "", 0, {}},
            {"com.apple.TimeMachine.A.local\n\xff\xfe\n", "", 0, {}}, // not UTF-8
        };
        // clang-format on
        for (const auto &[output, errorOutput, status, names] : cases) {
            machine.installTmutil(output, status, errorOutput);
            const qsizetype calls = machine.toolCalls(tmutil).size();
            const std::optional<FileGroup> group = scanner.scanLocalSnapshots();
            QCOMPARE(machine.toolCalls(tmutil).mid(calls),
                     (QList<QStringList>{{"listlocalsnapshots", "/"}}));
            QCOMPARE(group ? describe({*group}) : QStringList(),
                     names.isEmpty() ? QStringList()
                                     : QStringList{"timeMachineSnapshots: " + names.join(',')});
            for (const AssociatedFile &file : group ? group->files : QList<AssociatedFile>())
                QVERIFY(file.path == QStringLiteral("/") && file.size == 0);
            // Snapshots are listed whatever their size of 0.
            QCOMPARE(describe(scanner.scanSystemData()).size(), names.isEmpty() ? 1 : 2);
        }
        QFile::remove(sandbox.systemPath(tmutil)); // no tool at all
        QVERIFY(!scanner.scanLocalSnapshots());
    }

    void containers_dockerThenOrbStack_onlyWithDocker()
    {
        Sandbox sandbox;
        MachineBuilder machine(sandbox);
        const QString container = sandbox.homePath("Library/Containers/com.docker.docker");
        const FileScanner scanner(sandbox.places());
        // What makes Docker count as installed, the blocks of its data (-1: no data folder) and
        // of OrbStack's, and the entries listed.
        const QList<std::tuple<QString, qint64, qint64, QStringList>> cases{
            {"app", 3, 2, {"Docker", "OrbStack"}},
            {"app", 0, 2, {"OrbStack"}},
            {"app", 3, 0, {"Docker"}},
            {"container", -1, 2, {"OrbStack"}},
            {"", -1, 2, {}}, // not installed
        };
        for (const auto &[dockerMark, docker, orbStack, names] : cases) {
            QDir(sandbox.systemPath("/Applications/Docker.app")).removeRecursively();
            QDir(container).removeRecursively();
            if (dockerMark == QLatin1String("app"))
                machine.installDocker();
            else if (dockerMark == QLatin1String("container"))
                sandbox.makeDir(container);
            if (docker >= 0)
                QVERIFY(machine.addHomeFolderOfSize("Library/Containers/com.docker.docker/Data",
                                                    docker * kBlock));
            QVERIFY(machine.addHomeFolderOfSize(".orbstack", orbStack * kBlock));

            QCOMPARE(scanner.isDockerInstalled(), !dockerMark.isEmpty());
            QCOMPARE(scanner.scanSystemData().hiddenCount, names.isEmpty() ? 0 : 1);
            const QList<FileGroup> groups =
                names.isEmpty() ? QList<FileGroup>() : scanner.scanContainerData();
            QCOMPARE(describe(groups),
                     names.isEmpty() ? QStringList()
                                     : QStringList{"dockerData: " + names.join(QLatin1Char(','))});
            for (const FileGroup &group : groups) {
                for (const AssociatedFile &file : group.files) {
                    QCOMPARE(file.path, file.name == QLatin1String("Docker")
                                            ? container + "/Data"
                                            : sandbox.homePath(".orbstack"));
                    QCOMPARE(file.size,
                             (file.name == QLatin1String("Docker") ? docker : orbStack) * kBlock);
                }
            }
        }
    }

    void cachesAndLogs_minimumsExclusionsAndReports()
    {
        Sandbox sandbox;
        MachineBuilder machine(sandbox);
        const FileScanner scanner(sandbox.places());
        QVERIFY(scanner.scanCachesAndLogs() && scanner.scanCachesAndLogs()->isEmpty());

        // Larger than 10 MiB (and 1 MiB for logs) is listed; exactly the minimum is not. Only the
        // exact names Homebrew, CocoaPods and pip are left out.
        QVERIFY(addFolders(machine, {{"Library/Caches/at-minimum", 10 * kMiB},
                                     {"Library/Caches/over-minimum", 10 * kMiB + kBlock},
                                     {"Library/Caches/Homebrew", 30 * kMiB},
                                     {"Library/Caches/CocoaPods", 30 * kMiB},
                                     {"Library/Caches/pip", 30 * kMiB},
                                     {"Library/Caches/homebrew", 20 * kMiB},
                                     {"Library/Caches/PIP", 15 * kMiB},
                                     {"Library/Logs/at-minimum", kMiB},
                                     {"Library/Logs/over-minimum", kMiB + kBlock},
                                     {"Library/Logs/Big App", 3 * kMiB},
                                     {"Library/Logs/DiagnosticReports", 2 * kMiB}}));
        // Plain files are not listed.
        sandbox.writeFileOfSize(sandbox.homePath("Library/Caches/blob.bin"), 40 * kMiB);
        sandbox.writeFileOfSize(sandbox.homePath("Library/Logs/install.log"), 5 * kMiB);

        std::optional<QList<FileGroup>> groups = scanner.scanCachesAndLogs();
        QVERIFY(groups);
        QCOMPARE(describe(*groups), (QStringList{"systemCaches: homebrew,PIP,over-minimum",
                                                 "systemLogs: Big App,over-minimum",
                                                 "diagnosticReports: Diagnostic Reports"}));
        QCOMPARE(sizes(*groups), (QList<qint64>{20 * kMiB, 15 * kMiB, 10 * kMiB + kBlock, 3 * kMiB,
                                                kMiB + kBlock, 2 * kMiB}));
        QCOMPARE(groups->at(2).files[0].path, sandbox.homePath("Library/Logs/DiagnosticReports"));

        // Empty reports give no group.
        QFile::remove(sandbox.homePath("Library/Logs/DiagnosticReports/data.bin"));
        groups = scanner.scanCachesAndLogs();
        QVERIFY(groups && groups->size() == 2);
    }

    void unlistableFolders_dropTheirGroups()
    {
        if (isUnprivilegedChild()) {
            QVERIFY(::geteuid() != 0);
            const QString root = qEnvironmentVariable("VERLO_ROOT");
            const FileScanner lockedBackups(
                Places(qEnvironmentVariable("VERLO_HOME_BACKUPS"), root));
            const FileScanner lockedCaches(Places(qEnvironmentVariable("VERLO_HOME_CACHES"), root));
            const FileScanner lockedLogs(Places(qEnvironmentVariable("VERLO_HOME_LOGS"), root));
            QVERIFY(!lockedBackups.scanDeviceBackups());
            QVERIFY(!lockedCaches.scanCachesAndLogs() && !lockedLogs.scanCachesAndLogs());
            // The rest of the scan goes on: the snapshots remain, and nothing small is counted
            // but the large folder that the lost caches leave.
            for (const FileScanner *scanner : {&lockedBackups, &lockedCaches, &lockedLogs}) {
                QCOMPARE(describe(scanner->scanSystemData()),
                         (QStringList{"timeMachineSnapshots: Snapshot A.local",
                                      scanner == &lockedBackups ? "hidden 3"
                                      : scanner == &lockedLogs  ? "hidden 2"
                                                                : "hidden 1"}));
            }
            return;
        }

        Sandbox backups, caches, logs;
        MachineBuilder machine(backups);
        machine.installTmutil("com.apple.TimeMachine.A.local\n");
        for (const Sandbox *sandbox : {&backups, &caches, &logs}) {
            MachineBuilder builder(*sandbox);
            builder.addDeviceBackup("b", BackupInfo::xml, "iPad", 2 * kBlock, kBackupDate);
            QVERIFY(addFolders(builder, {{"Library/Caches/big", 11 * kMiB},
                                         {"Library/Logs/big", 2 * kMiB},
                                         {"Library/Logs/DiagnosticReports", kBlock}}));
        }
        const std::pair<QString, mode_t> locked[] = {
            {backups.homePath("Library/Application Support/MobileSync/Backup"), 0},
            {caches.homePath("Library/Caches"), 0},
            {logs.homePath("Library/Logs"), 0711}}; // enterable, not listable
        for (const auto &[path, mode] : locked)
            QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode), 0);
        // As the owner everything is found: four small groups.
        QCOMPARE(FileScanner(Places(logs.home(), backups.root())).scanSystemData().hiddenCount, 4);

        QByteArray output;
        const int status =
            runTestFunctionAsUnprivileged(QString::fromLatin1(QTest::currentTestFunction()),
                                          {{"VERLO_ROOT", backups.root()},
                                           {"VERLO_HOME_BACKUPS", backups.home()},
                                           {"VERLO_HOME_CACHES", caches.home()},
                                           {"VERLO_HOME_LOGS", logs.home()}},
                                          &output);
        QVERIFY2(status == 0, output.constData());
    }
};

QTEST_GUILESS_MAIN(SystemDataTest)
#include "tst_systemdata.moc"
