// The platform's own Trash on macOS.
#include "scanner/Trash.h"

#include "scanner/PosixFiles.h"
#include "scanner/TrashPaths.h"

#include <QFile>

#include <fcntl.h>
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

// The platform moves by path and claims nothing first: the item is checked before the move and
// judged again at the place the platform gives it.
QString Trash::moveToTrash(const QString &path, const std::optional<FileIdentity> &expected,
                           TrashedItem *trashed, const ClaimCheck &) const
{
    const QString refusal = refusalReason(path, m_home);
    if (!refusal.isEmpty())
        return refusal;
    const QString cleaned = withoutTrailingSlashes(path);
    struct stat before;
    if (::lstat(encoded(cleaned).constData(), &before) != 0)
        return reasonFor(errno);
    if (expected && identityOf(before) != *expected)
        return kChangedReason;
    QFile file(cleaned);
    if (!file.moveToTrash())
        return file.errorString();

    const QString place = withoutTrailingSlashes(file.fileName());
    const qsizetype slash = place.lastIndexOf(QLatin1Char('/'));
    if (!place.startsWith(QLatin1Char('/')) || place == cleaned || slash <= 0) {
        // No place told: the move can be neither checked nor undone.
        if (trashed)
            *trashed = TrashedItem{QString(), QString(), cleaned, identityOf(before)};
        return {};
    }
    const QString folder = place.left(slash);
    const QString name = place.mid(slash + 1);
    struct stat moved;
    const bool known = ::lstat(encoded(place).constData(), &moved) == 0;
    if (known && identityOf(moved) == identityOf(before)) {
        if (trashed)
            *trashed = TrashedItem{folder, name, cleaned, identityOf(before)};
        return {};
    }
    // Swapped between the check and the move: put back what was taken, and say so.
    if (renameWithoutReplacing(AT_FDCWD, encoded(place), AT_FDCWD, encoded(cleaned)) == 0)
        return kChangedReason;
    const int error = errno;
    if (trashed)
        *trashed = TrashedItem{folder, name, cleaned, known ? identityOf(moved) : FileIdentity()};
    return swappedIntoTrashReason(place, reasonFor(error));
}
