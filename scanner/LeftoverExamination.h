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

// Examines every entry on a small pool of threads, the calling thread among them; only the
// calling thread tells progress, of the entries it examines. An entry costs one lstat and, when
// it is a folder, a walk. Results come in the entries' order; once the scanner is cancelled,
// what is left is neither found nor measured (the rows are dropped then).
std::vector<ExaminedLeftover> examineLeftovers(const FileScanner &scanner,
                                               const std::vector<ListedLeftover> &entries,
                                               const FolderMeasure &measureFolder,
                                               const ScanProgress &progress);
