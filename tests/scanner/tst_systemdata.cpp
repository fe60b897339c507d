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

FileGroup groupOf(FileCategory category, const QList<qint64> &sizes)
{
    QList<AssociatedFile> files;
    for (qint64 size : sizes) {
        files.append(
            AssociatedFile(QStringLiteral("/x/%1").arg(files.size()), QString(), category, size));
    }
    return FileGroup(category, files);
}

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

QString chmodded(const QString &path, mode_t mode)
{
    ::chmod(QFile::encodeName(path).constData(), mode);
    return path;
}

const QDateTime kBackupDate(QDate(2026, 12, 6), QTime(12, 0));

} // namespace

class SystemDataTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void arrange_thresholdAndGroupTotals()
    {
        using C = FileCategory;
        // Byte-exact at the threshold; real files can only come in whole blocks, see below. The
        // total of a group counts, not its entries; the hidden count counts groups.
        QCOMPARE(
            describe(FileScanner::arrangeSystemData({groupOf(C::xcodeArchives, {kThreshold}),
                                                     groupOf(C::dockerData, {kThreshold - 1})})),
            (QStringList{"xcodeArchives: ", "hidden 1"}));
        QCOMPARE(
            describe(FileScanner::arrangeSystemData(
                {groupOf(C::systemCaches, {kThreshold / 2, kThreshold / 2}),
                 groupOf(C::systemLogs, {kMiB, kMiB, kMiB}), groupOf(C::deviceBackups, {0, 0})})),
            (QStringList{"systemCaches: ,", "hidden 2"}));
        QCOMPARE(describe(FileScanner::arrangeSystemData({})), QStringList{"hidden 0"});
    }

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
            {"Library/Caches/com.google.Chrome", 50 * kMiB}}));
        // clang-format on

        const FileScanner scanner(sandbox.places());
        QStringList reported;
        const SystemDataResult result =
            scanner.scanSystemData([&reported](const QString &what) { reported.append(what); });

        // Device support (110 MiB) was found before the caches (110 MiB) and stays in front.
        // Hidden: the backup, Docker one block under the threshold, the logs, the reports.
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
        QCOMPARE(describe(result), QStringList{"hidden 0"});
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

    void backups_namedByDeviceAndDate_data()
    {
        QTest::addColumn<int>("info");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("name");

        const int binary = int(BackupInfo::binary);
        // clang-format off
        QTest::newRow("binary") << binary << "C" << "Ada's iPhone (6 Dec 2026)";
        QTest::newRow("xml") << int(BackupInfo::xml) << "C" << "Ada's iPhone (6 Dec 2026)";
        QTest::newRow("American English") << binary << "en_US" << "Ada's iPhone (Dec 6, 2026)";
        QTest::newRow("Japanese") << binary << "ja_JP" << "Ada's iPhone (2026年12月6日)";
        QTest::newRow("name not text") << int(BackupInfo::nameNotText) << "C" << "iOS Device (6 Dec 2026)";
        QTest::newRow("no Info.plist") << int(BackupInfo::missing) << "C" << "iOS Device";
        QTest::newRow("broken Info.plist") << int(BackupInfo::broken) << "C" << "iOS Device";
        // clang-format on
    }

    void backups_namedByDeviceAndDate()
    {
        QFETCH(int, info);
        QFETCH(QString, locale);
        QFETCH(QString, name);

        Sandbox sandbox;
        MachineBuilder machine(sandbox);
        const QString backup = machine.addDeviceBackup("00008110-0001", BackupInfo(info),
                                                       "Ada's iPhone", 6 * kBlock, kBackupDate);
        QLocale::setDefault(QLocale(locale));
        const std::optional<QList<FileGroup>> groups =
            FileScanner(sandbox.places()).scanDeviceBackups();
        QLocale::setDefault(QLocale::c());
        QVERIFY(groups);
        QCOMPARE(describe(*groups), QStringList{"deviceBackups: " + name});
        QCOMPARE(groups->first().files[0].path, backup);
        QCOMPARE(sizes(*groups), QList<qint64>{6 * kBlock});
    }

    void backups_emptyOnesListedFilesSkipped()
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
            sandbox.makeDir(sandbox.homePath("Library/Application Support/MobileSync/Backup"));
        QCOMPARE(backups(), QStringList());
        sandbox.writeFileOfSize(folder + "/stray.bin", 50 * kMiB);
        QCOMPARE(backups(), QStringList());

        machine.addDeviceBackup("empty", BackupInfo::missing, QString(), 0, kBackupDate);
        QCOMPARE(backups(), QStringList{"deviceBackups: iOS Device"});
        // Too small to be shown; counted as hidden.
        QCOMPARE(describe(scanner.scanSystemData()), QStringList{"hidden 1"});
    }

    void snapshots_onlyPrefixedLinesOfTheToolsOutput_data()
    {
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<QByteArray>("errorOutput");
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("names");

        // clang-format off
        QTest::newRow("heading and one") << true
            << QByteArray("Snapshots for disk /:\ncom.apple.TimeMachine.2025-03-04-101500.local\n")
            << QByteArray() << 0 << QStringList{"Snapshot 2025-03-04-101500.local"};
        QTest::newRow("indented, CRLF, in order") << true
            << QByteArray("\r\n  com.apple.TimeMachine.B.local\r\n\tcom.apple.TimeMachine.A.local  \n")
            << QByteArray() << 0 << QStringList{"Snapshot B.local", "Snapshot A.local"};
        QTest::newRow("printed on standard error") << true << QByteArray()
            << QByteArray("com.apple.TimeMachine.E.local\n") << 0 << QStringList{"Snapshot E.local"};
        QTest::newRow("garbage") << true << QByteArray("lorem ipsum\nsee com.apple.TimeMachine.X.local\n"
                                                       "COM.APPLE.TIMEMACHINE.Y\n\x01\x02\n")
            << QByteArray() << 0 << QStringList();
        QTest::newRow("an error") << true << QByteArray()
            << QByteArray("listlocalsnapshots: Failed to mount (error 80)\n") << 1 << QStringList();
        QTest::newRow("nothing") << true << QByteArray() << QByteArray() << 0 << QStringList();
        QTest::newRow("not UTF-8") << true << QByteArray("com.apple.TimeMachine.A.local\n\xff\xfe\n")
            << QByteArray() << 0 << QStringList();
        QTest::newRow("no tool") << false << QByteArray() << QByteArray() << 0 << QStringList();
        // clang-format on
    }

    void snapshots_onlyPrefixedLinesOfTheToolsOutput()
    {
        QFETCH(bool, installed);
        QFETCH(QByteArray, output);
        QFETCH(QByteArray, errorOutput);
        QFETCH(int, status);
        QFETCH(QStringList, names);

        Sandbox sandbox;
        MachineBuilder machine(sandbox);
        if (installed)
            machine.installTmutil(output, status, errorOutput);
        const FileScanner scanner(sandbox.places());
        const std::optional<FileGroup> group = scanner.scanLocalSnapshots();
        if (installed) {
            QCOMPARE(machine.toolCalls("/usr/bin/tmutil"),
                     (QList<QStringList>{{"listlocalsnapshots", "/"}}));
        }
        QCOMPARE(group ? describe({*group}) : QStringList(),
                 names.isEmpty() ? QStringList()
                                 : QStringList{"timeMachineSnapshots: " + names.join(',')});
        QCOMPARE(describe(scanner.scanSystemData()).size(), names.isEmpty() ? 1 : 2);
        for (const AssociatedFile &file : group ? group->files : QList<AssociatedFile>())
            QVERIFY(file.path == QStringLiteral("/") && file.size == 0);
    }

    void containers_dockerThenOrbStack_onlyWithDocker_data()
    {
        QTest::addColumn<QString>("dockerMark"); // what makes Docker count as installed
        QTest::addColumn<qint64>("docker");      // -1: no data folder
        QTest::addColumn<qint64>("orbStack");
        QTest::addColumn<QStringList>("names");

        const QString app = "app";
        QTest::newRow("both") << app << 3 * kBlock << 2 * kBlock
                              << QStringList{"Docker", "OrbStack"};
        QTest::newRow("Docker empty") << app << qint64(0) << 2 * kBlock << QStringList{"OrbStack"};
        QTest::newRow("OrbStack empty") << app << 3 * kBlock << qint64(0) << QStringList{"Docker"};
        QTest::newRow("container folder only")
            << "container" << qint64(-1) << 2 * kBlock << QStringList{"OrbStack"};
        QTest::newRow("not installed") << QString() << qint64(-1) << 2 * kBlock << QStringList();
    }

    void containers_dockerThenOrbStack_onlyWithDocker()
    {
        QFETCH(QString, dockerMark);
        QFETCH(qint64, docker);
        QFETCH(qint64, orbStack);
        QFETCH(QStringList, names);

        Sandbox sandbox;
        MachineBuilder machine(sandbox);
        if (dockerMark == QLatin1String("app"))
            machine.installDocker();
        else if (dockerMark == QLatin1String("container"))
            sandbox.makeDir(sandbox.homePath("Library/Containers/com.docker.docker"));
        if (docker >= 0)
            QVERIFY(
                machine.addHomeFolderOfSize("Library/Containers/com.docker.docker/Data", docker));
        QVERIFY(machine.addHomeFolderOfSize(".orbstack", orbStack));

        const FileScanner scanner(sandbox.places());
        QCOMPARE(scanner.isDockerInstalled(), !dockerMark.isEmpty());
        const SystemDataResult result = scanner.scanSystemData();
        QCOMPARE(result.hiddenCount, names.isEmpty() ? 0 : 1);
        if (names.isEmpty())
            return;
        const QList<FileGroup> groups = scanner.scanContainerData();
        QCOMPARE(describe(groups), QStringList{"dockerData: " + names.join(QLatin1Char(','))});
        for (const AssociatedFile &file : groups[0].files) {
            QCOMPARE(file.path, sandbox.homePath(file.name == QLatin1String("Docker")
                                                     ? "Library/Containers/com.docker.docker/Data"
                                                     : ".orbstack"));
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
            // The rest of the scan goes on: the snapshots remain, and nothing small is counted.
            for (const FileScanner *scanner : {&lockedBackups, &lockedCaches, &lockedLogs}) {
                QCOMPARE(describe(scanner->scanSystemData()),
                         (QStringList{"timeMachineSnapshots: Snapshot A.local",
                                      scanner == &lockedBackups ? "hidden 3" : "hidden 1"}));
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
        chmodded(backups.homePath("Library/Application Support/MobileSync/Backup"), 0);
        chmodded(caches.homePath("Library/Caches"), 0);
        chmodded(logs.homePath("Library/Logs"), 0711); // enterable, not listable
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
