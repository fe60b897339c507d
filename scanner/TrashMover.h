#pragma once

#include "model/AssociatedFile.h"
#include "scanner/Machine.h"
#include "scanner/Trash.h"

#include <QList>
#include <QString>

#include <functional>

struct TrashFailure
{
    AssociatedFile file;
    QString error; // readable reason
};

struct TrashResult
{
    int moved = 0;
    QList<TrashFailure> failures; // in input order
    QList<TrashedItem> trashed;   // where what went to the Trash is, in input order
    int notTried = 0;             // the last ones, left in place when a stop was asked for
};

// Told of each item moveFilesToTrash moves: claimed once its name in the Trash is taken and
// before it moves (an answer other than empty leaves it in place, with that answer as its
// failure; the platform's Trash on macOS claims nothing), trashed once it is in the Trash at a
// place that is known.
struct TrashObserver
{
    Trash::ClaimCheck claimed;
    std::function<void(const TrashedItem &)> trashed;
};

struct PutBackFailure
{
    TrashedItem item;
    QString error; // readable reason
};

struct PutBackResult
{
    QList<TrashedItem> restored;    // with the place each went back to as originalPath
    QList<PutBackFailure> failures; // in input order
};

// Moves found items to the user's Trash and back.
class TrashMover
{
public:
    explicit TrashMover(Machine machine) : m_machine(std::move(machine)) {}

    // One file at a time, going on past failures; "/", the home folder and unremovable files are
    // refused, and a file with a recorded identity is moved only while it is still that item.
    // When the cancellation flag is set, the item being moved finishes and the rest are left.
    TrashResult moveFilesToTrash(const QList<AssociatedFile> &files,
                                 const TrashObserver &observer = {}) const;
    // Moves items of the user's Trash back to where their ".trashinfo" records say they came
    // from, one at a time, never over anything (see TrashRestore).
    PutBackResult putBackFromTrash(const QList<TrashedItem> &items) const;

private:
    Machine m_machine;
};
