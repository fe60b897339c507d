#pragma once

#include "scanner/Trash.h"

#include <QByteArray>
#include <QString>

// Puts items of a freedesktop.org Trash back where they were, as their ".trashinfo" records say,
// and never over anything. A record is read strictly: the first line (after empty lines and
// comments) is "[Trash Info]", it holds one Path= whose percent-encoding is valid and whose
// decoded text is exact, absolute in the home trash and relative to the top folder in the Trash
// of another file system (or absolute inside that top folder), with no "." or ".." component and
// no empty one. Not available on macOS.
namespace TrashRestore {

// The place the record info says the item came from, for an item of trashFolder; empty with
// *error set when the record is not acceptable. isHomeTrash: trashFolder is the home trash; any
// other trash folder must be <topdir>/.Trash-<uid> or <topdir>/.Trash/<uid> of this user.
QString originalPath(const QByteArray &info, const QString &trashFolder, bool isHomeTrash,
                     QString *error);

// Moves item.trashFolder/files/NAME back to the place its info/NAME.trashinfo records and then
// removes that record. Missing folders on the way are made (0700). Nothing is moved when the
// record is missing or not acceptable, the entry is gone from files/, or the place is taken.
// Empty on success, with *restoredTo (when given) set to the place; else a readable reason.
// homeTrashFolder tells which trash folder is the home trash (see Trash::homeTrashFolder).
QString putBack(const TrashedItem &item, const QString &homeTrashFolder,
                QString *restoredTo = nullptr);

} // namespace TrashRestore
