#include "scanner/TrashFolders.h"

#include "scanner/Places.h"

#include <QDir>

#include <algorithm>

namespace {

// ".Trash", ".Trashes" or ".Trash-<digits>".
bool isTopFolderTrashName(QStringView name)
{
    const QLatin1String trash(".trash");
    if (!name.startsWith(trash, Qt::CaseInsensitive))
        return false;
    const QStringView rest = name.mid(trash.size());
    if (rest.isEmpty() || rest.compare(QLatin1String("es"), Qt::CaseInsensitive) == 0)
        return true;
    if (rest.size() < 2 || rest.front() != QLatin1Char('-'))
        return false;
    return std::all_of(rest.begin() + 1, rest.end(), [](QChar c) { return c.isDigit(); });
}

} // namespace

QStringList homeTrashFolders(const Places &places)
{
    QStringList folders = {places.dataHome() + QStringLiteral("/Trash"),
                           places.inHome(QStringLiteral(".local/share/Trash")),
                           places.inHome(QStringLiteral(".Trash"))};
    for (QString &folder : folders)
        folder = QDir::cleanPath(folder);
    folders.removeDuplicates();
    return folders;
}

bool liesInTrash(const QString &path, const QStringList &homeTrashes)
{
    for (const QString &trash : homeTrashes) {
        if (path.compare(trash, Qt::CaseInsensitive) == 0 ||
            path.startsWith(trash + QLatin1Char('/'), Qt::CaseInsensitive))
            return true;
    }
    for (QStringView component : QStringView(path).split(QLatin1Char('/'))) {
        if (isTopFolderTrashName(component))
            return true;
    }
    return false;
}
