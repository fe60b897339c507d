#pragma once

// The places named after an item: ~/.name, ~/.config/name, ~/.cache/name, ~/.local/share/name,
// ~/Library/Application Support/name, Caches, Logs, and the launch agents holding the name.

#include "model/FileGroup.h"
#include "scanner/Machine.h"
#include "scanner/NameGuard.h"

#include <QList>
#include <QString>
#include <QStringList>

// The places named after name, in step order, not yet measured. A name that could leave its
// folder gives nothing; a name many programs share (see SharedWords) finds only launch agents
// named exactly so.
QList<FileGroup> namedLocations(const Machine &machine, const QString &name,
                                const ProtectedPlaces &guarded, bool isSharedName = false);
// The folders namedLocations looks in: what it finds lies directly inside one of them.
QStringList namedLocationFolders(const Places &places);
