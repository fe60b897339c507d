// Builds the sample machine that `make demo` and `make screenshots` open Verlo over: a home
// folder and a system root with a few dozen applications (sample_apps.cpp: real XML and binary
// property lists, real .icns icons) and their leftovers, npm globals, Homebrew formulae and casks
// (sample_packages.cpp), download caches, developer data, a device backup, container data, caches
// and logs, and stand-in scripts for brew, npm, which and tmutil; and its Linux half
// (sample_linux.cpp): desktop applications of every kind, Flatpak and Snap data, XDG leftovers
// and Linux system data; its toolchains (sample_toolchains.cpp); and what programs removed long
// ago left (sample_leftovers.cpp). brew, npm, flatpak, snap,
// rustup and pyenv really uninstall: they remove the package's files inside this machine and
// nowhere else.
//
// Usage: verlo_demo_machine <folder> [<home> <root>]
// The home is <folder>/home/user and the system root <folder>/root unless both are given (the
// screenshots give short ones). The machine is built once: when <folder>/machine.env exists (it
// is written last) nothing is done. That file holds VERLO_DEMO_HOME=... and VERLO_DEMO_ROOT=...
// for a shell to source.

#include "demo/SampleParts.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

using namespace sample;

namespace {

// Developer data, a backup, container data, caches and logs: the System Data section shows
// the categories from 100 MiB on and counts the others as hidden.
bool addSystemData(const MachineFolder &s, const MachineBuilder &m)
{
    bool exact = true;
    m.installXcode();
    m.installDocker();
    const auto folder = [&](const QString &relative, qint64 bytes) {
        exact = m.addHomeFolderOfSize(relative, bytes) && exact;
    };
    folder(QStringLiteral("Library/Developer/Xcode/DerivedData/Verlo-bqzfhxkcdwoyte"), 64 * kMiB);
    folder(QStringLiteral("Library/Developer/Xcode/DerivedData/Weather-ahsjdkfqpwoeir"), 40 * kMiB);
    folder(QStringLiteral("Library/Developer/Xcode/iOS DeviceSupport/iPhone15,3 17.4 (21E219)"),
           16 * kMiB);
    folder(QStringLiteral("Library/Developer/Xcode/watchOS DeviceSupport/Watch6,14 10.4 (21T216)"),
           6 * kMiB);
    folder(QStringLiteral(
               "Library/Developer/CoreSimulator/Devices/6F1C2A34-1B2C-4D5E-8F90-A1B2C3D4E5F6"),
           6 * kMiB);
    folder(QStringLiteral(
               "Library/Developer/Xcode/Archives/2026-02-27/Weather 27-02-2026, 14.02.xcarchive"),
           8 * kMiB);
    m.addDeviceBackup(QStringLiteral("00008110-001A2B3C4D5E"), MachineBuilder::BackupInfo::binary,
                      QStringLiteral("iPhone 15 Pro"), 101 * kMiB,
                      QDateTime(QDate(2026, 3, 14), QTime(12, 0)));
    folder(QStringLiteral("Library/Containers/com.docker.docker/Data/vms/0/data"), 70 * kMiB);
    folder(QStringLiteral(".orbstack/data"), 32 * kMiB);
    folder(QStringLiteral("Library/Logs/DiagnosticReports"), 2 * kMiB);
    folder(QStringLiteral("Library/Logs/Kite Browser/crashpad"), 3 * kMiB);

    m.installWhich({{QStringLiteral("brew"), QStringLiteral("/opt/homebrew/bin/brew")},
                    {QStringLiteral("npm"), QStringLiteral("/opt/homebrew/bin/npm")}});
    m.installTmutil("Snapshots for disk /:\n"
                    "com.apple.TimeMachine.2026-03-14-093012.local\n"
                    "com.apple.TimeMachine.2026-03-14-103044.local\n");
    return addLinuxHalf(s, m) && addToolchains(s, m) && exact;
}

int fail(const QString &message)
{
    std::fprintf(stderr, "verlo_demo_machine: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    // Icons are drawn with QPainter and fonts; no screen is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2 && arguments.size() != 4)
        return fail(QStringLiteral("usage: verlo_demo_machine <folder> [<home> <root>]"));

    const QString folder = QDir(arguments.at(1)).absolutePath();
    const bool placesGiven = arguments.size() == 4;
    const QString home =
        placesGiven ? QDir(arguments.at(2)).absolutePath() : folder + QStringLiteral("/home/user");
    const QString root =
        placesGiven ? QDir(arguments.at(3)).absolutePath() : folder + QStringLiteral("/root");
    const QString stamp = folder + QStringLiteral("/machine.env");
    if (QFileInfo::exists(stamp)) {
        std::printf("%s\n", qPrintable(stamp));
        return 0;
    }
    // A build that was interrupted left a partial machine: start again from nothing. A home and
    // root given elsewhere are never cleared: they must be empty.
    if (QFileInfo::exists(folder) && !QDir(folder).removeRecursively())
        return fail(QStringLiteral("cannot clear %1").arg(folder));
    for (const QString &place : {home, root}) {
        if (placesGiven && !QDir(place).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System |
                                                QDir::NoDotAndDotDot))
            return fail(QStringLiteral("%1 is not empty").arg(place));
    }
    if (!QDir().mkpath(folder))
        return fail(QStringLiteral("cannot create %1").arg(folder));

    MachineFolder sample(folder, home, root);
    if (!sample.isValid())
        return fail(QStringLiteral("cannot create the machine under %1").arg(folder));
    MachineBuilder machine(sample);
    addApplications(sample, machine);
    addPackages(sample, machine);
    addLeftovers(sample, machine);
    if (!addSystemData(sample, machine))
        std::fprintf(stderr, "verlo_demo_machine: some folders did not reach their exact size\n");

    QFile env(stamp);
    if (!env.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(QStringLiteral("cannot write %1").arg(stamp));
    QTextStream out(&env);
    out << "VERLO_DEMO_HOME=" << shellQuoted(sample.home()) << '\n'
        << "VERLO_DEMO_ROOT=" << shellQuoted(sample.root()) << '\n';
    out.flush();
    env.close();
    std::printf("%s\n", qPrintable(stamp));
    return 0;
}
