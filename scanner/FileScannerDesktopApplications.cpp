// Applications from freedesktop desktop entries and AppImages.

#include "scanner/FileScanner.h"

#include "scanner/DesktopApplicationPlaces.h"
#include "scanner/DesktopEntry.h"
#include "scanner/ExecCommand.h"
#include "scanner/IconTheme.h"
#include "scanner/NameGuard.h"
#include "scanner/PackageFamilies.h"
#include "scanner/ToolOutput.h"

#include <QFile>
#include <QSet>

#include <sys/stat.h>

namespace {

const QString kSuffix = QStringLiteral(".desktop");
const QString kDpkgQuery = QStringLiteral("/usr/bin/dpkg-query");
const QString kRPM = QStringLiteral("/usr/bin/rpm");
// A hostile tree of entries is not read without end.
constexpr int kMaxDepth = 4;
constexpr int kMaxEntriesPerFolder = 10000;
const QStringList kAppImageFolders = {QStringLiteral("Applications"), QStringLiteral(".local/bin")};

struct FoundEntry
{
    QString id;
    QString path;
    EntryOrigin origin;
    std::optional<DesktopEntry> entry; // nothing: unreadable
};

// Every "*.desktop" below folder with its desktop-file id ("kde4/a.desktop" is "kde4-a.desktop"),
// links to folders followed once (a loop ends where a folder was seen).
void collectEntries(const FileManager &fileManager, const QString &folder, const QString &prefix,
                    int depth, QSet<QPair<quint64, quint64>> &visited, QList<FoundEntry> &out,
                    EntryOrigin origin)
{
    struct stat st;
    if (depth > kMaxDepth || ::stat(QFile::encodeName(folder).constData(), &st) != 0 ||
        !S_ISDIR(st.st_mode))
        return;
    const QPair<quint64, quint64> key(st.st_dev, st.st_ino);
    if (visited.contains(key))
        return;
    visited.insert(key);
    const std::optional<QStringList> entries = fileManager.contentsOfDirectory(folder);
    int count = 0;
    for (const QString &path : entries.value_or(QStringList())) {
        if (++count > kMaxEntriesPerFolder)
            break;
        const QString name = path.section(QLatin1Char('/'), -1);
        bool isDirectory = false;
        if (!fileManager.fileExists(path, &isDirectory))
            continue;
        if (isDirectory) {
            collectEntries(fileManager, path, prefix + name + QLatin1Char('-'), depth + 1, visited,
                           out, origin);
        } else if (name.endsWith(kSuffix) && name.size() > kSuffix.size()) {
            out.append({prefix + name, path, origin, std::nullopt});
        }
    }
}

bool isAppImageName(const QString &path)
{
    return path.endsWith(QLatin1String(".AppImage"), Qt::CaseInsensitive);
}

// "Obsidian-1.5.12-x86_64.AppImage" is "Obsidian".
QString appImageDisplayName(const QString &path)
{
    QString name = path.section(QLatin1Char('/'), -1);
    name.chop(QStringLiteral(".AppImage").size());
    for (qsizetype i = 1; i + 1 < name.size(); ++i) {
        if ((name.at(i) == QLatin1Char('-') || name.at(i) == QLatin1Char('_')) &&
            (name.at(i + 1).isDigit() || name.mid(i + 1).startsWith(QLatin1String("x86")) ||
             name.mid(i + 1).startsWith(QLatin1String("aarch64"))))
            return name.left(i);
    }
    return name;
}

bool isInside(const QString &path, const QString &folder)
{
    return path.startsWith(folder + QLatin1Char('/'));
}

struct ListedEntry
{
    AppInfo app;
    // What it starts: the machine place of its program and the target its arguments name (its
    // own Flatpak or Snap, or a launcher's); no program when it starts another application.
    QString program;
    QString target;
    // The row's main entry: the one named after its Flatpak, else one that starts its program
    // with no arguments of its own (the editor, not its settings entry).
    bool isMain = false;
};

// One row per application: the entries of one origin (a Flatpak, a Snap, a system package, the
// user's own files) that start the same program in a mode of its own fold into one row (an
// editor's settings entry into the editor); an entry that starts another application (a web
// application of a browser, a game of a launcher) is a row of its own.
QString foldingKey(const ListedEntry &entry)
{
    const AppInfo &app = entry.app;
    if (entry.program.isEmpty())
        return QStringLiteral("id:") + app.desktopFileID;
    if (!app.flatpakID.isEmpty())
        return QStringLiteral("flatpak:") + app.flatpakID;
    if (!app.snapName.isEmpty())
        return QStringLiteral("snap:") + app.snapName;
    const QString started = entry.program + QLatin1Char(' ') + entry.target;
    if (app.installation == InstallationKind::systemPackage)
        return QStringLiteral("package:%1:%2").arg(app.owningPackage, started);
    return QStringLiteral("file:%1:%2").arg(int(app.installation)).arg(started);
}

} // namespace

