#pragma once

#include "model/AssociatedFile.h"

class FileManager;

// Given to a found item whose name the program cannot carry exactly.
extern const QString kInexactNameReason;

// True when path can be handed to the file system and reach exactly the item it was read from.
// A name that is not valid UTF-8 is read with U+FFFD in place of the bad bytes, and such a path
// could name another item whose name really holds U+FFFD; both are treated as inexact.
bool hasExactName(const QString &path);

// A found item as the searches hand it out: with the identity it has on disk now (a link's
// own), so that a later move can tell whether it is still the same item; or, when its name is
// inexact, marked unremovable with kInexactNameReason and left unmeasured.
AssociatedFile foundFile(const FileManager &fileManager, const QString &path, const QString &name,
                         FileCategory category, qint64 size = 0);

// An item only a command (often run as root) can free: listed with its size in the
// systemManaged category, never ticked nor moved, the command in its reason.
AssociatedFile freedOnlyByCommand(const QString &path, const QString &name, qint64 size,
                                  const QString &command);
