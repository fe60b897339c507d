// Runs one whole System Data scan (FileScanner::scanSystemData, with its walk of the home) with
// HOME as the home folder and an empty system root, and prints one line:
//   total <home's size> accounted <bytes> measured <bytes measured> seconds <scan's wall time>
//   peak_rss_kb <peak resident memory> large <large folders listed>
// usage: bench_homescan HOME [CACHE_HOME]
// CACHE_HOME, when given, is taken as $XDG_CACHE_HOME, so that the categories measure a part of
// the home before its walk and that walk must take their sizes as they are.
#include "scanner/FileScanner.h"
#include "scanner/platform/ResourceUsage.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2 || args.size() > 3) {
        std::fprintf(stderr, "usage: bench_homescan HOME [CACHE_HOME]\n");
        return 2;
    }
    const QTemporaryDir root;
    QMap<QString, QString> xdg;
    if (args.size() == 3)
        xdg.insert(QStringLiteral("XDG_CACHE_HOME"), args[2]);
    const FileScanner scanner(Places(args[1], root.path(), xdg));

    SystemDataListener listener;
    listener.measuredBytes = std::make_shared<std::atomic<qint64>>(0);
    QElapsedTimer timer;
    timer.start();
    const SystemDataResult result = scanner.scanSystemData({}, listener);
    const double seconds = timer.nsecsElapsed() / 1e9;

    qsizetype large = 0;
    for (const FileGroup &group : result.groups + result.hiddenGroups) {
        if (group.category == FileCategory::largeFolders)
            large = group.files.size();
    }
    std::printf("total %lld accounted %lld measured %lld seconds %.4f peak_rss_kb %ld large %lld\n",
                static_cast<long long>(result.homeSize),
                static_cast<long long>(result.accountedSize),
                static_cast<long long>(listener.measuredBytes->load()), seconds,
                platform::peakResidentKilobytes(), static_cast<long long>(large));
    return 0;
}
