// What a desktop application (a desktop entry, Flatpak, Snap or AppImage) keeps on disk.

#include "scanner/DesktopLeftovers.h"

#include "scanner/DesktopApplicationPlaces.h"
#include "scanner/DesktopEntry.h"
#include "scanner/ExecCommand.h"
#include "scanner/FoundFile.h"
#include "scanner/LeftoverSearch.h"

#include <QDir>

#include <algorithm>

namespace {

const QString kSuffix = QStringLiteral(".desktop");

bool isInsideHome(const Places &places, const QString &path)
{
    return QDir::cleanPath(path).startsWith(places.home() + QLatin1Char('/'));
}

void addFile(const Machine &machine, const ProtectedPlaces &guarded, QList<FileGroup> &groups,
             const QString &path, FileCategory category)
{
    // Only what lies in the home folder is the user's to move: an entry pointing elsewhere
    // ("Exec=/usr/bin/x", "../../etc") never offers it.
    if (!isInsideHome(machine.places(), path) || guarded.contains(path) ||
        (!machine.fileManager().fileExists(path) && !machine.fileManager().isSymbolicLink(path)))
        return;
    const AssociatedFile file =
        foundFile(machine.fileManager(), path, path.section(QLatin1Char('/'), -1), category);
    for (FileGroup &group : groups) {
        if (group.files.contains(file))
            return; // found by its id and by its program
        if (group.category == category) {
            group.files.append(file);
            return;
        }
    }
    groups.append(FileGroup(category, {file}));
}

struct EntryCommand
{
    QString path;
    ExecCommand command;
};

// What each desktop entry of folder starts.
QList<EntryCommand> entryCommands(const Machine &machine, const QString &folder)
{
    QList<EntryCommand> entries;
    for (const QString &path :
         machine.fileManager().contentsOfDirectory(folder).value_or(QStringList())) {
        if (!path.endsWith(kSuffix))
            continue;
        const std::optional<QByteArray> bytes =
            machine.fileManager().readFile(path, DesktopEntry::kMaxBytes);
        const std::optional<DesktopEntry> entry =
            bytes ? DesktopEntry::parse(*bytes) : std::nullopt;
        if (entry)
            entries.append({path, entry->command()});
    }
    return entries;
}

// The machine place an absolute path of an entry names; empty for a name looked up on PATH.
QString placeOf(const Machine &machine, const QString &path)
{
    return path.startsWith(QLatin1Char('/')) ? machinePath(machine.places(), path) : QString();
}

// The entry starts program (a machine place) itself, in a mode of its own.
bool startsItself(const Machine &machine, const ExecCommand &command, const QString &program)
{
    return command.startsProgramItself() && placeOf(machine, command.program) == program;
}

// The entry uses program otherwise: to start another application with it, or as what an
// interpreter or launcher is given.
bool usesOtherwise(const Machine &machine, const ExecCommand &command, const QString &program)
{
    if (placeOf(machine, command.program) == program)
        return !command.startsProgramItself();
    return std::any_of(
        command.arguments.begin(), command.arguments.end(),
        [&](const QString &argument) { return placeOf(machine, argument) == program; });
}

// An AppImage's or home-installed application's program is its own file only when nothing else
// uses it: no other listed application starts it, and no entry of the user's starts another
// application with it. An interpreter or launcher never is (the listing leaves its execPath
// empty).
bool isOwnProgram(const Machine &machine, const AppInfo &app, const QString &program,
                  const QList<AppInfo> &installed, const QList<EntryCommand> &userEntries)
{
    if (program.isEmpty() || (app.installation != InstallationKind::appImage &&
                              app.installation != InstallationKind::homeFolder))
        return false;
    for (const AppInfo &other : installed) {
        if (other.path != app.path &&
            (other.path == program || placeOf(machine, other.execPath) == program))
            return false;
    }
    return std::none_of(userEntries.begin(), userEntries.end(), [&](const EntryCommand &entry) {
        return usesOtherwise(machine, entry.command, program);
    });
}

// The user's own icons named iconName in the hicolor theme, every size.
QStringList userIcons(const Machine &machine, const QString &iconName)
{
    QStringList paths;
    if (!isSafeEntryName(iconName))
        return paths;
    const QString hicolor = machine.places().dataHome() + QStringLiteral("/icons/hicolor");
    for (const QString &size :
         machine.fileManager().contentsOfDirectory(hicolor).value_or(QStringList())) {
        for (const QString &path : machine.fileManager()
                                       .contentsOfDirectory(size + QStringLiteral("/apps"))
                                       .value_or(QStringList())) {
            const QString name = path.section(QLatin1Char('/'), -1);
            if (name.startsWith(iconName + QLatin1Char('.')) &&
                !name.mid(iconName.size() + 1).contains(QLatin1Char('.')))
                paths.append(path);
        }
    }
    return paths;
}

} // namespace

