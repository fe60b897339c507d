#pragma once

#include "scanner/Trash.h"

#include <QList>
#include <QStringList>

class FileScanner;

// Put Back for the last removal: which items of the Trash it made, kept in QSettings (under
// "LastRemoval") so that the command line's "restore --last" finds them after a restart, and
// putting items back with the texts the window and the command line show. The package manager's
// uninstall of a removal is never undone: Put Back restores files only.
namespace PutBack {

// Replaces the kept record by these items (an empty list: a removal that moved nothing).
void rememberLastRemoval(const QList<TrashedItem> &items);
// The kept record, in the order the items were moved; empty when there is none.
QList<TrashedItem> lastRemoval();

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
