// Put Back from the platform's own Trash, which keeps no records Verlo reads: an item goes back
// from the place the Trash gave it to the path recorded when it moved.
#include "scanner/TrashPaths.h"
#include "scanner/TrashRestore.h"
#include "scanner/TrashRestoreSteps.h"

#include <QCoreApplication>

#include <sys/stat.h>

using namespace TrashPaths;

namespace TrashRestore {

QString putBack(const TrashedItem &item, const QString &, QString *restoredTo)
{
    const QString &name = item.name;
    QString trash;
    if (const QString refusal = checkTrashedItem(item, &trash); !refusal.isEmpty())
        return refusal;
    const QString original = item.originalPath;
    if (original.isEmpty() || !isPlainAbsolutePath(original))
        return QCoreApplication::translate("TrashRestore",
                                           "Where it came from is not known; nothing was moved");
    const QString failure = moveBack(trash + u'/' + name, original, trash, item.identity);
    if (!failure.isEmpty())
        return failure;
    if (restoredTo)
        *restoredTo = original;
    return {};
}

bool settleClaim(const TrashedItem &item, const QString &)
{
    const QString trash = withoutTrailingSlashes(item.trashFolder);
    if (!isPlainName(item.name) || !trash.startsWith(u'/'))
        return false;
    struct stat st;
    return ::lstat(encoded(trash + u'/' + item.name).constData(), &st) == 0;
}

} // namespace TrashRestore
