#pragma once

#include "model/AssociatedFile.h"
#include "model/FileCategory.h"
#include "scanner/FileScanner.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

class LeftoverClaims;

// An entry of a searched place that nothing claims, as its listing gave it.
struct ListedLeftover
{
    QString path;
    QString name;
    FileCategory category;
};

// The same entry found (with the identity it has on disk), measured (what moving it to the Trash
// frees, as sizeOfFoundItem measures it, and its last change) and judged (what it points at that
// no longer exists).
struct ExaminedLeftover
{
    AssociatedFile file;
    std::optional<qint64> changed; // seconds since the epoch: a date is made once per row
    std::optional<QString> gone;
};

// What the entries below a folder take, as FileScanner::sizeOfDirectory measures it.
using FolderMeasure = std::function<qint64(const QString &folder)>;

// Examines every entry on a small pool of threads, the calling thread among them; only the
// calling thread tells progress, of the entries it examines. An entry costs one lstat, a walk
// when it is a folder and a read when it names a program. Results come in the entries' order;
// once the scanner is cancelled, what is left is neither found, measured nor judged (the rows
// are dropped then).
std::vector<ExaminedLeftover> examineLeftovers(const FileScanner &scanner,
                                               const LeftoverClaims &claims,
                                               const std::vector<ListedLeftover> &entries,
                                               const FolderMeasure &measureFolder,
                                               const ScanProgress &progress);
