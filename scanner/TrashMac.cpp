// The platform's own Trash on macOS.
#include "scanner/Trash.h"

#include "scanner/TrashPaths.h"

#include <QFile>

#include <sys/stat.h>

#include <cerrno>

using namespace TrashPaths;

QString Trash::homeTrashFolder() const
{
    return joined(m_home, QStringLiteral(".Trash"));
}

QString Trash::trashFolderForTopDir(const QString &, QString *error)
{
    if (error)
        *error = QStringLiteral("Not used on this platform");
    return {};
}

QString Trash::moveToTrash(const QString &path, const std::optional<FileIdentity> &expected,
                           TrashedItem *trashed) const
{
    const QString refusal = refusalReason(path, m_home);
    if (!refusal.isEmpty())
        return refusal;
    const QString cleaned = withoutTrailingSlashes(path);
    if (trashed)
        *trashed = TrashedItem{QString(), QString(), cleaned};
    struct stat st;
    if (::lstat(encoded(cleaned).constData(), &st) != 0)
        return reasonFor(errno);
    if (expected && identityOf(st) != *expected)
        return kChangedReason;
    QFile file(cleaned);
    if (!file.moveToTrash())
        return file.errorString();
    return {};
}
