#pragma once

#include "scanner/Trash.h"

#include <QByteArray>
#include <QString>

// Puts items of a freedesktop.org Trash back where they were, as their ".trashinfo" records say,
// and never over anything. A record is read strictly: the first line (after empty lines and
// comments) is "[Trash Info]", it holds one Path= whose percent-encoding is valid and whose
// decoded text is exact, absolute in the home trash and relative to the top folder in the Trash
// of another file system (or absolute inside that top folder), with no "." or ".." component and
// no empty one. On macOS, whose Trash keeps no such records, an item goes back from the place the
// Trash gave it to the path it was moved from, as its TrashedItem holds them.
namespace TrashRestore {

// The place the record info says the item came from, for an item of trashFolder; empty with
// *error set when the record is not acceptable. isHomeTrash: trashFolder is the home trash; any
// other trash folder must be <topdir>/.Trash-<uid> or <topdir>/.Trash/<uid> of this user.
QString originalPath(const QByteArray &info, const QString &trashFolder, bool isHomeTrash,
                     QString *error);

// Moves item.trashFolder/files/NAME back to the place its info/NAME.trashinfo records and then
// removes that record. Missing folders on the way are made (0700). Nothing is moved when the
// record is missing or not acceptable, the entry is gone from files/, or the place is taken;
// nor when the record names another place than item.originalPath (when given) or the entry is
// not item.identity (when valid): the name was emptied and taken by something else meanwhile.
// Empty on success, with *restoredTo (when given) set to the place; else a readable reason.
// homeTrashFolder tells which trash folder is the home trash (see Trash::homeTrashFolder).
QString putBack(const TrashedItem &item, const QString &homeTrashFolder,
                QString *restoredTo = nullptr);

// For an item whose name in the Trash was claimed by a removal that may have stopped before
// moving it: true when it is in the Trash; otherwise its ".trashinfo" is removed when that
// records item.originalPath (no other record is ever removed), and false.
bool settleClaim(const TrashedItem &item, const QString &homeTrashFolder);

} // namespace TrashRestore
