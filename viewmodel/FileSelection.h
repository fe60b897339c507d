#pragma once

#include "model/FileGroup.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QUuid>

class FileManager;

// The found files of the detail pane and their ticks, as pure functions of the groups: what the
// view model publishes is always the result of one of these.
namespace FileSelection {

// Ticks or clears one file along with others; a file that cannot be removed is never ticked, and
// one another row lists too (alsoUsedBy) keeps its tick, which only toggleFile changes.
void select(AssociatedFile &file, bool selected);
void selectEveryFile(QList<FileGroup> &groups, bool selected);
// The ticks a System Data category opened in the detail pane starts with: every file, except
// the large folders and the installed toolchains, environments, IDEs and games, which are there
// for review.
void tickOpenedSystemCategory(QList<FileGroup> &groups);
// The download cache group is ticked exactly when a Cellar or Caskroom file is.
void syncDownloadCache(QList<FileGroup> &groups);
// Toggles one file (the bundle takes every file with it; Cellar and Caskroom changes make the
// download cache follow). False when no removable file has that id.
bool toggleFile(QList<FileGroup> &groups, const QUuid &fileId);
// Ticks or clears one group, with the same rules. False when no group has that id.
bool setGroupSelection(QList<FileGroup> &groups, const QUuid &groupId, bool selected);

// The same groups with the same ticks, file by file.
bool sameTicks(const QList<FileGroup> &a, const QList<FileGroup> &b);

QList<AssociatedFile> selectedFiles(const QList<FileGroup> &groups);
int selectedCount(const QList<FileGroup> &groups);
qint64 selectedSize(const QList<FileGroup> &groups);
qint64 totalSize(const QList<FileGroup> &groups);
int fileCount(const QList<FileGroup> &groups);
// Some ticked file is one only its package manager removes.
bool hasPackageFiles(const QList<FileGroup> &groups);

// Drops files that no longer exist (an unremovable file stays, with its reason) and groups left
// empty; kept groups get fresh ids.
QList<FileGroup> removeMissingFiles(const QList<FileGroup> &groups, const FileManager &fileManager);
// The paths of the files that are folders, tested once so that the list models never touch
// the disk.
QSet<QString> directoryPaths(const QList<FileGroup> &groups, const FileManager &fileManager);

} // namespace FileSelection
