#include "scanner/NameGuard.h"

#include "model/FileCategory.h"
#include "scanner/CategoryPlaces.h"
#include "scanner/Places.h"
#include "scanner/TrashFolders.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>

#include <cstdlib>

namespace {

// Folders under the home folder that hold searched places or are searched themselves, beyond
// the category folders.
const char *const kProtectedHomeFolders[] = {
    "Library",
    "Library/Application Support",
    "Library/Caches",
    "Library/Logs",
    "Library/LaunchAgents",
    "Library/Developer",
    "Library/Developer/Xcode",
    "Library/Developer/CoreSimulator",
    "Applications",
    ".config",
    ".cache",
    ".local",
    ".local/share",
    ".local/share/Trash",
    ".Trash",
    ".npm",
    ".nvm",
    ".local/bin",
    ".local/state",
    ".var",
    ".var/app",
    "snap",
    ".linuxbrew",
    ".local/share/flatpak",
    ".local/share/flatpak/exports",
    ".local/share/flatpak/exports/share",
    ".local/share/flatpak/exports/share/applications",
};

// Fixed places of the machine that the application, npm and Homebrew searches use or that hold
// them.
const char *const kProtectedSystemFolders[] = {
    "/Applications",
    "/Library",
    "/Library/LaunchDaemons",
    "/opt",
    "/opt/homebrew",
    "/opt/homebrew/bin",
    "/opt/homebrew/Caches",
    "/opt/homebrew/Caskroom",
    "/opt/homebrew/Cellar",
    "/opt/homebrew/etc",
    "/opt/homebrew/lib",
    "/opt/homebrew/lib/node_modules",
    "/opt/homebrew/share",
    "/opt/homebrew/var",
    "/opt/homebrew/var/log",
    "/usr",
    "/usr/local",
    "/usr/local/bin",
    "/usr/local/lib",
    "/usr/local/lib/node_modules",
    "/usr/bin",
    "/usr/share",
    "/usr/local/share",
    "/home",
    "/home/linuxbrew",
    "/home/linuxbrew/.linuxbrew",
    "/var",
    "/var/lib",
    "/var/lib/flatpak",
    "/var/lib/flatpak/exports",
    "/var/lib/flatpak/exports/share",
    "/var/lib/flatpak/exports/share/applications",
    "/var/lib/snapd",
    "/var/lib/snapd/desktop",
    "/var/lib/snapd/desktop/applications",
};

// Folders below the XDG data and config homes that the desktop searches list.
const char *const kProtectedDataHomeFolders[] = {"Trash", "applications", "icons", "icons/hicolor"};
const char *const kProtectedConfigHomeFolders[] = {"autostart", "systemd", "systemd/user"};

void addWithAncestors(QStringList &list, const QString &path)
{
    QString current = QDir::cleanPath(path);
    while (!current.isEmpty()) {
        list.append(current);
        if (current == QLatin1String("/"))
            break;
        const qsizetype slash = current.lastIndexOf(QLatin1Char('/'));
        if (slash < 0)
            break;
        current = slash == 0 ? QStringLiteral("/") : current.left(slash);
    }
}

} // namespace

