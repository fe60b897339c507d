#pragma once

#include "model/AppInfo.h"

#include <QString>

#include <optional>

class FileManager;
class Places;

// A process of the current user that runs an application.
struct RunningProcess
{
    qint64 pid = 0;
    QString program; // the file name of what it runs ("sketch"), or the Flatpak id or Snap name
};

// The first process of the current user (its real user id) that runs app, read from the
// machine's /proc (under the system root): one whose program lies inside the bundle, is the
// AppImage, or is the desktop entry's program (by path when Exec gives one, else by file name; a
// script also by the name its interpreter was given); for a Flatpak or Snap, any process in its
// sandbox (its control group, or the .flatpak-info its root holds). Reads only what app's kind
// needs, a few milliseconds for a desktop's processes. Without /proc: on macOS, the system's
// process list when the root is "/"; elsewhere nothing.
std::optional<RunningProcess>
findRunningProcess(const Places &places, const FileManager &fileManager, const AppInfo &app);