QList<AppInfo> FileScanner::scanDesktopApplications() const
{
    QList<FoundEntry> found;
    QSet<QPair<quint64, quint64>> visited;
    for (const DataFolder &folder : desktopDataFolderList(m_places))
        collectEntries(m_fileManager, folder.path + QStringLiteral("/applications"), QString(), 0,
                       visited, found, folder.origin);

    // The first entry of an id wins; the ones it shadows only tell how the program was installed.
    QHash<QString, QList<qsizetype>> byID;
    for (qsizetype i = 0; i < found.size(); ++i)
        byID[found.at(i).id].append(i);

    const IconTheme icons(m_places, m_fileManager);
    QList<ListedEntry> listed;
    QSet<QString> done;
    for (const FoundEntry &candidate : std::as_const(found)) {
        if (done.contains(candidate.id))
            continue;
        done.insert(candidate.id);
        const std::optional<QByteArray> bytes =
            m_fileManager.readFile(candidate.path, DesktopEntry::kMaxBytes);
        const std::optional<DesktopEntry> entry =
            bytes ? DesktopEntry::parse(*bytes) : std::nullopt;
        if (!entry || entry->hidden || entry->noDisplay || entry->name.trimmed().isEmpty() ||
            entry->type != QLatin1String("Application"))
            continue;
        if (!entry->tryExec.isEmpty()) {
            const bool present =
                entry->tryExec.startsWith(QLatin1Char('/'))
                    ? m_fileManager.fileExists(machinePath(m_places, entry->tryExec))
                    : locateProgram(m_places, m_fileManager, entry->tryExec);
            if (!present)
                continue;
        }

        AppInfo app(entry->name.trimmed(), std::nullopt, candidate.path,
                    icons.iconFor(entry->icon));
        app.desktopFileID = candidate.id;
        app.iconName = entry->icon;
        app.startupWMClass = entry->startupWMClass;
        const ExecCommand command = entry->command();
        // An interpreter, a launcher or another application's program says nothing of this one.
        if (command.startsProgramItself()) {
            app.execPath = command.program;
            app.execName = app.execPath.section(QLatin1Char('/'), -1);
        }
        const QString baseID = candidate.id.chopped(kSuffix.size());

        EntryOrigin origin = candidate.origin;
        // A user entry that overrides a system one keeps the system one's kind.
        if (origin == EntryOrigin::dataHome) {
            for (qsizetype index : byID.value(candidate.id)) {
                if (found.at(index).origin != EntryOrigin::dataHome) {
                    origin = found.at(index).origin;
                    app.path = found.at(index).path;
                    break;
                }
            }
        }
        const QString flatpakID = !entry->flatpakID.isEmpty() ? entry->flatpakID : baseID;
        const QString snapName = !entry->snapInstanceName.isEmpty()
                                     ? entry->snapInstanceName
                                     : baseID.section(QLatin1Char('_'), 0, 0);
        // The user's own entry that starts another application through a Flatpak or Snap (a
        // browser's web application) is that entry, not the Flatpak or Snap.
        const bool startsAnother =
            !command.target.isEmpty() && command.target != flatpakID && command.target != snapName;
        const bool ownFile = origin == EntryOrigin::dataHome && startsAnother;
        const QString program = machinePath(m_places, app.execPath);
        if (!ownFile && (origin == EntryOrigin::userFlatpak ||
                         origin == EntryOrigin::systemFlatpak || !entry->flatpakID.isEmpty())) {
            app.installation = InstallationKind::flatpak;
            app.isUserFlatpak =
                origin == EntryOrigin::userFlatpak ||
                (origin == EntryOrigin::dataHome &&
                 m_fileManager.fileExists(m_places.dataHome() + QStringLiteral("/flatpak/app/") +
                                          flatpakID));
            if (isValidFlatpakID(flatpakID))
                app.flatpakID = flatpakID;
            app.bundleIdentifier =
                app.flatpakID.isEmpty() ? std::nullopt : std::optional<QString>(app.flatpakID);
        } else if (!ownFile &&
                   (origin == EntryOrigin::snap || !entry->snapInstanceName.isEmpty())) {
            app.installation = InstallationKind::snap;
            if (isValidSnapName(snapName))
                app.snapName = snapName;
        } else if (isAppImageName(app.execPath)) {
            app.installation = InstallationKind::appImage;
            if (app.execPath.startsWith(QLatin1Char('/')) && isInside(program, m_places.home()))
                app.path = program;
        } else if (origin == EntryOrigin::dataHome) {
            app.installation = InstallationKind::homeFolder;
        } else {
            app.installation = InstallationKind::systemPackage;
        }
        const bool isMain =
            app.flatpakID.isEmpty() ? command.arguments.isEmpty() : app.flatpakID == baseID;
        ListedEntry listedEntry{app, QString(), command.target, isMain};
        if (!startsAnother && !command.program.isEmpty())
            listedEntry.program = machinePath(m_places, command.program);
        listed.append(listedEntry);
    }

    // A package's row is the package that provides the program it starts (an editor's GUI
    // variant through the alternatives links), else the one that owns its entry: both are asked
    // in one query.
    QStringList packaged;
    QHash<QString, QString> programOf;
    for (const ListedEntry &entry : std::as_const(listed)) {
        if (entry.app.installation != InstallationKind::systemPackage)
            continue;
        packaged.append(entry.app.path);
        const QString program = resolvedProgram(m_places, m_fileManager, entry.app.execPath);
        if (!program.isEmpty()) {
            programOf.insert(entry.app.path, program);
            packaged.append(program);
        }
    }
    const QHash<QString, QString> owners = findOwningPackages(packaged);
    const QHash<QString, QStringList> families =
        owners.isEmpty() ? QHash<QString, QStringList>() : findPackageFamilies();
    QList<AppInfo> apps;
    QHash<QString, qsizetype> rowOfKey;
    QList<bool> rowIsMain;
    for (ListedEntry &entry : listed) {
        if (entry.app.installation == InstallationKind::systemPackage) {
            entry.app.owningPackage =
                owners.value(programOf.value(entry.app.path), owners.value(entry.app.path));
            entry.app.packageFamily = families.value(entry.app.owningPackage);
        }
        const QString key = foldingKey(entry);
        if (const auto row = rowOfKey.constFind(key); row != rowOfKey.constEnd()) {
            if (entry.isMain && !rowIsMain.at(*row)) {
                apps[*row] = entry.app;
                rowIsMain[*row] = true;
            }
            continue;
        }
        rowOfKey.insert(key, apps.size());
        apps.append(entry.app);
        rowIsMain.append(entry.isMain);
    }

    // AppImages that no entry already describes.
    QSet<QString> described;
    for (const AppInfo &app : std::as_const(apps))
        described.insert(app.path);
    for (const QString &folder : kAppImageFolders) {
        const QString place = m_places.inHome(folder);
        for (const QString &path :
             m_fileManager.contentsOfDirectory(place).value_or(QStringList())) {
            bool isDirectory = true;
            if (!isAppImageName(path) || described.contains(path) ||
                !m_fileManager.fileExists(path, &isDirectory) || isDirectory)
                continue;
            described.insert(path);
            AppInfo app(appImageDisplayName(path), std::nullopt, path,
                        ItemIcon::symbol(QStringLiteral("app.generic")));
            app.installation = InstallationKind::appImage;
            app.execPath = path;
            app.execName = path.section(QLatin1Char('/'), -1);
            apps.append(app);
        }
    }

    return apps;
}

