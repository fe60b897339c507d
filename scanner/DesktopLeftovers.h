#pragma once

#include "model/AppInfo.h"
#include "model/FileGroup.h"
#include "scanner/Machine.h"
#include "scanner/ScanProgress.h"

#include <QList>

// What a desktop application (a desktop entry, Flatpak, Snap or AppImage) keeps on disk, measured:
// the leftover search by all its names (desktop-file id, Exec program, StartupWMClass, Flatpak id,
// Snap name) in the XDG folders, then ~/.var/app, ~/snap, autostart entries, the user's desktop
// entries and icons, its Flatpak or Snap installation, and the AppImage or home-installed program
// itself with the other entries that start it, when no other application uses it. A system
// package's own files (its entry, its program), an interpreter or launcher, and anything in a
// Trash are never offered.
QList<FileGroup> findDesktopApplicationFiles(const Machine &machine, const AppInfo &app,
                                             const QList<AppInfo> &installed,
                                             const ScanProgress &progress);
