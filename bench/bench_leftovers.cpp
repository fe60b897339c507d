// Times the leftover search of one application on a home whose searched folders are full, next to
// the cost of simply listing those folders once each, names left as bytes (the floor no search
// can go under), and of listing them as the path lists FileManager::contentsOfDirectory builds.
//
// Usage: bench_leftovers [entries per folder, default 3000] [runs, default 15]

#include "bench/BenchRuns.h"
#include "model/FileCategory.h"
#include "scanner/CategoryPlaces.h"
#include "scanner/FileScanner.h"
#include "tests/support/Sandbox.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>

namespace {

// The folders the category loop lists, in its order (Caches and Logs more than once), and the
// home folder for the dot entries.
QStringList loopFolders(const Places &places)
{
    QStringList folders;
    for (FileCategory category : allFileCategories()) {
        if (category == FileCategory::appBundle)
            continue;
        if (category == FileCategory::homeDotFiles) {
            folders.append(places.home());
        } else if (const auto location = defaultLocation(category, places)) {
            folders.append(*location);
        } else if (const auto name = libraryFolderName(category)) {
            folders.append(places.inHome(QStringLiteral("Library/") + *name));
        }
    }
    return folders;
}

// Names like those real folders hold: reverse-DNS identifiers, plain and camel-case names,
// logs and property lists, dot entries in the home folder.
QString entryName(int i, bool dot, bool plist)
{
    static const char *const vendors[] = {"apple", "google",  "microsoft", "mozilla", "jetbrains",
                                          "adobe", "spotify", "slack",     "docker",  "figma"};
    static const char *const words[] = {"Helper", "Agent", "Sync",   "Updater", "Cache",   "Studio",
                                        "Player", "Notes", "Editor", "Viewer",  "Service", "Tool"};
    const QString vendor = QString::fromLatin1(vendors[i % 10]);
    const QString word = QString::fromLatin1(words[(i / 10) % 12]);
    QString name;
    switch (i % 4) {
    case 0:
        name = QStringLiteral("com.%1.%2%3").arg(vendor, word.toLower()).arg(i);
        break;
    case 1:
        name = QStringLiteral("%1 %2 %3").arg(vendor, word).arg(i);
        break;
    case 2:
        name = QStringLiteral("%1%2-%3.log").arg(word, vendor).arg(i);
        break;
    default:
        name = QStringLiteral("%1_%2_%3").arg(vendor, word).arg(i);
        break;
    }
    if (plist)
        name += QStringLiteral(".plist");
    return dot ? QLatin1Char('.') + name : name;
}

void fill(const QString &folder, int count, bool dot, bool plist)
{
    QDir().mkpath(folder);
    for (int i = 0; i < count; ++i) {
        const QString path = folder + QLatin1Char('/') + entryName(i, dot, plist);
        // Mostly empty files; every tenth entry a small folder, as caches and support folders have.
        if (i % 10 == 0) {
            QDir().mkdir(path);
            QFile data(path + QStringLiteral("/data"));
            if (data.open(QIODevice::WriteOnly))
                data.write(QByteArray(100, 'x'));
        } else {
            QFile(path).open(QIODevice::WriteOnly);
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const auto [perFolder, runs] = benchArguments(argc, argv, 3000, 15);

    Sandbox box;
    const Places places = box.places();
    QStringList folders = loopFolders(places);
    folders.removeDuplicates();
    for (const char *named : {"Library/LaunchAgents"})
        folders.append(places.inHome(QString::fromLatin1(named)));

    int entries = 0;
    for (const QString &folder : folders) {
        const bool isHome = folder == places.home();
        fill(folder, perFolder, isHome,
             folder == places.inHome(QStringLiteral("Library/Preferences")));
        entries += perFolder;
    }
    // What the application really left: a few entries that the search must find and measure.
    box.writeFileOfSize(box.homePath("Library/Caches/Pixel Forge/cache.db"), 1 << 20);
    box.writeFileOfSize(box.homePath("Library/Application Support/Pixel Forge/db"), 1 << 18);
    box.writeFile(box.homePath("Library/Preferences/io.acme.pixelforge.agent.plist"), "p");
    box.writeFile(box.homePath("Library/Logs/acme-agent.log"), "log");
    box.makeDir(box.homePath(".config/Pixel Forge"));
    const QString bundle = box.makeAppBundle(box.systemPath("/Applications"), "Pixel Forge.app",
                                             {{"CFBundleIdentifier", "io.acme.pixelforge.agent"}});

    const FileScanner scanner(places);
    const FileManager &fm = scanner.fileManager();

    QList<FileGroup> groups;
    qsizetype listedEntries = 0; // kept so the listings are not optimised away
    const QList<double> medians = medianMilliseconds(
        runs,
        {[&] {
             groups = scanner.findAssociatedFiles(QStringLiteral("io.acme.pixelforge.agent"),
                                                  QStringLiteral("Pixel Forge"), bundle, {});
         },
         [&] {
             for (const QString &folder : folders)
                 fm.forEachEntry(folder, [&listedEntries](QByteArrayView) { ++listedEntries; });
         },
         [&] {
             for (const QString &folder : folders)
                 listedEntries += fm.contentsOfDirectory(folder).value_or(QStringList()).size();
         }});
    int found = 0;
    for (const FileGroup &group : std::as_const(groups))
        found += group.files.size();
    const double search = medians[0];
    const double floor = medians[1];
    std::printf("leftovers: %lld folders, %d entries, %d found; findAssociatedFiles %.1f ms, "
                "listing each folder once %.1f ms (as path lists: %.1f ms), medians of %d "
                "interleaved runs; search/floor %.2fx\n",
                static_cast<long long>(folders.size()), entries, found, search, floor, medians[2],
                runs, floor > 0 ? search / floor : 0.0);
    return found > 0 && listedEntries > 0 ? 0 : 1;
}
