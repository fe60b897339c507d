#pragma once

#include "scanner/Machine.h"
#include "scanner/ScanProgress.h"

#include <QString>

// Sizes of what lies on the machine. During a System Data scan (a machine with a ledger) what a
// folder's walk measures is kept, so the scan's walk of the home does not measure it again.
class SizeMeter
{
public:
    explicit SizeMeter(Machine machine) : m_machine(std::move(machine)) {}

    // 0 when nothing exists; a folder's (or a link to a folder's) contents; else the file's length.
    qint64 sizeOfItem(const QString &path) const;
    // Allocated size of everything below the folder (logical length where no allocation is
    // known); links below the top are not followed; unreadable parts count 0. 0 for a non-folder.
    // progress is told, now and then, the top-level subfolder being measured.
    qint64 sizeOfDirectory(const QString &path, const ScanProgress &progress = {}) const;
    // The logical length of one item; 0 when it cannot be read.
    qint64 sizeOfFile(const QString &path) const;
    // What moving one found item to the Trash frees: a symbolic link is measured as the link
    // itself (only the link is moved, and a link to "/" must not walk the disk); anything else
    // as sizeOfItem.
    qint64 sizeOfFoundItem(const QString &path) const;

private:
    Machine m_machine;
};
