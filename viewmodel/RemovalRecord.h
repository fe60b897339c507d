#pragma once

#include "scanner/Trash.h"

#include <QList>
#include <QString>

class FileScanner;

// The record of the last removal: where each item it moved went in the Trash, kept in a file
// beside the settings so that Put Back and "restore --last" find it after a restart, a crash or
// a stop. A removal starts a new, empty record before its first move, so that Put Back never
// reaches back to an older removal, and adds each item as it goes: as claimed (its name in the
// Trash taken, about to move), then as trashed. Each addition is one appended line, written
// before the next step; a line cut short by a crash or a full disk counts as never written. One
// removal at a time holds the record, by an advisory lock on a file beside it.
class RemovalRecord
{
public:
    RemovalRecord() = default;
    ~RemovalRecord();
    RemovalRecord(const RemovalRecord &) = delete;
    RemovalRecord &operator=(const RemovalRecord &) = delete;

    // Waits for a removal running elsewhere, settles what a stopped one left (see settle) and
    // replaces the kept record by an empty one, held until this object goes. Empty on success;
    // else why no item may move.
    QString start(const FileScanner &scanner);
    // Adds an item about to move. Empty on success; else why it must not move.
    QString addClaimed(const TrashedItem &item);
    // Adds an item that is now in the Trash, as it is there.
    void addTrashed(const TrashedItem &item);

    // The items of the last removal, in the order they were claimed; empty when there is none.
    static QList<TrashedItem> lastRemoval();
    // Takes these items (matched by trash folder and name) out of the kept record.
    static void forget(const QList<TrashedItem> &items);
    // Resolves the claims a stopped removal left: an item that is in the Trash stays as trashed;
    // one that is not leaves the record, and its claim's ".trashinfo" is removed when that
    // records the item's place. Does nothing while a removal holds the record.
    static void settle(const FileScanner &scanner);

private:
    QString append(const QByteArray &line);

    QString m_path;
    int m_lock = -1;
    int m_file = -1;
    qint64 m_size = 0;
};
