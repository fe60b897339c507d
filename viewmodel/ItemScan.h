#pragma once

#include "model/AppInfo.h"
#include "model/FileGroup.h"
#include "model/HomebrewPackage.h"
#include "model/NPMPackage.h"
#include "scanner/FileScanner.h"

#include <QList>

// The files of one item as the detail pane first shows them: the scanner's searches merged, files
// gone meanwhile dropped (an unremovable file stays, with its reason), and the first ticks:
// application files unticked, package files ticked, an unremovable file never. The view model and
// the command line both scan through here. Never on the GUI thread.
namespace ItemScan {

// installed: every installed application; what one of the others describes better is left out.
QList<FileGroup> applicationFiles(const FileScanner &scanner, const AppInfo &app,
                                  const QList<AppInfo> &installed,
                                  const ScanProgress &progress = {});
QList<FileGroup> npmPackageFiles(const FileScanner &scanner, const NPMPackage &package,
                                 const ScanProgress &progress = {});
QList<FileGroup> homebrewPackageFiles(const FileScanner &scanner, const HomebrewPackage &package,
                                      const ScanProgress &progress = {});

} // namespace ItemScan
