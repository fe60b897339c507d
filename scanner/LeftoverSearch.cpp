#include "scanner/LeftoverSearch.h"

#include "scanner/CategoryPlaces.h"
#include "scanner/FolderMatch.h"
#include "scanner/NamedLocations.h"
#include "scanner/SharedWords.h"
#include "scanner/SizeMeter.h"
#include "scanner/VendorTally.h"

#include <algorithm>
#include <map>

namespace {

// Drops the files that another installed item's terms describe better than the chosen item's:
// "Notes" is not offered what "Sticky Notes" left, though "Notes" begins a word of "StickyNotes".
void dropFilesOfOtherItems(QList<FileGroup> &groups, const ItemMatcher &chosen,
                           const std::vector<OtherItem> &others)
{
    if (others.empty())
        return;
    for (FileGroup &group : groups) {
        const EntryRule rule = group.category == FileCategory::preferences ? EntryRule::preferences
                                                                           : EntryRule::folder;
        QList<AssociatedFile> kept;
        for (AssociatedFile &file : group.files) {
            const QStringView subject = subjectOf(file.name, rule).value_or(file.name);
            const qsizetype own = chosen.score(subject);
            const qsizetype ownership = chosen.ownershipScore(subject);
            QStringList sharers;
            bool isOthers = false;
            for (const OtherItem &other : others) {
                const qsizetype theirs = other.matcher.ownershipScore(subject);
                isOthers = isOthers || theirs > own;
                // Just as much the other's, and its own search keeps it too.
                if (own > 0 && theirs == own && other.matcher.score(subject) >= ownership &&
                    !sharers.contains(other.name))
                    sharers.append(other.name);
            }
            if (isOthers)
                continue;
            file.alsoUsedBy = sharers.join(QStringLiteral(", "));
            kept.append(file);
        }
        group.files = kept;
    }
    groups.removeIf([](const FileGroup &group) { return group.files.isEmpty(); });
}

// The folder the category loop lists for category, if it has one.
std::optional<QString> categoryFolder(FileCategory category, const Places &places)
{
    if (const auto location = defaultLocation(category, places))
        return location;
    if (const auto folderName = libraryFolderName(category))
        return places.inHome(QStringLiteral("Library/") + *folderName);
    return std::nullopt;
}

} // namespace

ItemMatcher ownershipMatcher(const std::optional<QString> &bundleIdentifier, const QString &name,
                             const std::optional<QString> &bundlePath)
{
    const SearchTerms identifier = searchTermsFor(bundleIdentifier, {}, std::nullopt);
    const SearchTerms names = searchTermsFor(std::nullopt, name, bundlePath);
    return ItemMatcher(identifier.terms + names.terms, identifier.identifierParts,
                       identifier.wholeNames);
}

ItemMatcher ownershipMatcherFor(const AppInfo &app)
{
    if (!app.isDesktopEntry())
        return ownershipMatcher(app.bundleIdentifier, app.name, app.path);
    const SearchTerms terms = searchTermsFor(app);
    return ItemMatcher(terms.terms, terms.identifierParts, terms.wholeNames);
}

