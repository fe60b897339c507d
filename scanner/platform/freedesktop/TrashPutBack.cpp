// Put Back from a freedesktop.org Trash: each item's ".trashinfo" record says where it came from.
#include "scanner/TrashPaths.h"
#include "scanner/TrashRestore.h"
#include "scanner/TrashRestoreSteps.h"

#include <QCoreApplication>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

using namespace TrashPaths;

namespace TrashRestore {

QString putBack(const TrashedItem &item, const QString &homeTrashFolder, QString *restoredTo)
{
    const QString &name = item.name;
    QString trash;
    if (const QString refusal = checkTrashedItem(item, &trash); !refusal.isEmpty())
        return refusal;
    const QString infoPath = infoPathOf(trash, name);
    const QString from = trash + QStringLiteral("/files/") + name;
    QString error;
    const std::optional<QByteArray> record = readRecord(infoPath, &error);
    if (!record)
        return error;
    const QString original =
        originalPath(*record, trash, trash == withoutTrailingSlashes(homeTrashFolder), &error);
    if (original.isEmpty())
        return QCoreApplication::translate("TrashRestore", "Its record %1 is refused: %2")
            .arg(infoPath, error);
    // The name may have been emptied from the Trash and taken by something else meanwhile.
    if (!item.originalPath.isEmpty() && original != item.originalPath)
        return QCoreApplication::translate("TrashRestore",
                                           "Its name in the Trash now belongs to an item from "
                                           "%1; nothing was moved")
            .arg(original);
    const QString failure = moveBack(from, original, trash, item.identity);
    if (!failure.isEmpty())
        return failure;
    // The item is back; a record left behind would only list it in the Trash a while longer.
    ::unlink(encoded(infoPath).constData());
    if (restoredTo)
        *restoredTo = original;
    return {};
}

bool settleClaim(const TrashedItem &item, const QString &homeTrashFolder)
{
    const QString trash = withoutTrailingSlashes(item.trashFolder);
    if (!isPlainName(item.name) || !trash.startsWith(u'/'))
        return false;
    struct stat st;
    if (::lstat(encoded(trash + QStringLiteral("/files/") + item.name).constData(), &st) == 0 ||
        errno != ENOENT)
        return true;
    // Only a record that names this item's place is removed; any other stays as it is.
    const QString infoPath = infoPathOf(trash, item.name);
    QString error;
    const std::optional<QByteArray> record = readRecord(infoPath, &error);
    if (record && !item.originalPath.isEmpty() &&
        originalPath(*record, trash, trash == withoutTrailingSlashes(homeTrashFolder), &error) ==
            item.originalPath)
        ::unlink(encoded(infoPath).constData());
    return false;
}

} // namespace TrashRestore
