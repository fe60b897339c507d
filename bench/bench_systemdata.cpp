// Times the whole system-data scan on a machine with a few large folders (developer data,
// simulator devices, container data, caches and logs), next to `du -s` of the same folders: the
// walk itself is the floor, the rest is what the scan adds (listing, the tmutil child, grouping).
//
// Usage: bench_systemdata [files per large folder, default 10000] [runs, default 5]

#include "demo/MachineBuilder.h"
#include "scanner/FileScanner.h"
#include "tests/support/Sandbox.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <algorithm>
#include <cstdio>

namespace {

// count files of fileSize bytes under folder, 100 to a subfolder, two levels deep, as derived
// data and simulator devices are laid out.
void fillTree(const QString &folder, int count, int fileSize)
{
    const QByteArray data(fileSize, 'd');
    QString subfolder;
    for (int i = 0; i < count; ++i) {
        if (i % 100 == 0) {
            subfolder =
                QStringLiteral("%1/module%2/build%3").arg(folder).arg(i / 1000).arg((i / 100) % 10);
            QDir().mkpath(subfolder);
        }
        QFile file(QStringLiteral("%1/file%2.o").arg(subfolder).arg(i));
        if (file.open(QIODevice::WriteOnly))
            file.write(data);
    }
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int files = args.size() > 1 ? args[1].toInt() : 10000;
    const int runs = args.size() > 2 ? args[2].toInt() : 5;

    Sandbox box;
    MachineBuilder machine(box);
    machine.installXcode();
    machine.installDocker();
    machine.installTmutil("Snapshots for disk /:\ncom.apple.TimeMachine.2026-12-06-090000.local\n");

    const QStringList large = {
        box.homePath(QStringLiteral("Library/Developer/Xcode/DerivedData")),
        box.homePath(QStringLiteral("Library/Developer/CoreSimulator/Devices")),
        box.homePath(QStringLiteral("Library/Containers/com.docker.docker/Data")),
        box.homePath(QStringLiteral("Library/Caches/com.example.browser")),
    };
    for (int i = 0; i < large.size(); ++i)
        fillTree(large[i], files, 12 * 1024);
    fillTree(box.homePath(QStringLiteral("Library/Logs/Example")), files / 10, 512);
    machine.addHomeFolderOfSize(QStringLiteral("Library/Developer/Xcode/iOS DeviceSupport"),
                                64LL << 20);
    machine.addDeviceBackup(QStringLiteral("0001"), MachineBuilder::BackupInfo::binary,
                            QStringLiteral("iPhone"), 32LL << 20, QDateTime::currentDateTime());

    // Every place the scan measures, for du.
    const QStringList measured = {
        box.homePath(QStringLiteral("Library/Developer")),
        box.homePath(QStringLiteral("Library/Application Support/MobileSync/Backup")),
        box.homePath(QStringLiteral("Library/Containers/com.docker.docker/Data")),
        box.homePath(QStringLiteral("Library/Caches")),
        box.homePath(QStringLiteral("Library/Logs")),
    };

    const FileScanner scanner(box.places());
    QList<double> scanTimes;
    QList<double> duTimes;
    SystemDataResult result;
    QByteArray duOutput;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        result = scanner.scanSystemData();
        scanTimes.append(timer.nsecsElapsed() / 1e6);

        QProcess du;
        timer.restart();
        du.start(QStringLiteral("du"),
                 QStringList{QStringLiteral("-s"), QStringLiteral("-c"), QStringLiteral("-B1")} +
                     measured);
        du.waitForFinished(-1);
        duTimes.append(timer.nsecsElapsed() / 1e6);
        duOutput = du.readAllStandardOutput();
    }

    qint64 scanned = 0;
    int entries = 0;
    for (const FileGroup &group : result.groups) {
        scanned += group.totalSize();
        entries += group.files.size();
    }
    const QList<QByteArray> duLines = duOutput.trimmed().split('\n');
    const qint64 duTotal = duLines.isEmpty() ? 0 : duLines.last().split('\t').first().toLongLong();

    std::printf("system data scan: %d large folders of %d files, %d runs (warm cache)\n",
                int(large.size()), files, runs);
    std::printf("  scanSystemData  median %8.1f ms  %d shown groups, %d entries, %d hidden, %lld "
                "bytes shown\n",
                median(scanTimes), int(result.groups.size()), entries, result.hiddenCount,
                static_cast<long long>(scanned));
    std::printf("  du -s           median %8.1f ms  %lld bytes (every measured place, folders' own "
                "blocks included)\n",
                median(duTimes), static_cast<long long>(duTotal));
    // Every large folder is shown (with the snapshots), and the scan never counts more than du.
    if (result.groups.size() != large.size() + 1 || scanned > duTotal) {
        std::printf("check failed: expected %d shown groups and no more than du's bytes\n",
                    int(large.size() + 1));
        return 1;
    }
    return 0;
}
