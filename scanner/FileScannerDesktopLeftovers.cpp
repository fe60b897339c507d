// What a desktop application (a desktop entry, Flatpak, Snap or AppImage) keeps on disk.

#include "scanner/FileScanner.h"

#include "scanner/DesktopApplicationPlaces.h"
#include "scanner/DesktopEntry.h"
#include "scanner/ExecCommand.h"
#include "scanner/FoundFile.h"
#include "scanner/LeftoverSearch.h"

#include <QDir>
#include <QRegularExpression>

#include <algorithm>

namespace {

const QString kSuffix = QStringLiteral(".desktop");

bool isInsideHome(const Places &places, const QString &path)
{
    return QDir::cleanPath(path).startsWith(places.home() + QLatin1Char('/'));
}

void addFile(const FileScanner &scanner, const ProtectedPlaces &guarded, QList<FileGroup> &groups,
             const QString &path, FileCategory category)
{
    // Only what lies in the home folder is the user's to move: an entry pointing elsewhere
    // ("Exec=/usr/bin/x", "../../etc") never offers it.
    if (!isInsideHome(scanner.places(), path) || guarded.contains(path) ||
        (!scanner.fileManager().fileExists(path) && !scanner.fileManager().isSymbolicLink(path)))
        return;
    const AssociatedFile file =
        foundFile(scanner.fileManager(), path, path.section(QLatin1Char('/'), -1), category);
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
QList<EntryCommand> entryCommands(const FileScanner &scanner, const QString &folder)
{
    QList<EntryCommand> entries;
    for (const QString &path :
         scanner.fileManager().contentsOfDirectory(folder).value_or(QStringList())) {
        if (!path.endsWith(kSuffix))
            continue;
        const std::optional<QByteArray> bytes =
            scanner.fileManager().readFile(path, DesktopEntry::kMaxBytes);
        const std::optional<DesktopEntry> entry =
            bytes ? DesktopEntry::parse(*bytes) : std::nullopt;
        if (entry)
            entries.append({path, entry->command()});
    }
    return entries;
}

// The machine place an absolute path of an entry names; empty for a name looked up on PATH.
QString placeOf(const FileScanner &scanner, const QString &path)
{
    return path.startsWith(QLatin1Char('/')) ? machinePath(scanner.places(), path) : QString();
}

// The entry starts program (a machine place) itself, in a mode of its own.
bool startsItself(const FileScanner &scanner, const ExecCommand &command, const QString &program)
{
    return command.startsProgramItself() && placeOf(scanner, command.program) == program;
}

// The entry uses program otherwise: to start another application with it, or as what an
// interpreter or launcher is given.
bool usesOtherwise(const FileScanner &scanner, const ExecCommand &command, const QString &program)
{
    if (placeOf(scanner, command.program) == program)
        return !command.startsProgramItself();
    return std::any_of(
        command.arguments.begin(), command.arguments.end(),
        [&](const QString &argument) { return placeOf(scanner, argument) == program; });
}

// An AppImage's or home-installed application's program is its own file only when nothing else
// uses it: no other listed application starts it, and no entry of the user's starts another
// application with it. An interpreter or launcher never is (the listing leaves its execPath
// empty).
bool isOwnProgram(const FileScanner &scanner, const AppInfo &app, const QString &program,
                  const QList<AppInfo> &installed, const QList<EntryCommand> &userEntries)
{
    if (program.isEmpty() || (app.installation != InstallationKind::appImage &&
                              app.installation != InstallationKind::homeFolder))
        return false;
    for (const AppInfo &other : installed) {
        if (other.path != app.path &&
            (other.path == program || placeOf(scanner, other.execPath) == program))
            return false;
    }
    return std::none_of(userEntries.begin(), userEntries.end(), [&](const EntryCommand &entry) {
        return usesOtherwise(scanner, entry.command, program);
    });
}

// The user's own icons named iconName in the hicolor theme, every size.
QStringList userIcons(const FileScanner &scanner, const QString &iconName)
{
    QStringList paths;
    if (!isSafeEntryName(iconName))
        return paths;
    const QString hicolor = scanner.places().dataHome() + QStringLiteral("/icons/hicolor");
    for (const QString &size :
         scanner.fileManager().contentsOfDirectory(hicolor).value_or(QStringList())) {
        for (const QString &path : scanner.fileManager()
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

// "sketch-gtk", "viewer-qt5" and "Viewer-Qt6" name the program "sketch" or "viewer" built with a
// toolkit; its folders carry the plain name.
QString withoutToolkitSuffix(const QString &name)
{
    static const QRegularExpression suffix(QStringLiteral("-(gtk[34]?|qt[56]?)$"),
                                           QRegularExpression::CaseInsensitiveOption);
    return QString(name).remove(suffix);
}

// "Sketch!" and "Notes…" are "Sketch" and "Notes" on disk.
QString withoutTrailingPunctuation(const QString &name)
{
    qsizetype end = name.size();
    while (end > 0 && (name.at(end - 1).isPunct() || name.at(end - 1).isSymbol() ||
                       name.at(end - 1).isSpace()))
        --end;
    return name.left(end);
}

// The first words of the icon theme's standard names ("utilities-terminal", "text-editor",
// "web-browser"), which many programs use and so say nothing of one.
const QStringList kGenericIconWords = {
    QStringLiteral("accessories"), QStringLiteral("applications"), QStringLiteral("preferences"),
    QStringLiteral("system"),      QStringLiteral("utilities"),    QStringLiteral("help"),
    QStringLiteral("internet"),    QStringLiteral("multimedia"),   QStringLiteral("office"),
    QStringLiteral("text"),        QStringLiteral("web"),          QStringLiteral("mail"),
    QStringLiteral("audio"),       QStringLiteral("video"),        QStringLiteral("image"),
    QStringLiteral("media"),       QStringLiteral("network"),      QStringLiteral("document"),
    QStringLiteral("folder"),      QStringLiteral("input"),        QStringLiteral("computer"),
};

// An Icon value is a theme name, or a file whose name without its extension is one; a standard
// name gives no term.
QString iconTerm(const QString &icon)
{
    if (!icon.startsWith(QLatin1Char('/')))
        return kGenericIconWords.contains(icon.section(QLatin1Char('-'), 0, 0), Qt::CaseInsensitive)
                   ? QString()
                   : icon;
    const QString file = icon.section(QLatin1Char('/'), -1);
    return file.contains(QLatin1Char('.')) ? file.section(QLatin1Char('.'), 0, -2) : file;
}

} // namespace

SearchTerms FileScanner::buildSearchTerms(const AppInfo &app) const
{
    if (!app.isDesktopEntry())
        return buildSearchTerms(app.bundleIdentifier, app.name, app.path);
    const std::optional<QString> identifier =
        app.flatpakID.isEmpty() ? std::nullopt : std::optional<QString>(app.flatpakID);
    SearchTerms terms = buildSearchTerms(identifier, app.name, std::nullopt);
    QSet<QString> seen;
    for (const QString &term : terms.terms + terms.identifierParts + terms.wholeNames)
        seen.insert(term.toLower());
    const QString baseID = app.desktopFileID.endsWith(kSuffix)
                               ? app.desktopFileID.chopped(kSuffix.size())
                               : app.desktopFileID;
    // An AppImage's file name carries its version; its name says the same without it.
    const QString execName =
        app.installation == InstallationKind::appImage ? QString() : app.execName;
    QStringList candidates = {withoutTrailingPunctuation(app.name),
                              baseID,
                              execName,
                              app.startupWMClass,
                              app.snapName,
                              iconTerm(app.iconName)};
    if (app.installation == InstallationKind::systemPackage && !app.owningPackage.isEmpty())
        candidates += QStringList{app.owningPackage} + app.packageFamily;
    for (const QString &candidate : std::as_const(candidates)) {
        addSearchTerm(candidate, seen, terms.terms);
        addSearchTerm(withoutToolkitSuffix(candidate), seen, terms.terms);
    }
    return terms;
}

QList<FileGroup> FileScanner::findApplicationFiles(const AppInfo &app,
                                                   const QList<AppInfo> &installed,
                                                   const ScanProgress &progress) const
{
    if (!app.isDesktopEntry())
        return findAssociatedFiles(app.bundleIdentifier, app.name, app.path, installed, progress);

    const ProtectedPlaces guarded(m_places);
    std::vector<OtherItem> others;
    for (const AppInfo &other : installed) {
        if (other.path != app.path)
            others.push_back({ownershipMatcherFor(*this, other), other.name});
    }
    QList<FileGroup> groups =
        searchLeftovers(*this, buildSearchTerms(app), app.name, ownershipMatcherFor(*this, app),
                        others, guarded, progress);

    // Places that belong to the application by its exact names.
    QList<FileGroup> exact;
    const QString program =
        app.execPath.startsWith(QLatin1Char('/')) ? machinePath(m_places, app.execPath) : QString();
    // A Flatpak's or Snap's installation is shown so that ticking it asks its tool to remove it;
    // it lies outside the home folder and never goes to the Trash.
    std::optional<QString> installation;
    if (app.installation == InstallationKind::flatpak) {
        const QString base = app.isUserFlatpak
                                 ? m_places.dataHome() + QStringLiteral("/flatpak/app")
                                 : m_places.onSystem(QStringLiteral("/var/lib/flatpak/app"));
        installation = placeInside(base, QString(), app.flatpakID);
    } else if (app.installation == InstallationKind::snap) {
        installation =
            placeInside(m_places.onSystem(QStringLiteral("/snap")), QString(), app.snapName);
    }
    if (installation && m_fileManager.isDirectory(*installation) &&
        !guarded.contains(*installation)) {
        exact.append(FileGroup(FileCategory::installedApplication,
                               {foundFile(m_fileManager, *installation, app.name,
                                          FileCategory::installedApplication)}));
    }
    const QString userEntries = m_places.dataHome() + QStringLiteral("/applications");
    const QList<EntryCommand> entries = entryCommands(*this, userEntries);
    const QList<EntryCommand> autostart =
        entryCommands(*this, m_places.configHome() + QStringLiteral("/autostart"));
    bool isDirectory = true;
    const bool ownProgram = isOwnProgram(*this, app, program, installed, entries + autostart) &&
                            m_fileManager.fileExists(program, &isDirectory) && !isDirectory;
    if (ownProgram)
        addFile(*this, guarded, exact, program, FileCategory::applicationFiles);
    if (const auto entry = placeInside(userEntries, QString(), app.desktopFileID))
        addFile(*this, guarded, exact, *entry, FileCategory::desktopEntries);
    // The other entries that start the application's own program in a mode of its own; autostart
    // entries also by the program's name.
    for (const EntryCommand &entry : entries) {
        if (ownProgram && startsItself(*this, entry.command, program))
            addFile(*this, guarded, exact, entry.path, FileCategory::desktopEntries);
    }
    for (const EntryCommand &entry : autostart) {
        if ((ownProgram && startsItself(*this, entry.command, program)) ||
            (!app.execName.isEmpty() && entry.command.startsProgramItself() &&
             entry.command.program.section(QLatin1Char('/'), -1) == app.execName))
            addFile(*this, guarded, exact, entry.path, FileCategory::autostartEntries);
    }
    if (const auto data =
            placeInside(m_places.inHome(QStringLiteral(".var/app")), QString(), app.flatpakID))
        addFile(*this, guarded, exact, *data, FileCategory::flatpakData);
    if (const auto data =
            placeInside(m_places.inHome(QStringLiteral("snap")), QString(), app.snapName))
        addFile(*this, guarded, exact, *data, FileCategory::snapData);
    if (!app.iconName.startsWith(QLatin1Char('/'))) {
        for (const QString &path : userIcons(*this, app.iconName))
            addFile(*this, guarded, exact, path, FileCategory::userIcons);
    }

    groups = mergeFileGroups(exact, groups);
    measureFoundGroups(*this, groups, progress);
    return groups;
}
