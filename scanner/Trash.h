#pragma once

#include "model/AssociatedFile.h"

#include <QString>

#include <functional>
#include <optional>

class Places;

// Where one item went in a Trash: the trash folder (the one holding files/ and info/), its name
// there (files/NAME, info/NAME.trashinfo), the path it was moved from and what it is on disk (a
// move keeps device and inode). On macOS trashFolder/name is the place the platform's Trash gave
// it; an empty name means the platform told no place.
struct TrashedItem
{
    QString trashFolder;
    QString name;
    QString originalPath;
    FileIdentity identity;

    friend bool operator==(const TrashedItem &, const TrashedItem &) = default;
};

// Moves items to a user's Trash and never deletes anything. On Linux this follows the
// freedesktop.org Trash rules: the home trash (the machine's $XDG_DATA_HOME/Trash, else
// home/.local/share/Trash) for items on the home trash's file system; for items on another file
// system, $topdir/.Trash/$uid when that is a sticky folder and not a link, else
// $topdir/.Trash-$uid. The ".trashinfo" file is created first and exclusively, so nothing is ever
// overwritten; an item that cannot be moved by rename() within its file system fails with a
// reason, never a copy-and-delete. A symbolic link is moved itself, never its target.
// On macOS the platform's Trash is used.
class Trash
{
public:
    // The Trash of the user of places (its home and data home).
    explicit Trash(const Places &places);
    // The Trash of the user whose home is given, on a machine that sets no XDG variable.
    explicit Trash(QString home);

    // Told where the item is about to go once its name in the Trash is claimed (its
    // ".trashinfo" written) and before it moves; a non-empty answer is a reason not to move it,
    // and the claim is withdrawn. The platform's Trash on macOS claims nothing and never asks.
    using ClaimCheck = std::function<QString(const TrashedItem &)>;

    // Empty on success; otherwise a readable reason ("No such file or directory", ...).
    // "/", the home folder, any folder holding the home folder or the Trash, the Trash's own
    // folders and what is already in them, mount points, relative paths and every path when the
    // home folder is relative are refused. With an expected identity, the item is moved only
    // while it is still that item (the last component is never followed); otherwise it is left
    // in place with kChangedReason. *trashed (when given) tells where it went on success, and
    // also on the one failure that leaves something in the Trash: an item swapped in between
    // the check and the move that could not be moved back (the reason says where it is).
    QString moveToTrash(const QString &path,
                        const std::optional<FileIdentity> &expected = std::nullopt,
                        TrashedItem *trashed = nullptr, const ClaimCheck &claimed = {}) const;

    // The home trash: the data home's Trash (Places::dataHome: $XDG_DATA_HOME when absolute,
    // else home/.local/share), home/.Trash on macOS. It may not exist yet.
    QString homeTrashFolder() const;

    // Why path must never go to the Trash of the user whose home is given, judged on the text
    // of the path alone (empty, relative, "/", the home folder or a folder above it, a name that
    // is not exact text); empty when nothing speaks against it.
    static QString refusalReason(const QString &path, const QString &home);

    static const QString kChangedReason; // "Changed since it was listed"
    // Changed since it was listed, and what was found in its place went to the Trash at place
    // and could not be moved back (why).
    static QString swappedIntoTrashReason(const QString &place, const QString &why);

    // The trash folder for items on the file system whose top folder is topDir, made (0700) when
    // missing: topDir/.Trash/<uid> when topDir/.Trash is a sticky folder and not a link, else
    // topDir/.Trash-<uid>. Empty with *error set when no safe folder can be had.
    static QString trashFolderForTopDir(const QString &topDir, QString *error);

private:
    QString m_home;
    QString m_dataHome;
};
