#pragma once

#include "model/AssociatedFile.h"
#include "scanner/Trash.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class Places;

// The scanner's one door to the file system: every existence test, listing and read goes
// through here. Stateless; safe to use from any thread.
class FileManager
{
public:
    // Largest file readFile hands back by default: bundles' and backups' property lists and
    // package manifests are small, and a hostile 2 GB "Info.plist" must not be read whole.
    static constexpr qint64 kDefaultReadLimit = 64LL * 1024 * 1024;

    // Whether anything exists at path. A symbolic link is judged by its target, so a dangling
    // link does not exist.
    bool fileExists(const QString &path) const;
    // As above; *isDirectory tells whether it is a folder (or a link to one).
    bool fileExists(const QString &path, bool *isDirectory) const;

    // True exactly when something exists at path and it is a folder (links judged by target).
    bool isDirectory(const QString &path) const;

    // The full paths of the entries directly inside a folder, hidden ones included, in the order
    // the file system gives them. Nothing for a missing, unreadable or non-folder path.
    std::optional<QStringList> contentsOfDirectory(const QString &path) const;
    // The same listing without building a string per entry: visit is given each entry's name as
    // the file system's bytes, valid during the call only. False when the folder cannot be listed
    // or the listing fails part way (entries visited before then are to be dropped).
    bool forEachEntry(const QString &path, const std::function<void(QByteArrayView)> &visit) const;
    // The names of the folders directly in path (links to folders left out), in listing order,
    // told by the listing's entry types where it gives them; nothing when it cannot be listed.
    std::optional<QStringList> subfolderNames(const QString &path) const;

    // The whole file, or nothing when it cannot be read or is larger than maxBytes.
    std::optional<QByteArray> readFile(const QString &path,
                                       qint64 maxBytes = kDefaultReadLimit) const;

    // Whether path itself is a symbolic link (dangling or not).
    bool isSymbolicLink(const QString &path) const;
    // The path a symbolic link holds, as written; nothing when path is no link.
    std::optional<QString> symbolicLinkTarget(const QString &path) const;

    // What the item itself is on disk (a link's own identity, not its target's), or nothing
    // when it cannot be read.
    std::optional<FileIdentity> identity(const QString &path) const;

    // The item's own length (a link's own, not its target's), or nothing when it cannot be read.
    std::optional<qint64> fileSize(const QString &path) const;
    // The item's modification date, or nothing when it cannot be read.
    std::optional<QDateTime> modificationDate(const QString &path) const;

    // Moves the item to the Trash of the user of places (see Trash). Returns an empty
    // string on success, else a readable reason. Never deletes anything. With an expected
    // identity, an item that is no longer that one stays where it is.
    // *trashed (when given) tells where it went, and claimed is asked before it moves (see
    // Trash::moveToTrash).
    QString trashItem(const QString &path, const Places &places,
                      const std::optional<FileIdentity> &expected = std::nullopt,
                      TrashedItem *trashed = nullptr, const Trash::ClaimCheck &claimed = {}) const;
    // Moves an item of the Trash of the user of places back to the place its
    // ".trashinfo" records, never over anything (see TrashRestore). Empty on success, with
    // *restoredTo (when given) set to that place; else a readable reason, and nothing moved.
    QString putBackItem(const TrashedItem &item, const Places &places,
                        QString *restoredTo = nullptr) const;
    // Whether an item whose name in the Trash was claimed is there; when it is not, the claim's
    // ".trashinfo" is removed (see TrashRestore::settleClaim).
    bool settleTrashClaim(const TrashedItem &item, const Places &places) const;
};
