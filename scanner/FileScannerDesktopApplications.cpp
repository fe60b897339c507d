// Applications from freedesktop desktop entries and AppImages.

#include "scanner/FileScanner.h"

#include "scanner/DesktopApplicationPlaces.h"
#include "scanner/DesktopEntry.h"
#include "scanner/IconTheme.h"
#include "scanner/NameGuard.h"
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
// Programs that start another one: the program they start says nothing about the entry.
const QStringList kLaunchers = {
    QStringLiteral("sh"),         QStringLiteral("bash"),    QStringLiteral("dash"),
    QStringLiteral("zsh"),        QStringLiteral("env"),     QStringLiteral("python"),
    QStringLiteral("python3"),    QStringLiteral("perl"),    QStringLiteral("java"),
    QStringLiteral("wine"),       QStringLiteral("flatpak"), QStringLiteral("xdg-open"),
    QStringLiteral("gtk-launch"), QStringLiteral("snap"),
};
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
    QList<AppInfo> apps;
    QHash<QString, qsizetype> rowOfKey;
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
        app.execPath = entry->program();
        app.execName = app.execPath.section(QLatin1Char('/'), -1);
        if (kLaunchers.contains(app.execName))
            app.execName.clear();
        const QString baseID = candidate.id.chopped(kSuffix.size());

        EntryOrigin origin = candidate.origin;
        QString ownerPath = candidate.path;
        // A user entry that overrides a system one keeps the system one's kind.
        if (origin == EntryOrigin::dataHome) {
            for (qsizetype index : byID.value(candidate.id)) {
                if (found.at(index).origin != EntryOrigin::dataHome) {
                    origin = found.at(index).origin;
                    ownerPath = found.at(index).path;
                    app.path = ownerPath;
                    break;
                }
            }
        }
        const QString flatpakID = !entry->flatpakID.isEmpty() ? entry->flatpakID : baseID;
        const QString snapName = !entry->snapInstanceName.isEmpty()
                                     ? entry->snapInstanceName
                                     : baseID.section(QLatin1Char('_'), 0, 0);
        const QString program = machinePath(m_places, app.execPath);
        if (origin == EntryOrigin::userFlatpak || origin == EntryOrigin::systemFlatpak ||
            !entry->flatpakID.isEmpty()) {
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
        } else if (origin == EntryOrigin::snap || !entry->snapInstanceName.isEmpty()) {
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

        // One row per application: entries of one Flatpak, one Snap or one program fold.
        QString key = QStringLiteral("id:") + candidate.id;
        if (!app.flatpakID.isEmpty())
            key = QStringLiteral("flatpak:") + app.flatpakID;
        else if (!app.snapName.isEmpty())
            key = QStringLiteral("snap:") + app.snapName;
        else if (!app.execName.isEmpty())
            key = QStringLiteral("exec:%1:").arg(int(app.installation)) + program;
        if (const auto row = rowOfKey.constFind(key); row != rowOfKey.constEnd()) {
            // The entry named after the Flatpak is its main one.
            if (!app.flatpakID.isEmpty() && baseID == app.flatpakID)
                apps[*row] = app;
            continue;
        }
        rowOfKey.insert(key, apps.size());
        apps.append(app);
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

    QStringList packaged;
    for (const AppInfo &app : std::as_const(apps)) {
        if (app.installation == InstallationKind::systemPackage)
            packaged.append(app.path);
    }
    const QHash<QString, QString> owners = findOwningPackages(packaged);
    for (AppInfo &app : apps) {
        if (app.installation == InstallationKind::systemPackage)
            app.owningPackage = owners.value(app.path);
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

bool FileScanner::isUserApplication(const AppInfo &app) const
{
    return app.isUserInstalled(m_places.inHome(QStringLiteral("Applications")) + QLatin1Char('/'));
}
