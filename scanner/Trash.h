#pragma once

#include <QString>

// Moves items to a user's Trash and never deletes anything. On Linux this follows the
// freedesktop.org Trash rules: the home trash ($XDG_DATA_HOME/Trash, else
// home/.local/share/Trash) for items on the home's file system; for items on another file system,
// $topdir/.Trash/$uid when that is a sticky folder and not a link, else $topdir/.Trash-$uid. The
// ".trashinfo" file is created first and exclusively, so nothing is ever overwritten; an item that
// cannot be moved by rename() within its file system fails with a reason, never a copy-and-delete.
// On macOS the platform's Trash is used.
class Trash
{
public:
    explicit Trash(QString home);

    // Empty on success; otherwise a readable reason ("No such file or directory", ...).
    // "/" and the home folder itself are refused.
    QString moveToTrash(const QString &path) const;

private:
    QString m_home;
};
