// Times the finder of what removed programs left (FileScanner::findLeftovers) on a machine whose
// searched places are full and which has many installed programs and packages, next to the cost
// of listing each searched place once plus reading the installed lists (the applications, the
// package tool's list, the program folders): the floor the finder cannot go under.
//
// Usage: bench_formerprograms [entries per place, default 1500] [runs, default 9]

#include "bench/BenchRuns.h"
#include "demo/DesktopMachineBuilder.h"
#include "scanner/FileScanner.h"
#include "tests/support/Sandbox.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

const char *const kPlaces[] = {
    ".config",
    ".cache",
    ".local/share",
    ".local/state",
    ".var/app",
    "snap",
    ".config/autostart",
    ".config/systemd/user",
    "Library/Preferences",
    "Library/Application Support",
    "Library/Caches",
    "Library/LaunchAgents",
    ".local/share/applications",
};

// Installed package i's name; entries are named after them, and one in ten after none.
QString packageName(int i)
{
    static const char *const words[] = {"gnome", "lib",   "python3", "font", "x",
                                        "qt",    "media", "net",     "dev",  "tool"};
    return QStringLiteral("%1-%2pkg%3").arg(QLatin1String(words[i % 10])).arg(i % 7).arg(i);
}

QString entryName(const char *place, int i)
{
    const QString name = i % 10 == 0 ? QStringLiteral("gone%1").arg(i) : packageName(i);
    const QString folder = QString::fromLatin1(place);
    if (folder.endsWith(QLatin1String("Preferences")) || folder.endsWith(QLatin1String("Agents")))
        return QStringLiteral("org.example.%1.plist").arg(name);
    if (folder.endsWith(QLatin1String("autostart")) ||
        folder.endsWith(QLatin1String("applications")))
        return name + QStringLiteral(".desktop");
    if (folder.endsWith(QLatin1String("user")))
        return name + QStringLiteral(".service");
    return name;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const auto [perPlace, runs] = benchArguments(argc, argv, 1500, 9, 10);

    Sandbox box;
    MachineBuilder builder(box);
    DesktopMachineBuilder desktop(box, builder);
    QMap<QString, QString> sources;
    for (int i = 0; i < perPlace; ++i) {
        sources.insert(packageName(i), packageName(i - i % 3));
        if (i % 10 == 0) {
            desktop.addDesktopEntry(desktop.systemData(), packageName(i) + ".desktop",
                                    QStringLiteral("App %1").arg(i), packageName(i));
            box.writeScript(box.systemPath("/usr/bin/" + packageName(i)), "true");
        }
    }
    desktop.installDpkgQuery({}, sources);
    for (const char *place : kPlaces) {
        for (int i = 0; i < perPlace; ++i) {
            const QString path =
                box.homePath(QString::fromLatin1(place)) + '/' + entryName(place, i);
            if (path.endsWith(".plist") || path.endsWith(".desktop") || path.endsWith(".service"))
                box.writeFile(path,
                              "[Desktop Entry]\nExec=/usr/bin/" + packageName(i).toUtf8() + "\n");
            else
                box.writeFile(path + "/data", "x");
        }
    }
    for (int i = 0; i < perPlace; ++i)
        box.writeFile(box.homePath(QStringLiteral(".%1rc").arg(packageName(i))), "x");

    const FileScanner scanner(box.places());
    const FileManager &files = scanner.fileManager();
    qsizetype rows = 0, listed = 0;
    const auto count = [&listed](QByteArrayView) { ++listed; };
    const QList<double> medians = medianMilliseconds(
        runs, {[&] { rows = scanner.findLeftovers({}).size(); },
               [&] {
                   for (const char *place : kPlaces)
                       files.forEachEntry(box.homePath(QString::fromLatin1(place)), count);
                   files.forEachEntry(box.home(), count);
                   listed += scanner.scanApplications().size();
                   listed += scanner
                                 .runQuery(box.systemPath("/usr/bin/dpkg-query"),
                                           {"-W", "-f", "${binary:Package} ${source:Package}\n"})
                                 .output.value_or(QString())
                                 .size();
                   for (const char *folder : {"/usr/bin", "/bin", "/usr/sbin", "/sbin",
                                              "/usr/games", "/usr/local/bin", "/usr/libexec"})
                       files.forEachEntry(box.systemPath(QString::fromLatin1(folder)), count);
               }});
    const double finder = medians[0];
    const double floor = medians[1];
    const double ratio = floor > 0 ? finder / floor : 0.0;
    const bool met = ratio <= 1.5;
    std::printf("former programs: %d places of %d entries, %lld rows; findLeftovers %.1f ms, "
                "listing each place once and reading the installed lists %.1f ms, medians of %d "
                "interleaved runs; finder/floor %.2fx, goal <= 1.5x %s\n",
                int(std::size(kPlaces)) + 1, perPlace, static_cast<long long>(rows), finder, floor,
                runs, ratio, met ? "met" : "NOT met");
    return rows > 0 && listed > 0 && met ? 0 : 1;
}
