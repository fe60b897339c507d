#include "scanner/FormerProgramsFinder.h"

#include "scanner/CategoryPlaces.h"
#include "scanner/DirectoryWalker.h"
#include "scanner/FileScanner.h"
#include "scanner/LeftoverClaims.h"
#include "scanner/LeftoverEvidence.h"
#include "scanner/LeftoverExamination.h"
#include "scanner/LeftoverNames.h"
#include "scanner/LeftoverRowAssembly.h"
#include "scanner/NameGuard.h"
#include "scanner/SmallPool.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <numeric>
#include <thread>

namespace {

// The places whose entries are named after the programs that made them, in the order rows show
// their groups.
const FileCategory kSearchedCategories[] = {
    FileCategory::preferences,    FileCategory::applicationSupport,
    FileCategory::caches,         FileCategory::containers,
    FileCategory::libraryLogs,    FileCategory::savedApplicationState,
    FileCategory::launchAgents,   FileCategory::configDirectory,
    FileCategory::cacheDirectory, FileCategory::localShareDirectory,
    FileCategory::stateDirectory, FileCategory::flatpakData,
    FileCategory::snapData,       FileCategory::autostartEntries,
    FileCategory::userServices,   FileCategory::desktopEntries,
    FileCategory::homeDotFiles,
};

std::optional<QString> folderOf(FileCategory category, const Places &places)
{
    if (category == FileCategory::homeDotFiles)
        return places.home();
    if (category == FileCategory::launchAgents)
        return places.inHome(QStringLiteral("Library/LaunchAgents"));
    if (const auto location = defaultLocation(category, places))
        return location;
    if (const auto name = libraryFolderName(category))
        return places.inHome(QStringLiteral("Library/") + *name);
    return std::nullopt;
}

// One entry of a searched place, as where its name's bytes are in the listing's buffer.
struct ListedName
{
    qsizetype start;
    qsizetype size;
};

// One searched place's entries as listed, their names as the file system's bytes in one buffer.
struct PlaceListing
{
    FileCategory category;
    QString folder;
    ProtectedEntries guarded;
    QByteArray bytes;
    std::vector<ListedName> entries;
};

// An entry no installed name claims, before the applications' claims are known.
struct Candidate
{
    ListedLeftover entry;
    QString key;
    QByteArray bytes; // its name as the file system has it
};

std::vector<Candidate> sift(const PlaceListing &listing, const LeftoverClaims &claims)
{
    std::vector<Candidate> candidates;
    const QString prefix = listing.folder + QLatin1Char('/');
    // Names are decoded and keyed here, on the pool, not while the places are listed: the
    // listing competes with the reading of the installed applications.
    for (const ListedName &listed : listing.entries) {
        const QByteArrayView bytes(listing.bytes.constData() + listed.start, listed.size);
        const QString name = QFile::decodeName(bytes.toByteArray());
        QString key = leftoverKey(name);
        if (key.isEmpty() || claims.claims(name, bytes, key, listing.category) ||
            listing.guarded.contains(name))
            continue;
        candidates.push_back(
            {{prefix + name, name, listing.category}, std::move(key), bytes.toByteArray()});
    }
    return candidates;
}

// The row's evidence is what its first entry, in the order rows show their groups, points at
// that is gone: later entries are not read once one has told.
LeftoverRow makeRow(const FileScanner &scanner, const LeftoverClaims &claims, const QString &key,
                    const std::vector<const ExaminedLeftover *> &entries)
{
    LeftoverRow row;
    row.name = key;
    std::optional<QString> evidence;
    std::optional<qint64> changed;
    for (FileCategory category : kSearchedCategories) {
        QList<AssociatedFile> files;
        for (const ExaminedLeftover *entry : entries) {
            if (entry->file.category != category)
                continue;
            files.append(entry->file);
            const AssociatedFile &file = entry->file;
            if (!evidence)
                evidence = goneTarget(scanner, claims, file.path, file.name, file.category);
            if (entry->changed && (!changed || *entry->changed > *changed))
                changed = entry->changed;
        }
        if (!files.isEmpty()) {
            row.groups.append(FileGroup(category, files));
            row.size += row.groups.constLast().totalSize();
        }
    }
    if (changed)
        row.lastModified = QDateTime::fromSecsSinceEpoch(*changed);
    row.certainty = evidence ? LeftoverCertainty::certain : LeftoverCertainty::likely;
    row.reason = QCoreApplication::translate(
                     "FileScanner", "No installed application, package or program is named %1")
                     .arg(key);
    if (evidence)
        row.reason += QStringLiteral(". ") + *evidence;
    return row;
}

} // namespace

