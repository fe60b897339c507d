#include "viewmodel/FileSelection.h"

#include "scanner/FileManager.h"

#include <algorithm>

namespace {

bool isStoreCategory(FileCategory category)
{
    return category == FileCategory::homebrewCellar || category == FileCategory::homebrewCaskroom;
}

// What a change of one group's ticks brings along.
void applyRules(QList<FileGroup> &groups, FileCategory changed, bool selected)
{
    if (changed == FileCategory::appBundle)
        FileSelection::selectEveryFile(groups, selected);
    if (isStoreCategory(changed))
        FileSelection::syncDownloadCache(groups);
}

} // namespace

namespace FileSelection {

void select(AssociatedFile &file, bool selected)
{
    // A file another row lists too is ticked only by itself.
    if (selected && !file.alsoUsedBy.isEmpty())
        return;
    file.isSelected = selected && file.isRemovable();
}

void selectEveryFile(QList<FileGroup> &groups, bool selected)
{
    for (FileGroup &group : groups) {
        for (AssociatedFile &file : group.files)
            select(file, selected);
    }
}

void tickOpenedSystemCategory(QList<FileGroup> &groups)
{
    for (FileGroup &group : groups) {
        // Installed software and the user's own folders are there to be reviewed one by one.
        const bool forReview = group.category == FileCategory::largeFolders ||
                               group.category == FileCategory::toolchains;
        for (AssociatedFile &file : group.files)
            select(file, !forReview);
    }
}

void syncDownloadCache(QList<FileGroup> &groups)
{
    auto cache = std::find_if(groups.begin(), groups.end(), [](const FileGroup &group) {
        return group.category == FileCategory::homebrewCache;
    });
    if (cache == groups.end())
        return;
    bool anyStoreFileSelected = false;
    for (const FileGroup &group : std::as_const(groups)) {
        if (!isStoreCategory(group.category))
            continue;
        for (const AssociatedFile &file : group.files)
            anyStoreFileSelected = anyStoreFileSelected || file.isSelected;
    }
    for (AssociatedFile &file : cache->files)
        select(file, anyStoreFileSelected);
}

bool toggleFile(QList<FileGroup> &groups, const QUuid &fileId)
{
    for (FileGroup &group : groups) {
        for (AssociatedFile &file : group.files) {
            if (file.id != fileId)
                continue;
            if (!file.isRemovable())
                return false;
            file.isSelected = !file.isSelected;
            applyRules(groups, group.category, file.isSelected);
            return true;
        }
    }
    return false;
}

bool setGroupSelection(QList<FileGroup> &groups, const QUuid &groupId, bool selected)
{
    for (FileGroup &group : groups) {
        if (group.id != groupId)
            continue;
        for (AssociatedFile &file : group.files)
            select(file, selected);
        applyRules(groups, group.category, selected);
        return true;
    }
    return false;
}

bool sameTicks(const QList<FileGroup> &a, const QList<FileGroup> &b)
{
    if (a.size() != b.size())
        return false;
    for (int g = 0; g < a.size(); ++g) {
        if (a.at(g).files.size() != b.at(g).files.size())
            return false;
        for (int f = 0; f < a.at(g).files.size(); ++f) {
            if (a.at(g).files.at(f).isSelected != b.at(g).files.at(f).isSelected)
                return false;
        }
    }
    return true;
}

QList<AssociatedFile> selectedFiles(const QList<FileGroup> &groups)
{
    QList<AssociatedFile> result;
    for (const FileGroup &group : groups) {
        for (const AssociatedFile &file : group.files) {
            if (file.isSelected)
                result.append(file);
        }
    }
    return result;
}

int selectedCount(const QList<FileGroup> &groups)
{
    int count = 0;
    for (const FileGroup &group : groups)
        count += group.selectedCount();
    return count;
}

qint64 selectedSize(const QList<FileGroup> &groups)
{
    qint64 size = 0;
    for (const FileGroup &group : groups)
        size += group.selectedSize();
    return size;
}

qint64 totalSize(const QList<FileGroup> &groups)
{
    qint64 size = 0;
    for (const FileGroup &group : groups)
        size += group.totalSize();
    return size;
}

int fileCount(const QList<FileGroup> &groups)
{
    int count = 0;
    for (const FileGroup &group : groups)
        count += int(group.files.size());
    return count;
}

bool hasPackageFiles(const QList<FileGroup> &groups)
{
    for (const FileGroup &group : groups) {
        for (const AssociatedFile &file : group.files) {
            if (file.isSelected && isRemovedByPackageManager(file.category))
                return true;
        }
    }
    return false;
}

QList<FileGroup> removeMissingFiles(const QList<FileGroup> &groups, const FileManager &fileManager)
{
    QList<FileGroup> result;
    for (const FileGroup &group : groups) {
        QList<AssociatedFile> kept;
        for (const AssociatedFile &file : group.files) {
            // An unremovable file stays listed with its reason; its path may not reach it.
            if (!file.isRemovable() || fileManager.fileExists(file.path))
                kept.append(file);
        }
        if (!kept.isEmpty())
            result.append(FileGroup(group.category, kept));
    }
    return result;
}

QSet<QString> directoryPaths(const QList<FileGroup> &groups, const FileManager &fileManager)
{
    QSet<QString> paths;
    for (const FileGroup &group : groups) {
        for (const AssociatedFile &file : group.files) {
            if (fileManager.isDirectory(file.path))
                paths.insert(file.path);
        }
    }
    return paths;
}

} // namespace FileSelection
