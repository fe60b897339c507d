#include "scanner/HomebrewSource.h"

#include "scanner/FoundFile.h"
#include "scanner/LeftoverFinder.h"
#include "scanner/NameGuard.h"
#include "scanner/SizeMeter.h"

#include <QCollator>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace {

// Inside the Homebrew prefix.
const QString kBrew = QStringLiteral("/bin/brew");
const QString kCellar = QStringLiteral("/Cellar");
const QString kCaskroom = QStringLiteral("/Caskroom");
const QString kUserDownloadCache = QStringLiteral("Library/Caches/Homebrew");
const QString kPrefixDownloadCache = QStringLiteral("/Caches");
const QString kEtc = QStringLiteral("/etc");
const QString kVar = QStringLiteral("/var");
const QString kVarLog = QStringLiteral("/var/log");
const QString kLaunchDaemons = QStringLiteral("/Library/LaunchDaemons");
const QString kShare = QStringLiteral("/share");
const QString kReceipt = QStringLiteral("INSTALL_RECEIPT.json");

// Receipts are small; a hostile giant one is not read.
constexpr qint64 kReceiptReadLimit = 4LL * 1024 * 1024;

QString lastComponent(const QString &path)
{
    return path.section(QLatin1Char('/'), -1);
}

// Version folders in plain string order of their paths (so "1.10" sorts before "1.9").
QStringList sortedByPath(QStringList entries)
{
    std::sort(entries.begin(), entries.end());
    return entries;
}

void appendToGroup(QList<FileGroup> &groups, FileCategory category,
                   const QList<AssociatedFile> &files)
{
    for (FileGroup &group : groups) {
        if (group.category == category) {
            group.files.append(files);
            return;
        }
    }
    groups.append(FileGroup(category, files));
}

} // namespace

QString HomebrewSource::prefix() const
{
    const QStringList prefixes = {
        m_machine.places().onSystem(QStringLiteral("/opt/homebrew")),
        m_machine.places().onSystem(QStringLiteral("/home/linuxbrew/.linuxbrew")),
        m_machine.places().inHome(QStringLiteral(".linuxbrew"))};
    for (const QString &prefix : prefixes) {
        if (m_machine.fileManager().fileExists(prefix + kBrew))
            return prefix;
    }
    for (const QString &prefix : prefixes) {
        if (m_machine.fileManager().fileExists(prefix))
            return prefix;
    }
    return prefixes.first();
}

bool HomebrewSource::isAvailable() const
{
    if (m_machine.fileManager().fileExists(prefix() + kBrew))
        return true;
    const std::optional<QString> located = ToolRunner(m_machine).locateTool(QStringLiteral("brew"));
    return located && !located->isEmpty();
}

QList<HomebrewPackage> HomebrewSource::list() const
{
    if (!isAvailable())
        return {};

    QList<HomebrewPackage> packages;

    const QString cellar = (prefix() + kCellar);
    if (m_machine.fileManager().fileExists(cellar)) {
        const QStringList formulae =
            m_machine.fileManager().contentsOfDirectory(cellar).value_or(QStringList());
        for (const QString &formula : formulae) {
            bool isDirectory = false;
            if (!m_machine.fileManager().fileExists(formula, &isDirectory) || !isDirectory)
                continue;
            if (!isInstalledOnRequest(formula))
                continue;
            std::optional<QString> version;
            if (const std::optional<QStringList> versions =
                    m_machine.fileManager().contentsOfDirectory(formula)) {
                for (const QString &candidate : sortedByPath(*versions)) {
                    bool candidateIsDirectory = false;
                    if (m_machine.fileManager().fileExists(candidate, &candidateIsDirectory) &&
                        candidateIsDirectory) {
                        version = lastComponent(candidate);
                        break;
                    }
                }
            }
            packages.append(HomebrewPackage(lastComponent(formula), HomebrewPackageType::formula,
                                            version, formula));
        }
    }

    const QString caskroom = (prefix() + kCaskroom);
    if (m_machine.fileManager().fileExists(caskroom)) {
        const QStringList casks =
            m_machine.fileManager().contentsOfDirectory(caskroom).value_or(QStringList());
        for (const QString &cask : casks) {
            bool isDirectory = false;
            if (!m_machine.fileManager().fileExists(cask, &isDirectory) || !isDirectory)
                continue;
            packages.append(HomebrewPackage(lastComponent(cask), HomebrewPackageType::cask,
                                            QStringLiteral("latest"), cask));
        }
    }

    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(packages.begin(), packages.end(),
                     [&collator](const HomebrewPackage &a, const HomebrewPackage &b) {
                         return collator.compare(a.name, b.name) < 0;
                     });
    return packages;
}

