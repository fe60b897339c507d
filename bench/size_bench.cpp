// Measures one folder with the program's size walk and prints one line:
//   total <bytes> seconds <wall time of the walk> peak_rss_kb <peak resident memory>
// usage: size_bench [--threads N] FOLDER
// Without --threads it calls FileScanner::sizeOfDirectory, exactly as the program does; with it,
// the walker on that many threads.
#include "scanner/DirectoryWalker.h"
#include "scanner/FileScanner.h"

#include <QElapsedTimer>
#include <QFile>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

long peakResidentKilobytes()
{
    struct rusage usage;
    if (::getrusage(RUSAGE_SELF, &usage) != 0)
        return -1;
#if defined(__APPLE__)
    return usage.ru_maxrss / 1024; // bytes there, kilobytes on Linux
#else
    return usage.ru_maxrss;
#endif
}

} // namespace

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
    const FileScanner scanner;
    QElapsedTimer timer;
    timer.start();
    const qint64 total =
        threads > 0 ? DirectoryWalker(threads).totalSize(path) : scanner.sizeOfDirectory(path);
    const double seconds = timer.nsecsElapsed() / 1e9;
    std::printf("total %lld seconds %.4f peak_rss_kb %ld\n", static_cast<long long>(total), seconds,
                peakResidentKilobytes());
    return 0;
}
