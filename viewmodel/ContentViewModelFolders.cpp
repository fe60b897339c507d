// The Large Folders drill-down: one large folder's largest entries in the detail pane, and back.
#include "viewmodel/ContentViewModel.h"

#include "viewmodel/FileSelection.h"

namespace {

// Entries shown of an opened folder, largest first.
constexpr int kEntriesShown = 50;

} // namespace

QStringList ContentViewModel::openedFolders() const
{
    QStringList paths;
    for (const OpenedFolder &folder : m_openedFolders)
        paths.append(folder.path);
    return paths;
}

void ContentViewModel::openFolder(const QString &path)
{
    if (m_isScanning || m_currentSection != SidebarSection::systemData ||
        !m_fileGroupDirectories.contains(path))
        return;
    const quint64 generation = beginItemWork();
    const FileScanner scanner = m_scanner;
    m_jobs.run(
        JobRunner::Queue::serial, this,
        [scanner, path] {
            QList<FileGroup> groups;
            const QList<AssociatedFile> entries = scanner.largestChildren(path, kEntriesShown);
            if (!entries.isEmpty())
                groups.append(FileGroup(FileCategory::largeFolders, entries));
            return std::pair(groups, FileSelection::directoryPaths(groups, scanner.fileManager()));
        },
        [this, generation, path](const std::pair<QList<FileGroup>, QSet<QString>> &outcome) {
            --m_pendingItemWork;
            if (generation == m_itemGeneration) {
                QList<OpenedFolder> trail = m_openedFolders;
                trail.append({path, m_fileGroups, m_fileGroupDirectories});
                setFileGroups(outcome.first, outcome.second);
                setOpenedFolders(trail);
            }
            settleScanning();
        });
}

void ContentViewModel::closeFolder()
{
    if (m_isScanning || m_openedFolders.isEmpty())
        return;
    QList<OpenedFolder> trail = m_openedFolders;
    const OpenedFolder last = trail.takeLast();
    setFileGroups(last.parentGroups, last.parentDirectories);
    setOpenedFolders(trail);
}

void ContentViewModel::setOpenedFolders(const QList<OpenedFolder> &trail)
{
    if (trail.isEmpty() && m_openedFolders.isEmpty())
        return;
    m_openedFolders = trail;
    emit openedFoldersChanged();
}
