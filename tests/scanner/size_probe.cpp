// Prints sizeOfDirectory of one folder. The size tests run it as an unprivileged user, so that
// folder permissions really apply (the tests themselves run as root in CI).
#include "scanner/FileScanner.h"

#include <QFile>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: size_probe FOLDER\n");
        return 2;
    }
    const FileScanner scanner;
    std::printf("%lld\n",
                static_cast<long long>(scanner.sizeOfDirectory(QFile::decodeName(argv[1]))));
    return 0;
}