QList<LeftoverRow> FormerProgramsFinder::findLeftovers(const QStringList &kept,
                                                       const ScanProgress &progress,
                                                       const PartialLeftoverRows &partialRows) const
{
    const FileScanner scanner(m_machine);
    // The applications (their owning packages cost a query) and the other installed names (a
    // query of the package tool) are read on threads of their own while the places are listed
    // and their entries keyed; the entries are sifted by those names on a small pool, and what
    // is left sifted again once the applications' claims are known.
    QList<AppInfo> apps;
    std::thread appReader([&scanner, &apps] { apps = scanner.scanApplications(); });
    std::optional<LeftoverClaims> gathered;
    std::thread gatherer(
        [&scanner, &kept, &gathered] { gathered = LeftoverClaims::gather(scanner, kept); });
    const ProtectedPlaces guarded(m_machine.places());
    std::vector<PlaceListing> listings;
    QStringList listed;
    for (FileCategory category : kSearchedCategories) {
        const std::optional<QString> folder = folderOf(category, m_machine.places());
        if (!folder || listed.contains(*folder) || m_machine.isCancelled())
            continue;
        listed.append(*folder);
        if (progress)
            progress(*folder);
        PlaceListing listing{category, *folder, guarded.entriesOf(*folder), {}, {}};
        const bool dotsOnly = category == FileCategory::homeDotFiles;
        const bool complete =
            m_machine.fileManager().forEachEntry(*folder, [&](QByteArrayView bytes) {
                if (dotsOnly && !bytes.startsWith('.'))
                    return;
                listing.entries.push_back({listing.bytes.size(), bytes.size()});
                listing.bytes.append(bytes.data(), bytes.size());
            });
        // A listing that failed part way is dropped: what it gave may be incomplete.
        if (complete)
            listings.push_back(std::move(listing));
    }
    gatherer.join();
    LeftoverClaims &claims = *gathered;
    std::vector<std::vector<Candidate>> sifted(listings.size());
    forEachOnSmallPool(listings.size(), 2,
                       [&](size_t i, bool) { sifted[i] = sift(listings[i], claims); });
    appReader.join();
    claims.addApplications(scanner, apps);
    std::vector<ListedLeftover> unclaimed;
    std::vector<QString> keys;
    for (std::vector<Candidate> &candidates : sifted) {
        for (Candidate &candidate : candidates) {
            const ListedLeftover &entry = candidate.entry;
            if (claims.claims(entry.name, candidate.bytes, candidate.key, entry.category))
                continue;
            unclaimed.push_back(std::move(candidate.entry));
            keys.push_back(std::move(candidate.key));
        }
    }

    // Each folder is walked by one thread of the examining pool: the standard walk's helpers
    // would only compete with it. During a System Data scan its ledger keeps what is measured.
    const FolderMeasure measureFolder = [&scanner](const QString &folder) {
        if (scanner.machine().ledger())
            return scanner.sizeOfDirectory(folder);
        DirectoryWalker walker(1);
        walker.setCancellationFlag(scanner.machine().cancellationFlag());
        return walker.totalSize(folder);
    };
    // Entries of one key next to each other (in listing order within it, the order of their
    // groups): the pool finishes rows one after another, and each is made as its last entry is
    // in.
    std::vector<size_t> order(unclaimed.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(),
                     [&keys](size_t a, size_t b) { return keys[a] < keys[b]; });
    std::vector<ListedLeftover> entries;
    std::vector<QString> entryKeys;
    entries.reserve(order.size());
    entryKeys.reserve(order.size());
    for (size_t i : order) {
        entries.push_back(std::move(unclaimed[i]));
        entryKeys.push_back(std::move(keys[i]));
    }
    LeftoverRowAssembly assembly(
        entryKeys,
        [&scanner, &claims](const QString &key,
                            const std::vector<const ExaminedLeftover *> &found) {
            return makeRow(scanner, claims, key, found);
        },
        partialRows);
    examineLeftovers(scanner, entries, measureFolder, progress,
                     [&assembly](size_t i, ExaminedLeftover &&examined) {
                         assembly.add(i, std::move(examined));
                     });
    if (m_machine.isCancelled())
        return {};
    return assembly.rows();
}
