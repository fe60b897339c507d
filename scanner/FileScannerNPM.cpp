#include "scanner/FileScanner.h"

#include "scanner/DesktopApplicationPlaces.h"
#include "scanner/FoundFile.h"
#include "scanner/NameGuard.h"
#include "scanner/Process.h"

#include <QCollator>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace {

const QString kHomebrewNPM = QStringLiteral("/opt/homebrew/bin/npm");
const QString kLocalNPM = QStringLiteral("/usr/local/bin/npm");
const QString kHomebrewNodeModules = QStringLiteral("/opt/homebrew/lib/node_modules");
const QString kLocalNodeModules = QStringLiteral("/usr/local/lib/node_modules");
const QString kNPMCache = QStringLiteral(".npm");
const QString kSystemNPM = QStringLiteral("/usr/bin/npm");
const QString kUserPrefixNPM = QStringLiteral(".npm-global/bin/npm");

// npm's own tools live in the global folder too but are not packages the user installed.
const QStringList kIgnoredGlobalPackages = {QStringLiteral("npm"), QStringLiteral("corepack")};

// A manifest is a few kilobytes; a huge one is not worth reading for a version text.
constexpr qint64 kManifestReadLimit = 4LL * 1024 * 1024;

std::optional<QString> versionFromManifest(const std::optional<QByteArray> &bytes)
{
    if (!bytes)
        return std::nullopt;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(*bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonValue version = document.object().value(QLatin1String("version"));
    if (!version.isString())
        return std::nullopt;
    return version.toString();
}

} // namespace

bool FileScanner::isNPMAvailable() const
{
    for (const QString &npm : {m_places.onSystem(kHomebrewNPM), m_places.onSystem(kLocalNPM),
                               m_places.onSystem(kSystemNPM), m_places.inHome(kUserPrefixNPM)}) {
        if (m_fileManager.fileExists(npm))
            return true;
    }
    const std::optional<QString> located = locateTool(QStringLiteral("npm"));
    return located && !located->isEmpty();
}

std::optional<QString> FileScanner::npmExecutable() const
{
    for (const QString &npm : {m_places.onSystem(kHomebrewNPM), m_places.onSystem(kLocalNPM),
                               m_places.onSystem(kSystemNPM), m_places.inHome(kUserPrefixNPM)}) {
        if (m_fileManager.fileExists(npm))
            return npm;
    }
    // A version manager's npm, found on this program's own search path.
    const std::optional<QString> located = locateTool(QStringLiteral("npm"));
    if (!located || !located->startsWith(QLatin1Char('/')))
        return std::nullopt;
    return machinePath(m_places, *located);
}

QStringList FileScanner::npmEnvironment(const QString &npm) const
{
    QStringList environment = toolEnvironment();
    const QString folder = m_places.systemRelative(npm.section(QLatin1Char('/'), 0, -2));
    QString &path = environment.first(); // "PATH=..."
    if (!path.mid(5).split(QLatin1Char(':')).contains(folder))
        path.insert(5, npm.section(QLatin1Char('/'), 0, -2) + QLatin1Char(':'));
    return environment;
}

std::optional<QString> FileScanner::npmReportedRoot() const
{
    const std::optional<QString> npm = npmExecutable();
    // The Homebrew and /usr/local npm keep their packages in their own prefix's fixed folder.
    if (!npm || *npm == m_places.onSystem(kHomebrewNPM) || *npm == m_places.onSystem(kLocalNPM))
        return std::nullopt;
    Process process(*npm, {QStringLiteral("root"), QStringLiteral("-g")});
    process.setEnvironment(npmEnvironment(*npm));
    process.setCaptureStandardError(false);
    process.setTimeLimit(m_queryTimeLimitMs);
    const ProcessResult result = process.run();
    const std::optional<QString> output = result.text();
    if (result.status != 0 || result.timedOut || !output)
        return std::nullopt;
    const QString root = output->section(QLatin1Char('\n'), 0, 0).trimmed();
    if (!root.startsWith(QLatin1Char('/')))
        return std::nullopt;
    const QString place = machinePath(m_places, root);
    if (!m_fileManager.isDirectory(place))
        return std::nullopt;
    return place;
}

