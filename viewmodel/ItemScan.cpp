#include "viewmodel/ItemScan.h"

#include "viewmodel/FileSelection.h"

namespace {

QList<FileGroup> withFirstTicks(const QList<FileGroup> &found, const FileScanner &scanner,
                                bool ticked)
{
    QList<FileGroup> groups = FileSelection::removeMissingFiles(found, scanner.fileManager());
    FileSelection::selectEveryFile(groups, ticked);
    return groups;
}

} // namespace

namespace ItemScan {

QList<FileGroup> applicationFiles(const FileScanner &scanner, const AppInfo &app,
                                  const QList<AppInfo> &installed, const ScanProgress &progress)
{
    return withFirstTicks(scanner.findApplicationFiles(app, installed, progress), scanner, false);
}

QList<FileGroup> npmPackageFiles(const FileScanner &scanner, const NPMPackage &package,
                                 const ScanProgress &progress)
{
    if (progress)
        progress(package.name);
    const QList<FileGroup> global = scanner.findNPMGlobalFiles(package.name);
    const QList<FileGroup> named = scanner.findNPMNamedFiles(package.name);
    return withFirstTicks(FileScanner::mergeFileGroups(named, global), scanner, true);
}

QList<FileGroup> homebrewPackageFiles(const FileScanner &scanner, const HomebrewPackage &package,
                                      const ScanProgress &progress)
{
    if (progress)
        progress(package.name);
    const QList<FileGroup> store = scanner.findHomebrewStoreFiles(package.name);
    const QList<FileGroup> support = scanner.findHomebrewSupportFiles(package.name);
    return withFirstTicks(FileScanner::mergeFileGroups(support, store), scanner, true);
}

} // namespace ItemScan
