// The leftovers of programs that are gone: every entry of the searched places that nothing
// installed, the desktop or the user claims, joined by name into one row per former program.

#include "scanner/FileScanner.h"

#include "scanner/CategoryPlaces.h"
#include "scanner/FoundFile.h"
#include "scanner/LeftoverClaims.h"
#include "scanner/LeftoverEvidence.h"
#include "scanner/LeftoverNames.h"
#include "scanner/NameGuard.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <map>
#include <sys/stat.h>

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

// One unclaimed entry, found and judged.
struct Entry
{
    AssociatedFile file;
    std::optional<QString> gone; // what it points at that no longer exists
};

// What moving the entry to the Trash frees, as sizeOfFoundItem measures it, told by the type it
// had when found: a folder's contents, else the item's own length (a link's, not its target's).
qint64 sizeOfEntry(const FileScanner &scanner, const AssociatedFile &file)
{
    if (file.identity.type == S_IFDIR)
        return scanner.sizeOfDirectory(file.path);
    return scanner.sizeOfFile(file.path);
}

LeftoverRow makeRow(const FileScanner &scanner, const QString &key, std::vector<Entry> &entries,
                    const ScanProgress &progress)
{
    LeftoverRow row;
    row.name = key;
    std::optional<QString> evidence;
    for (FileCategory category : kSearchedCategories) {
        QList<AssociatedFile> files;
        for (Entry &entry : entries) {
            if (entry.file.category != category)
                continue;
            files.append(entry.file);
            if (!evidence)
                evidence = entry.gone;
        }
        if (!files.isEmpty())
            row.groups.append(FileGroup(category, files));
    }
    for (FileGroup &group : row.groups) {
        for (AssociatedFile &file : group.files) {
            if (progress)
                progress(file.path);
            if (file.isRemovable() && !scanner.isCancelled())
                file.size = sizeOfEntry(scanner, file);
        }
        row.size += group.totalSize();
        for (const AssociatedFile &file : std::as_const(group.files)) {
            const auto changed = scanner.fileManager().modificationDate(file.path);
            if (changed && (!row.lastModified.isValid() || *changed > row.lastModified))
                row.lastModified = *changed;
        }
    }
    row.certainty = evidence ? LeftoverCertainty::certain : LeftoverCertainty::likely;
    row.reason = QCoreApplication::translate(
                     "FileScanner", "No installed application, package or program is named %1")
                     .arg(key);
    if (evidence)
        row.reason += QStringLiteral(". ") + *evidence;
    return row;
}

} // namespace

QList<LeftoverRow> FileScanner::findLeftovers(const QStringList &kept,
                                              const ScanProgress &progress) const
{
    const ProtectedPlaces guarded(places());
    const LeftoverClaims claims = LeftoverClaims::gather(*this, scanApplications(), kept);

    // Rows by key, in key order so the result does not hang on the listing order.
    std::map<QString, std::vector<Entry>> rows;
    QStringList listed;
    for (FileCategory category : kSearchedCategories) {
        const std::optional<QString> folder = folderOf(category, places());
        if (!folder || listed.contains(*folder) || isCancelled())
            continue;
        listed.append(*folder);
        if (progress)
            progress(*folder);
        const QString prefix = *folder + QLatin1Char('/');
        const ProtectedEntries guardedEntries = guarded.entriesOf(*folder);
        const bool dotsOnly = category == FileCategory::homeDotFiles;
        std::vector<std::pair<QString, Entry>> found;
        const bool complete = fileManager().forEachEntry(*folder, [&](QByteArrayView bytes) {
            if (dotsOnly && !bytes.startsWith('.'))
                return;
            const QString name =
                QFile::decodeName(QByteArray::fromRawData(bytes.data(), bytes.size()));
            const QString key = leftoverKey(name);
            if (key.isEmpty() || claims.claims(name, bytes, key, category))
                return;
            if (guardedEntries.contains(name))
                return;
            const QString path = prefix + name;
            found.push_back({key, {foundFile(fileManager(), path, name, category), std::nullopt}});
        });
        // A listing that failed part way is dropped: what it gave may be incomplete.
        if (!complete)
            continue;
        for (auto &[key, entry] : found)
            rows[key].push_back(std::move(entry));
    }

    QList<LeftoverRow> result;
    for (auto &[key, entries] : rows) {
        if (isCancelled())
            break;
        for (Entry &entry : entries)
            entry.gone =
                goneTarget(*this, claims, entry.file.path, entry.file.name, entry.file.category);
        result.append(makeRow(*this, key, entries, progress));
    }
    std::stable_sort(result.begin(), result.end(), [](const LeftoverRow &a, const LeftoverRow &b) {
        if (a.certainty != b.certainty)
            return a.certainty == LeftoverCertainty::certain;
        return a.size > b.size;
    });
    return result;
}
