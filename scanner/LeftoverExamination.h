#pragma once

#include "model/AssociatedFile.h"
#include "model/FileCategory.h"
#include "scanner/FileScanner.h"

#include <functional>
#include <optional>
#include <vector>

// An entry of a searched place that nothing claims, as its listing gave it.
struct ListedLeftover
{
    QString path;
    QString name;
    FileCategory category;
};

// The same entry found (with the identity it has on disk) and measured (what moving it to the
// Trash frees, as sizeOfFoundItem measures it, and its last change).
struct ExaminedLeftover
{
    AssociatedFile file;
    std::optional<qint64> changed; // seconds since the epoch: a date is made once per row
};

// What the entries below a folder take, as FileScanner::sizeOfDirectory measures it.
using FolderMeasure = std::function<qint64(const QString &folder)>;

// Told that entry index has been examined, on the thread that examined it.
using ExaminedEntry = std::function<void(size_t index, ExaminedLeftover &&examined)>;

// Examines every entry on a small pool of threads, the calling thread among them, and hands each
// to examinedOne as soon as it is done; only the calling thread tells progress, of the entries
// it examines. Entries are taken in their order. An entry costs one lstat and, when it is a
// folder, a walk. Once the scanner is cancelled, what is left is neither found nor measured (the
// rows are dropped then).
void examineLeftovers(const FileScanner &scanner, const std::vector<ListedLeftover> &entries,
                      const FolderMeasure &measureFolder, const ScanProgress &progress,
                      const ExaminedEntry &examinedOne);
