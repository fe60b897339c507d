#include "scanner/NPMSource.h"

#include "scanner/DesktopApplicationPlaces.h"
#include "scanner/FoundFile.h"
#include "scanner/LeftoverFinder.h"
#include "scanner/NameGuard.h"
#include "scanner/Process.h"
#include "scanner/SizeMeter.h"

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

// Where executable() looks, for the message when it finds nothing.
const QString kNPMPlaces = QStringLiteral("/opt/homebrew/bin/npm, /usr/local/bin/npm, /usr/bin/npm "
                                          "or ~/.npm-global/bin/npm, nor on the search path");

} // namespace

bool NPMSource::isAvailable() const
{
    for (const QString &npm :
         {m_machine.places().onSystem(kHomebrewNPM), m_machine.places().onSystem(kLocalNPM),
          m_machine.places().onSystem(kSystemNPM), m_machine.places().inHome(kUserPrefixNPM)}) {
        if (m_machine.fileManager().fileExists(npm))
            return true;
    }
    const std::optional<QString> located = ToolRunner(m_machine).locateTool(QStringLiteral("npm"));
    return located && !located->isEmpty();
}

std::optional<QString> NPMSource::executable() const
{
    for (const QString &npm :
         {m_machine.places().onSystem(kHomebrewNPM), m_machine.places().onSystem(kLocalNPM),
          m_machine.places().onSystem(kSystemNPM), m_machine.places().inHome(kUserPrefixNPM)}) {
        if (m_machine.fileManager().fileExists(npm))
            return npm;
    }
    // A version manager's npm, found on this program's own search path.
    const std::optional<QString> located = ToolRunner(m_machine).locateTool(QStringLiteral("npm"));
    if (!located || !located->startsWith(QLatin1Char('/')))
        return std::nullopt;
    return machinePath(m_machine.places(), *located);
}

QStringList NPMSource::environment(const QString &npm) const
{
    QStringList environment = ToolRunner(m_machine).toolEnvironment();
    const QString folder = m_machine.places().systemRelative(npm.section(QLatin1Char('/'), 0, -2));
    QString &path = environment.first(); // "PATH=..."
    if (!path.mid(5).split(QLatin1Char(':')).contains(folder))
        path.insert(5, npm.section(QLatin1Char('/'), 0, -2) + QLatin1Char(':'));
    return environment;
}

std::optional<QString> NPMSource::reportedRoot() const
{
    const std::optional<QString> npm = executable();
    // The Homebrew and /usr/local npm keep their packages in their own prefix's fixed folder.
    if (!npm || *npm == m_machine.places().onSystem(kHomebrewNPM) ||
        *npm == m_machine.places().onSystem(kLocalNPM))
        return std::nullopt;
    Process process(*npm, {QStringLiteral("root"), QStringLiteral("-g")});
    process.setEnvironment(environment(*npm));
    process.setCaptureStandardError(false);
    process.setTimeLimit(m_machine.queryTimeLimit());
    const ProcessResult result = process.run();
    const std::optional<QString> output = result.text();
    if (result.status != 0 || result.timedOut || !output)
        return std::nullopt;
    const QString root = output->section(QLatin1Char('\n'), 0, 0).trimmed();
    if (!root.startsWith(QLatin1Char('/')))
        return std::nullopt;
    const QString place = machinePath(m_machine.places(), root);
    if (!m_machine.fileManager().isDirectory(place))
        return std::nullopt;
    return place;
}

std::optional<QString> NPMSource::globalNodeModules() const
{
    if (!isAvailable())
        return std::nullopt;
    if (std::optional<QString> reported = reportedRoot())
        return reported;
    for (const QString &place : {kHomebrewNodeModules, kLocalNodeModules}) {
        const QString path = m_machine.places().onSystem(place);
        if (m_machine.fileManager().fileExists(path))
            return path;
    }
    return std::nullopt;
}

QList<NPMPackage> NPMSource::list() const
{
    std::optional<QString> root = reportedRoot();
    for (const QString &place : {kHomebrewNodeModules, kLocalNodeModules}) {
        if (root)
            break;
        const QString path = m_machine.places().onSystem(place);
        if (m_machine.fileManager().fileExists(path)) {
            root = path;
            break;
        }
    }
    if (!root) {
        const QString cache = m_machine.places().inHome(kNPMCache);
        if (!m_machine.fileManager().fileExists(cache))
            return {};
        root = cache;
    }

    const std::optional<QStringList> entries = m_machine.fileManager().contentsOfDirectory(*root);
    if (!entries)
        return {};

    QList<NPMPackage> packages;
    for (const QString &entry : *entries) {
        const QString name = entry.section(QLatin1Char('/'), -1);
        if (name == QLatin1String("node_modules") || name.startsWith(QLatin1Char('.')) ||
            kIgnoredGlobalPackages.contains(name))
            continue;
        bool isDirectory = false;
        if (!m_machine.fileManager().fileExists(entry, &isDirectory) || !isDirectory)
            continue;
        const std::optional<QByteArray> manifest = m_machine.fileManager().readFile(
            entry + QStringLiteral("/package.json"), kManifestReadLimit);
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

qint64 NPMSource::cacheSize() const
{
    const QString cache = m_machine.places().inHome(kNPMCache);
    if (!m_machine.fileManager().fileExists(cache))
        return 0;
    return SizeMeter(m_machine).sizeOfDirectory(cache);
}

QList<FileGroup> NPMSource::findGlobalFiles(const QString &packageName) const
{
    // An empty name is contained in every entry name; "." and ".." in far too many.
    if (!isSafeEntryName(packageName))
        return {};
    const std::optional<QString> root = globalNodeModules();
    if (!root || !m_machine.fileManager().fileExists(*root))
        return {};
    const QList<AssociatedFile> files = LeftoverFinder(m_machine).findEntriesContaining(
        *root, packageName, FileCategory::globalNodeModules, std::nullopt, NameRule::containment);
    if (files.isEmpty())
        return {};
    return {FileGroup(FileCategory::globalNodeModules, files)};
}

QList<FileGroup> NPMSource::findNamedFiles(const QString &packageName) const
{
    if (!isSafeEntryName(packageName))
        return {};
    QList<FileGroup> groups = LeftoverFinder(m_machine).findNamedLocations(packageName);
    const std::optional<QString> cacheEntry =
        placeInside(m_machine.places().inHome(kNPMCache), QString(), packageName);
    if (cacheEntry && m_machine.fileManager().fileExists(*cacheEntry) &&
        !ProtectedPlaces(m_machine.places()).contains(*cacheEntry)) {
        groups.append(FileGroup(
            FileCategory::npmCache,
            {foundFile(m_machine.fileManager(), *cacheEntry, packageName, FileCategory::npmCache,
                       SizeMeter(m_machine).sizeOfFoundItem(*cacheEntry))}));
    }
    return groups;
}

UninstallResult NPMSource::uninstall(const PackageRef &package) const
{
    // The npm that listed the package, so that it removes it from the folder it was listed in.
    const std::optional<QString> npm = executable();
    if (!npm || !m_machine.fileManager().fileExists(*npm)) {
        return {false, QStringLiteral("npm not found at %1")
                           .arg(npm ? m_machine.places().systemRelative(*npm) : kNPMPlaces)};
    }
    if (const auto problem = unusablePackageName(package.name))
        return {false, problem};
    Process process(*npm, {QStringLiteral("uninstall"), QStringLiteral("-g"), package.name});
    process.setEnvironment(environment(*npm));
    const ProcessResult run = process.run();
    return {run.started && run.status == 0, run.text()};
}
