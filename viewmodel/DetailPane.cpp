#include "viewmodel/DetailPane.h"

#include "model/ByteCountFormat.h"
#include "viewmodel/FileSelection.h"

namespace {

// Entries shown of an opened folder, largest first.
constexpr int kEntriesShown = 50;

} // namespace

DetailPane::DetailPane(const FileScanner &scanner, JobRunner &jobs, ScanActivity &activity,
                       QObject *parent)
    : QObject(parent), m_scanner(scanner), m_jobs(jobs), m_activity(activity),
      m_fileGroupsModel(new FileGroupListModel(this))
{}

void DetailPane::setFileGroups(const QList<FileGroup> &groups, const QSet<QString> &directoryPaths)
{
    setOpenedFolders({});
    if (groups.isEmpty() && m_fileGroups.isEmpty())
        return;
    m_fileGroups = groups;
    m_fileGroupDirectories = directoryPaths;
    m_fileGroupsModel->setGroups(groups, directoryPaths);
    emit fileGroupsChanged();
    emit selectionChanged();
}

void DetailPane::startScan(Search search)
{
    const quint64 generation = m_activity.beginItemWork();
    setFileGroups({});
    emit scanStarted();
    const FileScanner scanner = m_scanner;
    const ScanProgress progress = m_activity.progressReporter(generation, false);
    m_jobs.run(
        JobRunner::Queue::serial, this,
        [scanner, search, progress] {
            const QList<FileGroup> groups = search(scanner, progress);
            return Found{groups, FileSelection::directoryPaths(groups, scanner.fileManager())};
        },
        [this, generation](const Found &found) {
            if (m_activity.endItemWork(generation))
                setFileGroups(found.groups, found.directoryPaths);
            m_activity.settle();
        });
}

void DetailPane::publishSelection(const QList<FileGroup> &groups)
{
    if (FileSelection::sameTicks(groups, m_fileGroups))
        return;
    m_fileGroups = groups;
    m_fileGroupsModel->updateGroups(groups);
    emit selectionChanged();
}

void DetailPane::editTicks(const std::function<void(QList<FileGroup> &)> &edit)
{
    QList<FileGroup> groups = m_fileGroups;
    edit(groups);
    publishSelection(groups);
}

void DetailPane::toggleFile(const QString &fileId)
{
    editTicks([&](QList<FileGroup> &groups) {
        FileSelection::toggleFile(groups, QUuid::fromString(fileId));
    });
}

void DetailPane::setGroupSelection(const QString &groupId, bool selected)
{
    editTicks([&](QList<FileGroup> &groups) {
        FileSelection::setGroupSelection(groups, QUuid::fromString(groupId), selected);
    });
}

void DetailPane::setAllSelected(bool selected)
{
    editTicks([&](QList<FileGroup> &groups) { FileSelection::selectEveryFile(groups, selected); });
}

QList<AssociatedFile> DetailPane::selectedFiles() const
{
    return FileSelection::selectedFiles(m_fileGroups);
}

int DetailPane::totalSelectedCount() const
{
    return FileSelection::selectedCount(m_fileGroups);
}

QString DetailPane::totalSelectedSizeText() const
{
    return formatByteCount(FileSelection::selectedSize(m_fileGroups));
}

QString DetailPane::fileGroupsTotalSizeText() const
{
    return formatByteCount(FileSelection::totalSize(m_fileGroups));
}

int DetailPane::fileGroupsFileCount() const
{
    return FileSelection::fileCount(m_fileGroups);
}

void DetailPane::setSortBySize(bool sortBySize)
{
    if (sortBySize == m_sortBySize)
        return;
    m_sortBySize = sortBySize;
    emit sortBySizeChanged();
}

QStringList DetailPane::openedFolders() const
{
    QStringList paths;
    for (const OpenedFolder &folder : m_openedFolders)
        paths.append(folder.path);
    return paths;
}

void DetailPane::openFolder(const QString &path)
{
    if (m_activity.isScanning() || !m_activity.isSystemDataShown() ||
        !m_fileGroupDirectories.contains(path))
        return;
    const quint64 generation = m_activity.beginItemWork();
    const FileScanner scanner = m_scanner;
    m_jobs.run(
        JobRunner::Queue::serial, this,
        [scanner, path] {
            QList<FileGroup> groups;
            const QList<AssociatedFile> entries = scanner.largestChildren(path, kEntriesShown);
            if (!entries.isEmpty())
                groups.append(FileGroup(FileCategory::largeFolders, entries));
            return Found{groups, FileSelection::directoryPaths(groups, scanner.fileManager())};
        },
        [this, generation, path](const Found &found) {
            if (m_activity.endItemWork(generation)) {
                QList<OpenedFolder> trail = m_openedFolders;
                trail.append({path, m_fileGroups, m_fileGroupDirectories});
                setFileGroups(found.groups, found.directoryPaths);
                setOpenedFolders(trail);
            }
            m_activity.settle();
        });
}

void DetailPane::closeFolder()
{
    if (m_activity.isScanning() || m_openedFolders.isEmpty())
        return;
    QList<OpenedFolder> trail = m_openedFolders;
    const OpenedFolder last = trail.takeLast();
    setFileGroups(last.parentGroups, last.parentDirectories);
    setOpenedFolders(trail);
}

void DetailPane::setOpenedFolders(const QList<OpenedFolder> &trail)
{
    if (trail.isEmpty() && m_openedFolders.isEmpty())
        return;
    m_openedFolders = trail;
    emit openedFoldersChanged();
}
