#pragma once

#include "model/AppInfo.h"

#include <QString>
#include <QStringList>

class Places;

// Where a data folder's desktop entries come from, which tells how they were installed.
enum class EntryOrigin
{
    dataHome,      // $XDG_DATA_HOME: the user's own entries
    userFlatpak,   // ~/.local/share/flatpak/exports/share
    system,        // a folder of $XDG_DATA_DIRS
    systemFlatpak, // /var/lib/flatpak/exports/share
    snap,          // /var/lib/snapd/desktop
};

struct DataFolder
{
    QString path; // holds "applications", "icons" and "pixmaps"
    EntryOrigin origin = EntryOrigin::system;
};

// The data folders in the order desktop entries take precedence: $XDG_DATA_HOME, the user's
// Flatpak exports, $XDG_DATA_DIRS, the system Flatpak exports, Snap's folder. A folder that is
// also in $XDG_DATA_DIRS (Flatpak adds its exports there) keeps its Flatpak or Snap origin and
// appears once.
QList<DataFolder> desktopDataFolderList(const Places &places);
QStringList desktopDataFolders(const Places &places);

// The machine place of a path taken from a desktop entry ("/usr/bin/x" or "/home/me/x"): paths in
// the home folder as they are, the rest under the system root.
QString machinePath(const Places &places, const QString &path);

// Flatpak application ids are reverse-DNS names of letters, digits, "_", "-" and "." with at
// least three parts; Snap names (with an optional "_instance") are lower-case letters, digits and
// "-". True when the value is one and so cannot be read as an option or leave its folder.
bool isValidFlatpakID(const QString &id);
bool isValidSnapName(const QString &name);
// Debian and RPM package names: letters, digits and "+-._", not starting with "-".
bool isValidPackageName(const QString &name);

class FileManager;
// Whether a program name (no "/") is found in the machine's program folders (~/.local/bin,
// /usr/local/bin, /usr/bin, /bin, /usr/games, /snap/bin and the Flatpak exports' bin folders).
bool locateProgram(const Places &places, const FileManager &fileManager, const QString &name);
