#include "scanner/DesktopApplicationPlaces.h"

#include "scanner/FileManager.h"
#include "scanner/Places.h"

#include <QDir>
#include <QRegularExpression>

QList<DataFolder> desktopDataFolderList(const Places &places)
{
    const QString userFlatpak = places.dataHome() + QStringLiteral("/flatpak/exports/share");
    const QString systemFlatpak = places.onSystem(QStringLiteral("/var/lib/flatpak/exports/share"));
    const QString snap = places.onSystem(QStringLiteral("/var/lib/snapd/desktop"));
    QList<DataFolder> folders = {{places.dataHome(), EntryOrigin::dataHome},
                                 {userFlatpak, EntryOrigin::userFlatpak}};
    for (const QString &dir : places.dataDirs()) {
        const QString clean = QDir::cleanPath(dir);
        if (clean != QDir::cleanPath(systemFlatpak) && clean != QDir::cleanPath(snap) &&
            clean != QDir::cleanPath(userFlatpak) && clean != QDir::cleanPath(places.dataHome()))
            folders.append({dir, EntryOrigin::system});
    }
    folders.append({systemFlatpak, EntryOrigin::systemFlatpak});
    folders.append({snap, EntryOrigin::snap});
    return folders;
}

QStringList desktopDataFolders(const Places &places)
{
    QStringList paths;
    for (const DataFolder &folder : desktopDataFolderList(places))
        paths.append(folder.path);
    return paths;
}

QString machinePath(const Places &places, const QString &path)
{
    if (path == places.home() || path.startsWith(places.home() + QLatin1Char('/')))
        return path;
    return places.onSystem(path);
}

bool isValidFlatpakID(const QString &id)
{
    static const QRegularExpression pattern(
        QStringLiteral("^[A-Za-z_][A-Za-z0-9_-]*(\\.[A-Za-z_][A-Za-z0-9_-]*){2,}$"));
    return id.size() <= 255 && pattern.match(id).hasMatch();
}

bool isValidSnapName(const QString &name)
{
    static const QRegularExpression pattern(
        QStringLiteral("^[a-z0-9][a-z0-9-]{0,39}(_[a-z0-9]{1,10})?$"));
    return pattern.match(name).hasMatch() &&
           name.contains(QRegularExpression(QStringLiteral("[a-z]")));
}

bool isValidPackageName(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z0-9][A-Za-z0-9+._-]{0,199}$"));
    return pattern.match(name).hasMatch();
}

bool locateProgram(const Places &places, const FileManager &fileManager, const QString &name)
{
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name == QLatin1String(".") ||
        name == QLatin1String(".."))
        return false;
    QStringList folders = {places.inHome(QStringLiteral(".local/bin")),
                           places.dataHome() + QStringLiteral("/flatpak/exports/bin")};
    for (const char *folder : {"/usr/local/bin", "/usr/bin", "/bin", "/usr/games", "/snap/bin",
                               "/var/lib/flatpak/exports/bin"})
        folders.append(places.onSystem(QString::fromLatin1(folder)));
    for (const QString &folder : folders) {
        bool isDirectory = true;
        if (fileManager.fileExists(folder + QLatin1Char('/') + name, &isDirectory) && !isDirectory)
            return true;
    }
    return false;
}
