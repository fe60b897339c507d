#pragma once

#include "model/FileCategory.h"

#include <QString>

#include <optional>

class FileScanner;
class LeftoverClaims;

// Whether a program an entry names is there: an absolute path (the home's as it is, the rest
// under the system root, links followed), or a name in the system's or the user's program folders.
bool programExists(const FileScanner &scanner, const QString &program);

// What an entry points at that no longer exists, as a sentence ("Its autostart entry starts
// /usr/bin/syncer, which is gone"): the Flatpak of ~/.var/app/<id>, the Snap of ~/snap/<name>,
// the program of an autostart entry, desktop entry, user unit or launch agent, the bundle of a
// preference file. Nothing when it points at nothing, or at something that is there.
std::optional<QString> goneTarget(const FileScanner &scanner, const LeftoverClaims &claims,
                                  const QString &path, const QString &name, FileCategory category);
