#pragma once

#include "scanner/Trash.h"

#include <QList>
#include <QStringList>

class FileScanner;

// Putting items of the last removal (see RemovalRecord) back, with the texts the window and the
// command line show. The package manager's uninstall of a removal is never undone: Put Back
// restores files only.
namespace PutBack {

struct Report
{
    QStringList successes;       // "Put back 2 item(s)"
    QStringList errors;          // "Could not put back 1 item(s):\n<name>: <reason>"
    QList<TrashedItem> restored; // with the place each went back to as originalPath
    QList<TrashedItem> failed;   // as given
    QStringList failureLines;    // "<original path or name>: <reason>", one per failed item
};

// Moves the items back (see FileScanner::putBackFromTrash) and drops those put back from the
// kept record. Never on the GUI thread.
Report putBack(const FileScanner &scanner, const QList<TrashedItem> &items);

// "Put Back restores the files only": the result line's note after a removal that uninstalled a
// package.
QString filesOnlyNote();

} // namespace PutBack