QList<FileGroup> findDesktopApplicationFiles(const Machine &machine, const AppInfo &app,
                                             const QList<AppInfo> &installed,
                                             const ScanProgress &progress)
{
    const ProtectedPlaces guarded(machine.places());
    std::vector<OtherItem> others;
    for (const AppInfo &other : installed) {
        if (other.path != app.path)
            others.push_back({ownershipMatcherFor(other), other.name});
    }
    QList<FileGroup> groups = searchLeftovers(machine, searchTermsFor(app), app.name,
                                              ownershipMatcherFor(app), others, guarded, progress);

    // Places that belong to the application by its exact names.
    QList<FileGroup> exact;
    const QString program = app.execPath.startsWith(QLatin1Char('/'))
                                ? machinePath(machine.places(), app.execPath)
                                : QString();
    // A Flatpak's or Snap's installation is shown so that ticking it asks its tool to remove it;
    // it lies outside the home folder and never goes to the Trash.
    std::optional<QString> installation;
    if (app.installation == InstallationKind::flatpak) {
        const QString base =
            app.isUserFlatpak ? machine.places().dataHome() + QStringLiteral("/flatpak/app")
                              : machine.places().onSystem(QStringLiteral("/var/lib/flatpak/app"));
        installation = placeInside(base, QString(), app.flatpakID);
    } else if (app.installation == InstallationKind::snap) {
        installation = placeInside(machine.places().onSystem(QStringLiteral("/snap")), QString(),
                                   app.snapName);
    }
    if (installation && machine.fileManager().isDirectory(*installation) &&
        !guarded.contains(*installation)) {
        exact.append(FileGroup(FileCategory::installedApplication,
                               {foundFile(machine.fileManager(), *installation, app.name,
                                          FileCategory::installedApplication)}));
    }
    const QString userEntries = machine.places().dataHome() + QStringLiteral("/applications");
    const QList<EntryCommand> entries = entryCommands(machine, userEntries);
    const QList<EntryCommand> autostart =
        entryCommands(machine, machine.places().configHome() + QStringLiteral("/autostart"));
    bool isDirectory = true;
    const bool ownProgram = isOwnProgram(machine, app, program, installed, entries + autostart) &&
                            machine.fileManager().fileExists(program, &isDirectory) && !isDirectory;
    if (ownProgram)
        addFile(machine, guarded, exact, program, FileCategory::applicationFiles);
    if (const auto entry = placeInside(userEntries, QString(), app.desktopFileID))
        addFile(machine, guarded, exact, *entry, FileCategory::desktopEntries);
    // The other entries that start the application's own program in a mode of its own; autostart
    // entries also by the program's name.
    for (const EntryCommand &entry : entries) {
        if (ownProgram && startsItself(machine, entry.command, program))
            addFile(machine, guarded, exact, entry.path, FileCategory::desktopEntries);
    }
    for (const EntryCommand &entry : autostart) {
        if ((ownProgram && startsItself(machine, entry.command, program)) ||
            (!app.execName.isEmpty() && entry.command.startsProgramItself() &&
             entry.command.program.section(QLatin1Char('/'), -1) == app.execName))
            addFile(machine, guarded, exact, entry.path, FileCategory::autostartEntries);
    }
    if (const auto data = placeInside(machine.places().inHome(QStringLiteral(".var/app")),
                                      QString(), app.flatpakID))
        addFile(machine, guarded, exact, *data, FileCategory::flatpakData);
    if (const auto data =
            placeInside(machine.places().inHome(QStringLiteral("snap")), QString(), app.snapName))
        addFile(machine, guarded, exact, *data, FileCategory::snapData);
    if (!app.iconName.startsWith(QLatin1Char('/'))) {
        for (const QString &path : userIcons(machine, app.iconName))
            addFile(machine, guarded, exact, path, FileCategory::userIcons);
    }

    groups = mergeFileGroups(exact, groups);
    measureFoundGroups(machine, groups, progress);
    return groups;
}