QList<FileGroup> searchLeftovers(const Machine &machine, const SearchTerms &terms,
                                 const QString &name, const ItemMatcher &owner,
                                 const std::vector<OtherItem> &others,
                                 const ProtectedPlaces &guarded, const ScanProgress &progress)
{
    const FileManager &fileManager = machine.fileManager();
    const Places &places = machine.places();
    SharedWords shared(guarded.folders(), places);
    const SearchTerms narrowed = shared.narrowed(terms, name);
    const ItemMatcher matcher = matcherFor(narrowed);
    // The words left that could still be a vendor's, judged by the names the folders hold.
    VendorTally tally(narrowed.identifierParts + narrowed.terms);

    // Every folder the categories search, in the order they first name it, with the categories
    // that share it (Caches and Logs serve several): each is listed once and matched in one pass.
    std::vector<std::pair<QString, std::vector<FolderUse>>> folders;
    const auto use = [&folders](const QString &folder, FolderUse folderUse) {
        const auto it = std::find_if(folders.begin(), folders.end(), [&folder](const auto &listed) {
            return listed.first == folder;
        });
        if (it == folders.end())
            folders.push_back({folder, {folderUse}});
        else
            it->second.push_back(folderUse);
    };
    for (FileCategory category : allFileCategories()) {
        if (category == FileCategory::appBundle)
            continue;
        if (category == FileCategory::homeDotFiles) {
            use(places.home(), {category, EntryRule::homeDot});
            continue;
        }
        const std::optional<QString> folder = categoryFolder(category, places);
        if (!folder || !fileManager.fileExists(*folder))
            continue;
        use(*folder, {category, entryRuleOf(category)});
    }

    const NameSieve sieve = sieveFor(matcher);
    std::map<FileCategory, QList<AssociatedFile>> found;
    for (const auto &[folder, uses] : folders) {
        if (progress)
            progress(folder);
        if (auto files = matchFolder(fileManager, folder, uses, matcher, sieve, guarded,
                                     tally.isEmpty() ? nullptr : &tally)) {
            for (size_t i = 0; i < uses.size(); ++i)
                found[uses[i].category] = std::move((*files)[i]);
        }
    }
    // A vendor told by the listing is no term either: what only it matched goes.
    if (const QStringList vendors = tally.vendors(); !vendors.isEmpty()) {
        shared.add(vendors);
        const ItemMatcher narrower = matcherFor(shared.narrowed(terms, name));
        for (auto &[category, files] : found) {
            files.removeIf([&, rule = entryRuleOf(category)](const AssociatedFile &file) {
                return narrower.score(subjectOf(file.name, rule).value_or(file.name)) == 0;
            });
        }
    }
    const QList<FileGroup> named = namedLocations(machine, name, guarded, shared.contains(name));
    QList<FileGroup> categoryGroups;
    for (FileCategory category : allFileCategories()) {
        const auto it = found.find(category);
        if (it != found.end() && !it->second.isEmpty())
            categoryGroups.append(FileGroup(category, it->second));
    }

    QList<FileGroup> groups = mergeFileGroups(named, categoryGroups);
    dropFilesOfOtherItems(groups, owner, others);
    return groups;
}

void measureFoundFiles(const Machine &machine, QList<AssociatedFile> &files,
                       const ScanProgress &progress)
{
    const SizeMeter sizes(machine);
    for (AssociatedFile &file : files) {
        if (!file.isRemovable() || machine.isCancelled())
            continue; // its path may name another item; or no one waits for the sizes
        if (progress)
            progress(file.path);
        file.size = sizes.sizeOfFoundItem(file.path);
    }
}

void measureFoundGroups(const Machine &machine, QList<FileGroup> &groups,
                        const ScanProgress &progress)
{
    for (FileGroup &group : groups)
        measureFoundFiles(machine, group.files, progress);
}

QList<FileGroup> mergeFileGroups(const QList<FileGroup> &named,
                                 const QList<FileGroup> &categoryGroups)
{
    QList<FileGroup> result = named;
    QSet<QString> seen;
    for (const FileGroup &group : named) {
        for (const AssociatedFile &file : group.files)
            seen.insert(file.path);
    }
    for (const FileGroup &group : categoryGroups) {
        // Two entries whose names read alike (bytes that are not UTF-8) can give one path twice
        // within a group too: one row per path.
        QList<AssociatedFile> taken;
        for (const AssociatedFile &file : group.files) {
            if (!seen.contains(file.path)) {
                seen.insert(file.path);
                taken.append(file);
            }
        }
        if (taken.isEmpty())
            continue;
        auto existing = std::find_if(result.begin(), result.end(), [&](const FileGroup &g) {
            return g.category == group.category;
        });
        if (existing != result.end())
            existing->files.append(taken);
        else
            result.append(FileGroup(group.category, taken));
    }
    return result;
}