bool HomebrewSource::isInstalledOnRequest(const QString &formulaFolder) const
{
    const std::optional<QStringList> versions =
        m_machine.fileManager().contentsOfDirectory(formulaFolder);
    if (!versions)
        return true;
    for (const QString &version : sortedByPath(*versions)) {
        bool isDirectory = false;
        if (!m_machine.fileManager().fileExists(version, &isDirectory) || !isDirectory)
            continue;
        const QString receipt = version + QLatin1Char('/') + kReceipt;
        if (!m_machine.fileManager().fileExists(receipt))
            continue;
        const std::optional<QByteArray> bytes =
            m_machine.fileManager().readFile(receipt, kReceiptReadLimit);
        if (!bytes)
            continue;
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(*bytes, &error);
        if (error.error != QJsonParseError::NoError || !document.isObject())
            continue;
        const QJsonValue onRequest = document.object().value(QLatin1String("installed_on_request"));
        if (onRequest.isBool())
            return onRequest.toBool();
    }
    // Without a receipt that says otherwise the formula is shown: hiding a package the user
    // asked for is worse than listing a dependency.
    return true;
}

qint64 HomebrewSource::cacheSize() const
{
    qint64 total = 0;
    for (const QString &cache :
         {m_machine.places().inHome(kUserDownloadCache), (prefix() + kPrefixDownloadCache)}) {
        if (m_machine.fileManager().fileExists(cache))
            total += SizeMeter(m_machine).sizeOfDirectory(cache);
    }
    return total;
}

QList<FileGroup> HomebrewSource::findStoreFiles(const QString &packageName) const
{
    // An empty name is contained in every entry name: it must not offer whole stores.
    if (!isSafeEntryName(packageName))
        return {};
    const LeftoverFinder finder(m_machine);
    QList<FileGroup> groups;
    // The stores hold one folder per package, removed by brew itself: containment finds every
    // package of the name ("git" finds "libgit2"). The download caches go to the Trash, so the
    // name must stand as a word there.
    const auto search = [&](const QString &folder, FileCategory category, NameRule rule) {
        const QList<AssociatedFile> files =
            finder.findEntriesContaining(folder, packageName, category, std::nullopt, rule);
        if (!files.isEmpty())
            appendToGroup(groups, category, files);
    };
    search((prefix() + kCellar), FileCategory::homebrewCellar, NameRule::containment);
    search((prefix() + kCaskroom), FileCategory::homebrewCaskroom, NameRule::containment);
    // Both download caches share one group.
    search(m_machine.places().inHome(kUserDownloadCache), FileCategory::homebrewCache,
           NameRule::word);
    search((prefix() + kPrefixDownloadCache), FileCategory::homebrewCache, NameRule::word);
    return groups;
}

QList<FileGroup> HomebrewSource::findSupportFiles(const QString &packageName) const
{
    if (!isSafeEntryName(packageName))
        return {};
    const LeftoverFinder finder(m_machine);
    QList<FileGroup> groups = finder.findNamedLocations(packageName);

    const QList<AssociatedFile> config = finder.findEntriesContaining(
        (prefix() + kEtc), packageName, FileCategory::homebrewConfig, std::nullopt, NameRule::word);
    if (!config.isEmpty())
        groups.append(FileGroup(FileCategory::homebrewConfig, config));

    // var/log holds every formula's logs; it is searched on its own below, never offered whole.
    const QList<AssociatedFile> data =
        finder.findEntriesContaining((prefix() + kVar), packageName, FileCategory::homebrewVar,
                                     QStringLiteral("log"), NameRule::word);
    if (!data.isEmpty())
        groups.append(FileGroup(FileCategory::homebrewVar, data));

    const QList<AssociatedFile> logs = finder.findEntriesContaining(
        (prefix() + kVarLog), packageName, FileCategory::libraryLogs, std::nullopt, NameRule::word);
    if (!logs.isEmpty())
        appendToGroup(groups, FileCategory::libraryLogs, logs);

    const QList<AssociatedFile> daemons =
        finder.findEntriesContaining(m_machine.places().onSystem(kLaunchDaemons), packageName,
                                     FileCategory::launchDaemons, std::nullopt, NameRule::word);
    if (!daemons.isEmpty())
        groups.append(FileGroup(FileCategory::launchDaemons, daemons));

    const std::optional<QString> share = placeInside((prefix() + kShare), QString(), packageName);
    if (share && m_machine.fileManager().fileExists(*share) &&
        !ProtectedPlaces(m_machine.places()).contains(*share)) {
        groups.append(FileGroup(
            FileCategory::homebrewShare,
            {foundFile(m_machine.fileManager(), *share, packageName, FileCategory::homebrewShare,
                       SizeMeter(m_machine).sizeOfFoundItem(*share))}));
    }
    return groups;
}

UninstallResult HomebrewSource::uninstall(const PackageRef &package) const
{
    const QString brew = prefix() + QStringLiteral("/bin/brew");
    if (!m_machine.fileManager().fileExists(brew))
        return {
            false,
            QStringLiteral("brew not found at %1").arg(m_machine.places().systemRelative(brew))};
    if (const auto problem = unusablePackageName(package.name))
        return {false, problem};
    QStringList arguments{QStringLiteral("uninstall")};
    if (package.isCask)
        arguments.append(QStringLiteral("--cask"));
    arguments.append(package.name);
    const CommandResult command = ToolRunner(m_machine).runCommand(brew, arguments);
    return {command.status == 0, command.output};
}
