#include "scanner/FileScanner.h"

#include "scanner/FoundFile.h"
#include "scanner/NameGuard.h"

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
    if (m_fileManager.fileExists(m_places.onSystem(kHomebrewNPM)))
        return true;
    if (m_fileManager.fileExists(m_places.onSystem(kLocalNPM)))
        return true;
    const std::optional<QString> located = locateTool(QStringLiteral("npm"));
    return located && !located->isEmpty();
}

std::optional<QString> FileScanner::globalNodeModulesURL() const
{
    if (!isNPMAvailable())
        return std::nullopt;
    for (const QString &place : {kHomebrewNodeModules, kLocalNodeModules}) {
        const QString path = m_places.onSystem(place);
        if (m_fileManager.fileExists(path))
            return path;
    }
    return std::nullopt;
}

QList<NPMPackage> FileScanner::listNPMPackages() const
{
    std::optional<QString> root;
    for (const QString &place : {kHomebrewNodeModules, kLocalNodeModules}) {
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
    if (cacheEntry && m_fileManager.fileExists(*cacheEntry)) {
        groups.append(FileGroup(FileCategory::npmCache,
                                {foundFile(m_fileManager, *cacheEntry, packageName,
                                           FileCategory::npmCache, sizeOfFoundItem(*cacheEntry))}));
    }
    return groups;
}
