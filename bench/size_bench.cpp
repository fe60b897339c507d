// Measures one folder with the program's size walk and prints one line:
//   total <bytes> seconds <wall time of the walk> peak_rss_kb <peak resident memory> threads <most
//   threads at once>
// usage: size_bench [--threads N] FOLDER
// Without --threads it runs the walk FileScanner::sizeOfDirectory runs (DirectoryWalker::standard,
// paced); with it, the walker on exactly that many threads.
#include "scanner/DirectoryWalker.h"
#include "scanner/platform/ResourceUsage.h"

#include <QElapsedTimer>
#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char **argv)
{
    int threads = 0;
    const char *folder = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--threads") == 0 && i + 1 < argc)
            threads = std::atoi(argv[++i]);
        else
            folder = argv[i];
    }
    if (!folder) {
        std::fprintf(stderr, "usage: size_bench [--threads N] FOLDER\n");
        return 2;
    }
    const QString path = QFile::decodeName(folder);
    const DirectoryWalker walker =
        threads > 0 ? DirectoryWalker(threads) : DirectoryWalker::standard();
    int threadsUsed = 0;
    QElapsedTimer timer;
    timer.start();
    const qint64 total = walker.totalSize(path, &threadsUsed);
    const double seconds = timer.nsecsElapsed() / 1e9;
    std::printf("total %lld seconds %.4f peak_rss_kb %ld threads %d\n",
                static_cast<long long>(total), seconds, platform::peakResidentKilobytes(),
                threadsUsed);
    return 0;
}
