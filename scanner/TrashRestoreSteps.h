#pragma once

// The steps of Put Back that every platform's Trash shares (see TrashRestore.h); each platform
// file puts an item back from where its Trash keeps it.

#include "model/AssociatedFile.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace TrashRestore {

// One name inside a folder: not empty, no "/", not "." or "..".
bool isPlainName(const QString &name);
// Absolute, without empty, "." or ".." components.
bool isPlainAbsolutePath(const QString &path);

// Why item cannot be put back as it is named (a name that is not one plain name, a Trash folder
// that is not absolute); empty when it can. *trash is set to its Trash folder without trailing
// slashes.
QString checkTrashedItem(const TrashedItem &item, QString *trash);

// trash/info/name.trashinfo
QString infoPathOf(const QString &trash, const QString &name);
// The record's bytes, read without following a link; nothing with *error set otherwise.
std::optional<QByteArray> readRecord(const QString &infoPath, QString *error);

// Moves from (an item of trash that is still identity, when valid) back to original, making
// its missing folders (0700) and never over anything. Empty on success, else a readable reason.
QString moveBack(const QString &from, const QString &original, const QString &trash,
                 const FileIdentity &identity);

} // namespace TrashRestore
