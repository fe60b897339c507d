#include "viewmodel/ItemScan.h"

#include "viewmodel/FileSelection.h"

#include <QDir>

namespace {

// What the scanner finds for the item, before anything is dropped or ticked.
QList<FileGroup> foundFiles(const FileScanner &scanner, const Item &item,
                            const QList<AppInfo> &installed, const ScanProgress &progress)
{
    if (const auto *app = item.as<AppInfo>())
        return scanner.findApplicationFiles(*app, installed, progress);
    // A package's searches are quick: its name is all the progress there is to tell.
    if (progress)
        progress(item.name());
    if (item.as<NPMPackage>()) {
        const QList<FileGroup> global = scanner.findNPMGlobalFiles(item.name());
        return FileScanner::mergeFileGroups(scanner.findNPMNamedFiles(item.name()), global);
    }
    const QList<FileGroup> store = scanner.findHomebrewStoreFiles(item.name());
    return FileScanner::mergeFileGroups(scanner.findHomebrewSupportFiles(item.name()), store);
}

} // namespace

namespace ItemScan {

QList<FileGroup> scanItem(const FileScanner &scanner, const Item &item,
                          const QList<AppInfo> &installed, const ScanProgress &progress)
{
    // A leftover row's files were found with the row; those gone since are dropped.
    const auto *row = item.as<LeftoverRow>();
    QList<FileGroup> groups = FileSelection::removeMissingFiles(
        row ? row->groups : foundFiles(scanner, item, installed, progress), scanner.fileManager());
    applyFirstTicks(groups, item.section(), scanner);
    return groups;
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