QHash<QString, QString> FileScanner::findOwningPackages(const QStringList &paths) const
{
    if (paths.isEmpty())
        return {};
    QStringList machinePaths;
    for (const QString &path : paths)
        machinePaths.append(m_places.systemRelative(path));
    QHash<QString, QString> byMachinePath;
    if (const QString dpkg = m_places.onSystem(kDpkgQuery); m_fileManager.fileExists(dpkg)) {
        // "--" ends the options: a path can never be read as one.
        const CommandResult result =
            runQuery(dpkg, QStringList{QStringLiteral("-S"), QStringLiteral("--")} + machinePaths);
        if (result.output && !result.timedOut)
            byMachinePath = parseDpkgOwners(*result.output);
    } else if (const QString rpm = m_places.onSystem(kRPM); m_fileManager.fileExists(rpm)) {
        const CommandResult result =
            runQuery(rpm, QStringList{QStringLiteral("-qf"), QStringLiteral("--queryformat"),
                                      QStringLiteral("%{NAME}\\n"), QStringLiteral("--")} +
                              machinePaths);
        if (result.output && !result.timedOut)
            byMachinePath = parseRPMOwners(*result.output, machinePaths);
    }
    QHash<QString, QString> owners;
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const QString package = byMachinePath.value(machinePaths.at(i));
        if (!package.isEmpty())
            owners.insert(paths.at(i), package);
    }
    return owners;
}

QHash<QString, QStringList> FileScanner::findPackageFamilies() const
{
    return parsePackageFamilies(queryInstalledPackages(*this));
}

bool FileScanner::isUserApplication(const AppInfo &app) const
{
    return app.isUserInstalled(m_places.inHome(QStringLiteral("Applications")) + QLatin1Char('/'));
}