std::optional<QString> FileScanner::globalNodeModulesURL() const
{
    if (!isNPMAvailable())
        return std::nullopt;
    if (std::optional<QString> reported = npmReportedRoot())
        return reported;
    for (const QString &place : {kHomebrewNodeModules, kLocalNodeModules}) {
        const QString path = m_places.onSystem(place);
        if (m_fileManager.fileExists(path))
            return path;
    }
    return std::nullopt;
}

QList<NPMPackage> FileScanner::listNPMPackages() const
{
    std::optional<QString> root = npmReportedRoot();
    for (const QString &place : {kHomebrewNodeModules, kLocalNodeModules}) {
        if (root)
            break;
        const QString path = m_places.onSystem(place);
        if (m_fileManager.fileExists(path)) {
            root = path;
            break;
        }
    }
    if (!root) {
        const QString cache = m_places.inHome(kNPMCache);
        if (!m_fileManager.fileExists(cache))
            return {};
        root = cache;
    }

    const std::optional<QStringList> entries = m_fileManager.contentsOfDirectory(*root);
    if (!entries)
        return {};

    QList<NPMPackage> packages;
    for (const QString &entry : *entries) {
        const QString name = entry.section(QLatin1Char('/'), -1);
        if (name == QLatin1String("node_modules") || name.startsWith(QLatin1Char('.')) ||
            kIgnoredGlobalPackages.contains(name))
            continue;
        bool isDirectory = false;
        if (!m_fileManager.fileExists(entry, &isDirectory) || !isDirectory)
            continue;
        const std::optional<QByteArray> manifest =
            m_fileManager.readFile(entry + QStringLiteral("/package.json"), kManifestReadLimit);
        packages.append(NPMPackage(name, versionFromManifest(manifest), entry));
    }

    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(packages.begin(), packages.end(),
                     [&collator](const NPMPackage &a, const NPMPackage &b) {
                         return collator.compare(a.name, b.name) < 0;
                     });
    return packages;
}

qint64 FileScanner::npmCacheSize() const
{
    const QString cache = m_places.inHome(kNPMCache);
    if (!m_fileManager.fileExists(cache))
        return 0;
    return sizeOfDirectory(cache);
}

QList<FileGroup> FileScanner::findNPMGlobalFiles(const QString &packageName) const
{
    // An empty name is contained in every entry name; "." and ".." in far too many.
    if (!isSafeEntryName(packageName))
        return {};
    const std::optional<QString> root = globalNodeModulesURL();
    if (!root || !m_fileManager.fileExists(*root))
        return {};
    const QList<AssociatedFile> files = findEntriesContaining(
        *root, packageName, FileCategory::globalNodeModules, std::nullopt, NameRule::containment);
    if (files.isEmpty())
        return {};
    return {FileGroup(FileCategory::globalNodeModules, files)};
}

QList<FileGroup> FileScanner::findNPMNamedFiles(const QString &packageName) const
{
    if (!isSafeEntryName(packageName))
        return {};
    QList<FileGroup> groups = findNamedLocations(packageName);
    const std::optional<QString> cacheEntry =
        placeInside(m_places.inHome(kNPMCache), QString(), packageName);
    if (cacheEntry && m_fileManager.fileExists(*cacheEntry) &&
        !ProtectedPlaces(m_places).contains(*cacheEntry)) {
        groups.append(FileGroup(FileCategory::npmCache,
                                {foundFile(m_fileManager, *cacheEntry, packageName,
                                           FileCategory::npmCache, sizeOfFoundItem(*cacheEntry))}));
    }
    return groups;
}