bool isSafeEntryName(const QString &name)
{
    if (name.trimmed().isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    return !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}

std::optional<QString> placeInside(const QString &folder, const QString &fixedPrefix,
                                   const QString &name)
{
    if (!isSafeEntryName(name) || folder.isEmpty())
        return std::nullopt;
    const QString relative = fixedPrefix + name;
    const QString lastComponent = relative.mid(relative.lastIndexOf(QLatin1Char('/')) + 1);
    if (!isSafeEntryName(lastComponent))
        return std::nullopt;
    QString base = folder;
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    return base + relative;
}

QStringList protectedFolders(const Places &places)
{
    QStringList list;
    addWithAncestors(list, places.home());
    addWithAncestors(list, places.root());
    for (const char *relative : kProtectedHomeFolders)
        list.append(QDir::cleanPath(places.inHome(QString::fromLatin1(relative))));
    for (const char *absolute : kProtectedSystemFolders)
        list.append(QDir::cleanPath(places.onSystem(QString::fromLatin1(absolute))));
    for (FileCategory category : allFileCategories()) {
        if (const auto location = defaultLocation(category, places))
            list.append(QDir::cleanPath(*location));
        else if (const auto folderName = libraryFolderName(category))
            list.append(QDir::cleanPath(places.inHome(QStringLiteral("Library/") + *folderName)));
    }
    for (const QString &xdgHome :
         {places.configHome(), places.cacheHome(), places.dataHome(), places.stateHome()})
        addWithAncestors(list, xdgHome);
    for (const char *relative : kProtectedDataHomeFolders)
        list.append(
            QDir::cleanPath(places.dataHome() + QLatin1Char('/') + QLatin1String(relative)));
    for (const char *relative : kProtectedConfigHomeFolders)
        list.append(
            QDir::cleanPath(places.configHome() + QLatin1Char('/') + QLatin1String(relative)));
    for (const QString &dataDir : places.dataDirs()) {
        addWithAncestors(list, dataDir);
        list.append(QDir::cleanPath(dataDir + QStringLiteral("/applications")));
    }
    list.removeDuplicates();
    return list;
}

bool isProtectedPlace(const QString &path, const QStringList &protectedFolders)
{
    if (path.isEmpty() || !path.startsWith(QLatin1Char('/')))
        return true;
    const QString cleaned = QDir::cleanPath(path);
    for (const QString &folder : protectedFolders) {
        if (cleaned.compare(folder, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

namespace {

// The path with every link resolved; nothing when it does not exist.
std::optional<QString> resolved(const QString &path)
{
    char *real = ::realpath(QFile::encodeName(path).constData(), nullptr);
    if (!real)
        return std::nullopt;
    const QString result = QFile::decodeName(real);
    ::free(real);
    return result;
}

bool isSameOrInside(const QString &path, const QString &folder)
{
    return path == folder || folder == QLatin1String("/") ||
           path.startsWith(folder + QLatin1Char('/'));
}

} // namespace

ProtectedPlaces::ProtectedPlaces(const Places &places)
    : m_folders(protectedFolders(places)), m_trashFolders(homeTrashFolders(places))
{
    m_realTrashFolders = m_trashFolders;
    for (const QString &folder : std::as_const(m_trashFolders)) {
        if (const std::optional<QString> real = resolved(folder))
            m_realTrashFolders.append(*real);
    }
    // Docker's searched data folder lies inside Docker's own container, which goes with Docker.
    const std::optional<QString> applicationData =
        defaultLocation(FileCategory::dockerData, places);
    const QString ownedByApplication =
        applicationData ? QDir::cleanPath(*applicationData) : QString();
    for (const QString &folder : std::as_const(m_folders)) {
        const std::optional<QString> real = resolved(folder);
        if (!real)
            continue;
        m_realFolders.append(*real);
        if (folder != ownedByApplication)
            m_heldFolders.append(*real);
    }
    m_realFolders.removeDuplicates();
    m_heldFolders.removeDuplicates();
}

bool ProtectedPlaces::contains(const QString &path) const
{
    if (isProtectedPlace(path, m_folders))
        return true;
    // Nothing in a Trash, by its text or by where it really is.
    const QString cleaned = QDir::cleanPath(path);
    if (liesInTrash(cleaned, m_trashFolders))
        return true;
    struct stat st;
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    if (S_ISLNK(st.st_mode)) {
        // A link moves as itself: only where its folder really is counts.
        const qsizetype slash = cleaned.lastIndexOf(QLatin1Char('/'));
        const std::optional<QString> folder =
            resolved(slash == 0 ? QStringLiteral("/") : cleaned.left(slash));
        return folder && liesInTrash(*folder + cleaned.mid(slash), m_realTrashFolders);
    }
    const std::optional<QString> real = resolved(path);
    if (!real)
        return false;
    if (liesInTrash(*real, m_realTrashFolders))
        return true;
    if (m_realFolders.contains(*real))
        return true;
    for (const QString &folder : m_heldFolders) {
        if (isSameOrInside(folder, *real))
            return true;
    }
    return false;
}

bool ProtectedEntries::contains(const QString &name) const
{
    return m_all || liesInTrash(name, {}) || m_names.contains(name.toLower());
}

ProtectedEntries ProtectedPlaces::entriesOf(const QString &folder) const
{
    ProtectedEntries entries;
    const QString cleaned = QDir::cleanPath(folder);
    const QString real = resolved(cleaned).value_or(cleaned);
    entries.m_all = isProtectedPlace(cleaned, {}) || liesInTrash(cleaned, m_trashFolders) ||
                    liesInTrash(real, m_realTrashFolders);
    // An entry of base is refused when it is a protected place or holds one.
    const auto addEntryHolding = [&entries](const QString &base, const QString &place) {
        const QString prefix = base == QLatin1String("/") ? base : base + QLatin1Char('/');
        if (place.size() > prefix.size() && place.startsWith(prefix, Qt::CaseInsensitive))
            entries.m_names.insert(
                place.mid(prefix.size()).section(QLatin1Char('/'), 0, 0).toLower());
    };
    for (const QString &place : m_folders + m_trashFolders)
        addEntryHolding(cleaned, place);
    for (const QString &place : m_realFolders + m_heldFolders + m_realTrashFolders)
        addEntryHolding(real, place);
    return entries;
}
