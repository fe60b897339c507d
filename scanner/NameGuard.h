#pragma once

#include <QString>

#include <optional>

// Names taken from the user's disk (an application's name, a package folder's name) are untrusted.
// A place built from one must name something strictly inside the folder it is meant for: never
// the folder itself, never its parent, never anything outside it.

// True when name can stand as one entry name inside a folder: not empty, not "." or "..", and
// free of "/" and NUL.
bool isSafeEntryName(const QString &name);

// folder + "/" + relative, where relative is a fixed prefix the program chose (".config/",
// "Application Support/", may be empty) followed by an untrusted name. Nothing unless the name is
// a safe entry name.
std::optional<QString> placeInside(const QString &folder, const QString &fixedPrefix,
                                   const QString &name);
