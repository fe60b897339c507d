#include "scanner/TrashMover.h"

TrashResult TrashMover::moveFilesToTrash(const QList<AssociatedFile> &files,
                                         const TrashObserver &observer) const
{
    const QString home = m_machine.places().home();
    TrashResult result;
    for (const AssociatedFile &file : files) {
        // A stop comes between items, never between an item's claim in the Trash and its move.
        if (m_machine.isCancelled()) {
            result.notTried = int(files.size() - (result.moved + result.failures.size()));
            break;
        }
        // Refused places ("/" for the snapshot entries, the home folder) never reach the Trash.
        QString error =
            file.isRemovable() ? Trash::refusalReason(file.path, home) : file.unremovableReason;
        // A found item moves only while it is the item that was listed.
        const std::optional<FileIdentity> expected =
            file.identity.isValid() ? std::optional<FileIdentity>(file.identity) : std::nullopt;
        TrashedItem trashed;
        if (error.isEmpty())
            error = m_machine.fileManager().trashItem(file.path, m_machine.places(), expected,
                                                      &trashed, observer.claimed);
        if (error.isEmpty())
            ++result.moved;
        else
            result.failures.append({file, error});
        // Also what took the item's place and could not be moved back out of the Trash.
        if (!trashed.originalPath.isEmpty()) {
            result.trashed.append(trashed);
            if (observer.trashed && !trashed.name.isEmpty())
                observer.trashed(trashed);
        }
    }
    return result;
}

PutBackResult TrashMover::putBackFromTrash(const QList<TrashedItem> &items) const
{
    PutBackResult result;
    for (const TrashedItem &item : items) {
        QString restoredTo;
        const QString error =
            m_machine.fileManager().putBackItem(item, m_machine.places(), &restoredTo);
        if (error.isEmpty())
            result.restored.append({item.trashFolder, item.name, restoredTo, item.identity});
        else
            result.failures.append({item, error});
    }
    return result;
}
