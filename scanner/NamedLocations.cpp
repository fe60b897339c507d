#include "scanner/NamedLocations.h"

#include "scanner/FolderMatch.h"
#include "scanner/FoundFile.h"

#include <QDir>

namespace {

struct NamedPlace
{
    enum Base
    {
        home,
        configHome,
        cacheHome,
        dataHome,
    };
    Base base;
    const char *folder;      // relative to base
    const char *fixedPrefix; // put before the name
    bool dotName;            // the file is named "." + name
    FileCategory category;
};

const NamedPlace kNamedPlaces[] = {
    {NamedPlace::home, "", ".", true, FileCategory::homeDotFiles},
    {NamedPlace::configHome, "", "", false, FileCategory::configDirectory},
    {NamedPlace::cacheHome, "", "", false, FileCategory::cacheDirectory},
    {NamedPlace::dataHome, "", "", false, FileCategory::localShareDirectory},
    {NamedPlace::home, "Library", "Application Support/", false, FileCategory::applicationSupport},
    {NamedPlace::home, "Library", "Caches/", false, FileCategory::caches},
    {NamedPlace::home, "Library", "Logs/", false, FileCategory::libraryLogs},
};

QString baseFolder(const Places &places, NamedPlace::Base base)
{
    switch (base) {
    case NamedPlace::home:
        return places.home();
    case NamedPlace::configHome:
        return places.configHome();
    case NamedPlace::cacheHome:
        return places.cacheHome();
    case NamedPlace::dataHome:
        return places.dataHome();
    }
    return places.home();
}

} // namespace

QList<FileGroup> namedLocations(const Machine &machine, const QString &name,
                                const ProtectedPlaces &guarded, bool isSharedName)
{
    QList<FileGroup> groups;
    if (!isSafeEntryName(name))
        return groups;
    const Places &places = machine.places();
    for (const NamedPlace &place : kNamedPlaces) {
        const QString prefix = QString::fromLatin1(place.fixedPrefix);
        QString folder = baseFolder(places, place.base);
        if (*place.folder)
            folder += QLatin1Char('/') + QString::fromLatin1(place.folder);
        const std::optional<QString> path = placeInside(folder, prefix, name);
        if (!path || guarded.contains(*path) || !machine.fileManager().fileExists(*path))
            continue;
        const QString fileName = place.dotName ? prefix + name : name;
        groups.append(FileGroup(
            place.category, {foundFile(machine.fileManager(), *path, fileName, place.category)}));
    }
    QList<AssociatedFile> agents = entriesContaining(
        machine.fileManager(), places.inHome(QStringLiteral("Library/LaunchAgents")), name,
        FileCategory::launchAgents, std::nullopt, NameRule::word, guarded);
    if (isSharedName)
        agents.removeIf([&](const AssociatedFile &file) { return !isWholeName(file.name, name); });
    if (!agents.isEmpty())
        groups.append(FileGroup(FileCategory::launchAgents, agents));
    return groups;
}

QStringList namedLocationFolders(const Places &places)
{
    QStringList folders;
    for (const NamedPlace &place : kNamedPlaces) {
        QString folder = baseFolder(places, place.base);
        if (*place.folder)
            folder += QLatin1Char('/') + QString::fromLatin1(place.folder);
        // The fixed prefix may hold folders of its own ("Application Support/").
        folder += QLatin1Char('/') + QString::fromLatin1(place.fixedPrefix);
        folders.append(QDir::cleanPath(folder.left(folder.lastIndexOf(QLatin1Char('/')))));
    }
    folders.append(QDir::cleanPath(places.inHome(QStringLiteral("Library/LaunchAgents"))));
    return folders;
}
