// Times the application listing (FileScanner::scanApplications) of a sandbox machine with many
// bundles, next to its floor: a loop that lists the same folders and reads each bundle's
// Info.plist bytes, with plain system calls and one reused buffer.
//
// Usage: bench_applications [bundles, default 1000] [runs, default 15]

#include "demo/PlistWriter.h"
#include "scanner/FileScanner.h"
#include "tests/support/Sandbox.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// An Info.plist shaped like a real one: a few dozen keys, arrays and nested dictionaries, about
// two to three kilobytes as XML.
QVariantMap infoDictionary(int i)
{
    const QString name = QStringLiteral("Bench App %1").arg(i);
    const QString identifier = QStringLiteral("com.vendor%1.benchapp%2").arg(i % 37).arg(i);
    QVariantMap urlType{
        {QStringLiteral("CFBundleURLName"), identifier + QStringLiteral(".url")},
        {QStringLiteral("CFBundleURLSchemes"), QVariantList{QStringLiteral("benchapp%1").arg(i)}}};
    QVariantMap document{
        {QStringLiteral("CFBundleTypeName"), QStringLiteral("Bench Document")},
        {QStringLiteral("CFBundleTypeRole"), QStringLiteral("Editor")},
        {QStringLiteral("LSItemContentTypes"),
         QVariantList{identifier + QStringLiteral(".document"), QStringLiteral("public.data")}}};
    QVariantMap keys{
        {QStringLiteral("CFBundleName"), name},
        {QStringLiteral("CFBundleDisplayName"), name},
        {QStringLiteral("CFBundleIdentifier"), identifier},
        {QStringLiteral("CFBundleExecutable"), QStringLiteral("BenchApp%1").arg(i)},
        {QStringLiteral("CFBundleIconFile"), QStringLiteral("AppIcon")},
        {QStringLiteral("CFBundlePackageType"), QStringLiteral("APPL")},
        {QStringLiteral("CFBundleShortVersionString"), QStringLiteral("%1.%2.3").arg(i % 9)},
        {QStringLiteral("CFBundleVersion"), QString::number(1000 + i)},
        {QStringLiteral("CFBundleInfoDictionaryVersion"), QStringLiteral("6.0")},
        {QStringLiteral("CFBundleDevelopmentRegion"), QStringLiteral("en")},
        {QStringLiteral("LSMinimumSystemVersion"), QStringLiteral("11.0")},
        {QStringLiteral("LSApplicationCategoryType"),
         QStringLiteral("public.app-category.productivity")},
        {QStringLiteral("NSHumanReadableCopyright"),
         QStringLiteral("Copyright © 2024 Vendor %1. All rights reserved.").arg(i % 37)},
        {QStringLiteral("NSPrincipalClass"), QStringLiteral("NSApplication")},
        {QStringLiteral("NSHighResolutionCapable"), true},
        {QStringLiteral("NSSupportsAutomaticGraphicsSwitching"), true},
        {QStringLiteral("BuildMachineOSBuild"), QStringLiteral("23A344")},
        {QStringLiteral("DTCompiler"), QStringLiteral("com.apple.compilers.llvm.clang.1_0")},
        {QStringLiteral("DTPlatformVersion"), QStringLiteral("14.0")},
        {QStringLiteral("DTSDKName"), QStringLiteral("macosx14.0")},
        {QStringLiteral("DTXcode"), QStringLiteral("1500")},
        {QStringLiteral("CFBundleSupportedPlatforms"), QVariantList{QStringLiteral("MacOSX")}},
        {QStringLiteral("CFBundleURLTypes"), QVariantList{urlType}},
        {QStringLiteral("CFBundleDocumentTypes"), QVariantList{document}},
        {QStringLiteral("NSAppTransportSecurity"),
         QVariantMap{{QStringLiteral("NSAllowsArbitraryLoads"), false}}},
    };
    return keys;
}

// Lists folder and reads every "*.app/Contents/Info.plist" in it into one buffer; returns the
// bytes read.
qint64 readEveryInfoPlist(const QByteArray &folder, std::vector<char> &buffer)
{
    qint64 total = 0;
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return 0;
    std::string path;
    while (const struct dirent *entry = ::readdir(dir)) {
        const size_t length = std::strlen(entry->d_name);
        if (length < 5 || std::strcmp(entry->d_name + length - 4, ".app") != 0)
            continue;
        path.assign(folder.constData()).append("/").append(entry->d_name);
        path.append("/Contents/Info.plist");
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        ssize_t count;
        while ((count = ::read(fd, buffer.data(), buffer.size())) > 0)
            total += count;
        ::close(fd);
    }
    ::closedir(dir);
    return total;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int bundles = argc > 1 ? std::max(1, atoi(argv[1])) : 1000;
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 15;

    Sandbox box;
    const QStringList folders = {box.homePath(QStringLiteral("Applications")),
                                 box.systemPath(QStringLiteral("/Applications"))};
    qint64 plistBytes = 0;
    for (int i = 0; i < bundles; ++i) {
        // One bundle in ten in the home folder; one in three with a binary list, as Apple's own
        // applications and many built by Xcode ship them.
        const QString bundle =
            QStringLiteral("%1/Bench App %2.app").arg(folders[i % 10 == 0 ? 0 : 1]).arg(i);
        const QVariantMap keys = infoDictionary(i);
        const QByteArray plist = i % 3 == 0 ? PlistWriter::binary(keys) : PlistWriter::xml(keys);
        box.writeFile(bundle + QStringLiteral("/Contents/Info.plist"), plist);
        box.writeFile(bundle + QStringLiteral("/Contents/Resources/AppIcon.icns"), "icns");
        box.makeDir(bundle + QStringLiteral("/Contents/MacOS"));
        plistBytes += plist.size();
    }

    const FileScanner scanner(box.places());
    std::vector<char> buffer(64 * 1024);
    QList<double> scanTimes, floorTimes;
    qsizetype listed = 0;
    qint64 read = 0;
    for (int run = 0; run <= runs; ++run) { // run 0 warms the caches and is not counted
        QElapsedTimer timer;
        timer.start();
        const QList<AppInfo> apps = scanner.scanApplications();
        const double scanMs = timer.nsecsElapsed() / 1e6;

        timer.restart();
        read = 0;
        for (const QString &folder : folders)
            read += readEveryInfoPlist(QFile::encodeName(folder), buffer);
        const double floorMs = timer.nsecsElapsed() / 1e6;

        listed = apps.size();
        if (run == 0)
            continue;
        scanTimes.append(scanMs);
        floorTimes.append(floorMs);
    }

    const double scan = median(scanTimes);
    const double floor = median(floorTimes);
    std::printf("applications: %d bundles (a third with binary lists), %lld listed, %lld bytes of "
                "Info.plist; scanApplications %.1f ms, reading every Info.plist %.1f ms (medians "
                "of %d interleaved runs); scan/floor %.2fx\n",
                bundles, static_cast<long long>(listed), static_cast<long long>(read), scan, floor,
                runs, floor > 0 ? scan / floor : 0.0);
    return listed == bundles && read == plistBytes ? 0 : 1;
}
