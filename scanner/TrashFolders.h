#pragma once

#include <QString>
#include <QStringList>

class Places;

// Where a user's Trash lies. Nothing in it is ever offered by a search: an item there can only be
// put back or emptied away, and a move to the Trash refuses it.

// The home trash folders, lexically clean: the machine's $XDG_DATA_HOME/Trash (the one the Trash
// moves into), ~/.local/share/Trash and ~/.Trash.
QStringList homeTrashFolders(const Places &places);

// True when path (absolute, lexically clean) is one of homeTrashes or lies inside one, or passes
// through a top-folder trash of any file system: a component ".Trash-<uid>", ".Trash" (which
// holds ".Trash/<uid>") or ".Trashes". Letter case is ignored, as for the protected folders.
bool liesInTrash(const QString &path, const QStringList &homeTrashes);
