#pragma once

#include "model/AppInfo.h"
#include "model/FileGroup.h"
#include "model/Item.h"
#include "model/SidebarSection.h"
#include "scanner/FileScanner.h"

#include <QList>

// The files of one item as the detail pane first shows them: the scanner's searches merged, files
// gone meanwhile dropped (an unremovable file stays, with its reason), and the first ticks of
// applyFirstTicks. The view model and the command line both scan through here. Never on the GUI
// thread.
namespace ItemScan {

// installed: every installed application; what one of the others describes better is left out
// of an application's files. A leftover row's files were measured when it was found: they come
// as they were found, less those gone since, nothing ticked.
QList<FileGroup> scanItem(const FileScanner &scanner, const Item &item,
                          const QList<AppInfo> &installed, const ScanProgress &progress = {});

// The ticks an item's files start with, the one rule of the window and the command line: an
// application's or a leftover row's files none (the user ticks them, or a bundle for all); a
// package's files all but the places in the home named after it (~/.name, ~/.config/name, ...),
// which may as well be the user's own data of that name; an unremovable file never.
void applyFirstTicks(QList<FileGroup> &groups, SidebarSection section, const FileScanner &scanner);

} // namespace ItemScan
