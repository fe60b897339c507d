#include "viewmodel/ItemScan.h"

#include "viewmodel/FileSelection.h"

#include <QDir>

namespace {

QList<FileGroup> firstShown(const QList<FileGroup> &found, const FileScanner &scanner,
                            SidebarSection section)
{
    QList<FileGroup> groups = FileSelection::removeMissingFiles(found, scanner.fileManager());
    ItemScan::applyFirstTicks(groups, section, scanner);
    return groups;
}

QList<FileGroup> applicationFiles(const FileScanner &scanner, const AppInfo &app,
                                  const QList<AppInfo> &installed, const ScanProgress &progress)
{
    return firstShown(scanner.findApplicationFiles(app, installed, progress), scanner,
                      SidebarSection::applications);
}

QList<FileGroup> npmPackageFiles(const FileScanner &scanner, const NPMPackage &package,
                                 const ScanProgress &progress)
{
    if (progress)
        progress(package.name);
    const QList<FileGroup> global = scanner.findNPMGlobalFiles(package.name);
    const QList<FileGroup> named = scanner.findNPMNamedFiles(package.name);
    return firstShown(FileScanner::mergeFileGroups(named, global), scanner, SidebarSection::npm);
}

QList<FileGroup> homebrewPackageFiles(const FileScanner &scanner, const HomebrewPackage &package,
                                      const ScanProgress &progress)
{
    if (progress)
        progress(package.name);
    const QList<FileGroup> store = scanner.findHomebrewStoreFiles(package.name);
    const QList<FileGroup> support = scanner.findHomebrewSupportFiles(package.name);
    return firstShown(FileScanner::mergeFileGroups(support, store), scanner,
                      SidebarSection::homebrew);
}

} // namespace

namespace ItemScan {

QList<FileGroup> scanItem(const FileScanner &scanner, const Item &item,
                          const QList<AppInfo> &installed, const ScanProgress &progress)
{
    if (const auto *package = item.as<NPMPackage>())
        return npmPackageFiles(scanner, *package, progress);
    if (const auto *package = item.as<HomebrewPackage>())
        return homebrewPackageFiles(scanner, *package, progress);
    if (const auto *row = item.as<LeftoverRow>())
        return row->groups;
    return applicationFiles(scanner, *item.as<AppInfo>(), installed, progress);
}

void applyFirstTicks(QList<FileGroup> &groups, SidebarSection section, const FileScanner &scanner)
{
    const bool isPackage = section == SidebarSection::npm || section == SidebarSection::homebrew;
    if (!isPackage) {
        FileSelection::selectEveryFile(groups, false);
        return;
    }
    // The store, its download caches and logs, and the prefix's own folders keep their ticks.
    const QStringList namedFolders = scanner.namedLocationFolders();
    for (FileGroup &group : groups) {
        for (AssociatedFile &file : group.files) {
            const QString folder = QDir::cleanPath(file.path.left(file.path.lastIndexOf(u'/')));
            FileSelection::select(file, !namedFolders.contains(folder));
        }
    }
}

} // namespace ItemScan
