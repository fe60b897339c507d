// The leftover search: what an installed application keeps on disk outside its bundle.
//
// Character counts (the 3-character minimum of an identifier word, the term lengths of the
// matcher, the 6-character ".plist" suffix) are QString lengths in UTF-16 code units.
// They equal user-perceived characters for ASCII and most Latin, Greek and Cyrillic names; a name
// with combining marks or characters outside the Basic Multilingual Plane counts longer.

#include "scanner/FileScanner.h"

#include "scanner/CategoryPlaces.h"
#include "scanner/FoundFile.h"
#include "scanner/LeftoverSearch.h"
#include "scanner/NameGuard.h"
#include "scanner/NameSieve.h"
#include "scanner/SharedWords.h"
#include "scanner/TermMatcher.h"
#include "scanner/VendorTally.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <map>
#include <vector>

namespace {

// Words of a bundle identifier too common to tell one application from another.
const QSet<QString> &ignoredIdentifierWords()
{
    static const QSet<QString> words = {
        QStringLiteral("com"),    QStringLiteral("org"), QStringLiteral("net"),
        QStringLiteral("io"),     QStringLiteral("app"), QStringLiteral("co"),
        QStringLiteral("github"), QStringLiteral("me"),  QStringLiteral("uk"),
        QStringLiteral("de"),     QStringLiteral("fr"),  QStringLiteral("ai"),
        QStringLiteral("xyz"),
    };
    return words;
}

constexpr qsizetype kMinimumIdentifierWordLength = 3;
// A bundle identifier with fewer components ("com", "com.apple") names a vendor at most: it is
// matched only as a whole name, never as a term found inside other names.
constexpr qsizetype kIdentifierTermComponents = 3;
const QLatin1String kPreferenceSuffix(".plist");

// A term made only of dots, dashes or spaces (an application named ".") would match nearly
// every entry of every folder; such a string names nothing.
bool canIdentify(const QString &term)
{
    return std::any_of(term.begin(), term.end(), [](QChar c) { return c.isLetterOrNumber(); });
}

QString lastPathComponent(const QString &path)
{
    qsizetype end = path.size();
    while (end > 1 && path.at(end - 1) == QLatin1Char('/'))
        --end;
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'), end - 1);
    return path.mid(slash + 1, end - slash - 1);
}

QString withoutExtension(const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? fileName.left(dot) : fileName;
}

ItemMatcher matcherFor(const SearchTerms &terms)
{
    return ItemMatcher(terms.terms, terms.identifierParts, terms.wholeNames, terms.sharedParts);
}

// Rules out, before decoding, the names the matcher cannot score.
NameSieve sieveFor(const ItemMatcher &matcher)
{
    return NameSieve(matcher.termTexts(), matcher.partTexts(), ItemMatcher::kIdentifierPartQuorum);
}

// What tells whose a file is: the item's identifier, parts and names, each kept even where the
// search drops a name as a duplicate of an identifier word ("RStudio" in "org.rstudio.RStudio").
} // namespace

ItemMatcher ownershipMatcher(const FileScanner &scanner,
                             const std::optional<QString> &bundleIdentifier, const QString &name,
                             const std::optional<QString> &bundlePath)
{
    const SearchTerms identifier = scanner.buildSearchTerms(bundleIdentifier, {}, std::nullopt);
    const SearchTerms names = scanner.buildSearchTerms(std::nullopt, name, bundlePath);
    return ItemMatcher(identifier.terms + names.terms, identifier.identifierParts,
                       identifier.wholeNames);
}

namespace {

enum class Rule
{
    folder,
    preferences,
    homeDot
};

Rule ruleOf(FileCategory category)
{
    if (category == FileCategory::preferences)
        return Rule::preferences;
    return category == FileCategory::homeDotFiles ? Rule::homeDot : Rule::folder;
}

// The part of an entry's name the rule matches, or nothing when the rule does not take the entry:
// a preference file's name without ".plist", a home entry's name only when it begins with a dot.
std::optional<QStringView> subjectOf(QStringView name, Rule rule)
{
    switch (rule) {
    case Rule::folder:
        return name;
    case Rule::preferences:
        if (!name.endsWith(kPreferenceSuffix, Qt::CaseSensitive))
            return std::nullopt;
        return name.chopped(kPreferenceSuffix.size());
    case Rule::homeDot:
        if (!name.startsWith(QLatin1Char('.')))
            return std::nullopt;
        return name;
    }
    return std::nullopt;
}

// An entry's name as the file system gives it, read as a path component is: bytes that are not
// UTF-8 become U+FFFD, and the found item is then offered as unremovable (see foundFile).
QString decodedName(QByteArrayView bytes)
{
    return QFile::decodeName(QByteArray::fromRawData(bytes.data(), bytes.size()));
}

// One category's use of a listed folder: the rule its entries are matched by.
struct FolderUse
{
    FileCategory category;
    Rule rule;
};

// Lists folder once and finds, for each use, the entries its rule takes and the matcher scores,
// not yet measured: one list per use, in listing order. Only names the sieve lets through are
// decoded; every name is counted by tally, when given. Nothing when the folder cannot be listed.
std::optional<std::vector<QList<AssociatedFile>>>
matchFolder(const FileManager &fileManager, const QString &folder,
            const std::vector<FolderUse> &uses, const ItemMatcher &matcher, const NameSieve &sieve,
            const ProtectedPlaces &guarded, VendorTally *tally = nullptr)
{
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    std::vector<QList<AssociatedFile>> found(uses.size());
    const bool listed = fileManager.forEachEntry(folder, [&](QByteArrayView bytes) {
        if (tally)
            tally->count(bytes);
        if (!sieve.mayHold(bytes))
            return;
        const QString name = decodedName(bytes);
        const QString path = prefix + name;
        for (size_t i = 0; i < uses.size(); ++i) {
            const std::optional<QStringView> subject = subjectOf(name, uses[i].rule);
            if (subject && matcher.score(*subject) > 0 && !guarded.contains(path))
                found[i].append(foundFile(fileManager, path, name, uses[i].category));
        }
    });
    if (!listed)
        return std::nullopt;
    return found;
}

// Whether entryName holds name under the given rule.
bool holdsName(QStringView entryName, const QString &name, const TermMatcher &asWord, NameRule rule)
{
    if (rule == NameRule::containment)
        return entryName.contains(name, Qt::CaseInsensitive);
    return asWord.matches(entryName);
}

// Entries of folder whose names hold name, not yet measured.
QList<AssociatedFile> entriesContaining(const FileManager &fileManager, const QString &folder,
                                        const QString &name, FileCategory category,
                                        const std::optional<QString> &excludedName, NameRule rule,
                                        const ProtectedPlaces &guarded)
{
    // An empty or path-like name would match every entry or none sensibly.
    if (!isSafeEntryName(name) || !fileManager.fileExists(folder))
        return {};
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    const TermMatcher asWord(name);
    const NameSieve sieve({name});
    QList<AssociatedFile> files;
    const bool listed = fileManager.forEachEntry(folder, [&](QByteArrayView bytes) {
        if (!sieve.mayHold(bytes))
            return;
        const QString entryName = decodedName(bytes);
        if (excludedName && entryName.compare(*excludedName, Qt::CaseInsensitive) == 0)
            return;
        const QString path = prefix + entryName;
        if (holdsName(entryName, name, asWord, rule) && !guarded.contains(path))
            files.append(foundFile(fileManager, path, entryName, category));
    });
    return listed ? files : QList<AssociatedFile>();
}

// Drops the files that another installed item's terms describe better than the chosen item's:
// "Notes" is not offered what "Sticky Notes" left, though "Notes" begins a word of "StickyNotes".
void dropFilesOfOtherItems(QList<FileGroup> &groups, const ItemMatcher &chosen,
                           const std::vector<OtherItem> &others)
{
    if (others.empty())
        return;
    for (FileGroup &group : groups) {
        const Rule rule =
            group.category == FileCategory::preferences ? Rule::preferences : Rule::folder;
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

struct NamedPlace
{
    enum Base
    {
        home,
        configHome,
        cacheHome,
        dataHome,
    };
    Base base;
    const char *folder;      // relative to base
    const char *fixedPrefix; // put before the name
    bool dotName;            // the file is named "." + name
    FileCategory category;
};

const NamedPlace kNamedPlaces[] = {
    {NamedPlace::home, "", ".", true, FileCategory::homeDotFiles},
    {NamedPlace::configHome, "", "", false, FileCategory::configDirectory},
    {NamedPlace::cacheHome, "", "", false, FileCategory::cacheDirectory},
    {NamedPlace::dataHome, "", "", false, FileCategory::localShareDirectory},
    {NamedPlace::home, "Library", "Application Support/", false, FileCategory::applicationSupport},
    {NamedPlace::home, "Library", "Caches/", false, FileCategory::caches},
    {NamedPlace::home, "Library", "Logs/", false, FileCategory::libraryLogs},
};

QString baseFolder(const Places &places, NamedPlace::Base base)
{
    switch (base) {
    case NamedPlace::home:
        return places.home();
    case NamedPlace::configHome:
        return places.configHome();
    case NamedPlace::cacheHome:
        return places.cacheHome();
    case NamedPlace::dataHome:
        return places.dataHome();
    }
    return places.home();
}

// The places named after name, in step order, not yet measured. A name many programs share
// (see SharedWords) finds only launch agents named exactly so.
QList<FileGroup> namedLocations(const FileScanner &scanner, const QString &name,
                                const ProtectedPlaces &guarded, bool isSharedName = false)
{
    QList<FileGroup> groups;
    if (!isSafeEntryName(name))
        return groups;
    const Places &places = scanner.places();
    for (const NamedPlace &place : kNamedPlaces) {
        const QString prefix = QString::fromLatin1(place.fixedPrefix);
        QString folder = baseFolder(places, place.base);
        if (*place.folder)
            folder += QLatin1Char('/') + QString::fromLatin1(place.folder);
        const std::optional<QString> path = placeInside(folder, prefix, name);
        if (!path || guarded.contains(*path) || !scanner.fileManager().fileExists(*path))
            continue;
        const QString fileName = place.dotName ? prefix + name : name;
        groups.append(FileGroup(
            place.category, {foundFile(scanner.fileManager(), *path, fileName, place.category)}));
    }
    QList<AssociatedFile> agents = entriesContaining(
        scanner.fileManager(), places.inHome(QStringLiteral("Library/LaunchAgents")), name,
        FileCategory::launchAgents, std::nullopt, NameRule::word, guarded);
    if (isSharedName)
        agents.removeIf([&](const AssociatedFile &file) { return !isWholeName(file.name, name); });
    if (!agents.isEmpty())
        groups.append(FileGroup(FileCategory::launchAgents, agents));
    return groups;
}

void measure(const FileScanner &scanner, QList<AssociatedFile> &files, const ScanProgress &progress)
{
    for (AssociatedFile &file : files) {
        if (!file.isRemovable() || scanner.isCancelled())
            continue; // its path may name another item; or no one waits for the sizes
        if (progress)
            progress(file.path);
        file.size = scanner.sizeOfFoundItem(file.path);
    }
}

} // namespace

void measureFoundGroups(const FileScanner &scanner, QList<FileGroup> &groups,
                        const ScanProgress &progress)
{
    for (FileGroup &group : groups)
        measure(scanner, group.files, progress);
}

namespace {

// The folder the category loop lists for category, if it has one.
std::optional<QString> categoryFolder(FileCategory category, const Places &places)
{
    if (const auto location = defaultLocation(category, places))
        return location;
    if (const auto folderName = libraryFolderName(category))
        return places.inHome(QStringLiteral("Library/") + *folderName);
    return std::nullopt;
}

// The entries of one folder under one rule, measured.
QList<AssociatedFile> scanFolder(const FileScanner &scanner, const QString &folder,
                                 const SearchTerms &terms, FileCategory category, Rule rule)
{
    const ItemMatcher matcher = matcherFor(terms);
    auto found = matchFolder(scanner.fileManager(), folder, {{category, rule}}, matcher,
                             sieveFor(matcher), ProtectedPlaces(scanner.places()));
    if (!found)
        return {};
    measure(scanner, found->front(), {});
    return found->front();
}

} // namespace

ItemMatcher ownershipMatcherFor(const FileScanner &scanner, const AppInfo &app)
{
    if (!app.isDesktopEntry())
        return ownershipMatcher(scanner, app.bundleIdentifier, app.name, app.path);
    const SearchTerms terms = scanner.buildSearchTerms(app);
    return ItemMatcher(terms.terms, terms.identifierParts, terms.wholeNames);
}

QList<FileGroup> searchLeftovers(const FileScanner &scanner, const SearchTerms &terms,
                                 const QString &name, const ItemMatcher &owner,
                                 const std::vector<OtherItem> &others,
                                 const ProtectedPlaces &guarded, const ScanProgress &progress)
{
    const FileManager &fileManager = scanner.fileManager();
    const Places &places = scanner.places();
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
            use(places.home(), {category, Rule::homeDot});
            continue;
        }
        const std::optional<QString> folder = categoryFolder(category, places);
        if (!folder || !fileManager.fileExists(*folder))
            continue;
        use(*folder, {category, ruleOf(category)});
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
            files.removeIf([&, rule = ruleOf(category)](const AssociatedFile &file) {
                return narrower.score(subjectOf(file.name, rule).value_or(file.name)) == 0;
            });
        }
    }
    const QList<FileGroup> named = namedLocations(scanner, name, guarded, shared.contains(name));
    QList<FileGroup> categoryGroups;
    for (FileCategory category : allFileCategories()) {
        const auto it = found.find(category);
        if (it != found.end() && !it->second.isEmpty())
            categoryGroups.append(FileGroup(category, it->second));
    }

    QList<FileGroup> groups = FileScanner::mergeFileGroups(named, categoryGroups);
    dropFilesOfOtherItems(groups, owner, others);
    return groups;
}

QList<FileGroup> FileScanner::findAssociatedFiles(const std::optional<QString> &bundleIdentifier,
                                                  const QString &name,
                                                  const std::optional<QString> &bundlePath,
                                                  const QList<AppInfo> &installed,
                                                  const ScanProgress &progress) const
{
    const ProtectedPlaces guarded(m_places);
    std::vector<OtherItem> others;
    for (const AppInfo &app : installed) {
        const bool isChosen = (bundlePath && app.path == *bundlePath) ||
                              (app.name == name && app.bundleIdentifier == bundleIdentifier);
        if (!isChosen)
            others.push_back({ownershipMatcherFor(*this, app), app.name});
    }
    QList<FileGroup> groups = searchLeftovers(
        *this, buildSearchTerms(bundleIdentifier, name, bundlePath), name,
        ownershipMatcher(*this, bundleIdentifier, name, bundlePath), others, guarded, progress);

    if (bundlePath && !guarded.contains(*bundlePath)) {
        groups.prepend(FileGroup(FileCategory::appBundle, {foundFile(m_fileManager, *bundlePath,
                                                                     lastPathComponent(*bundlePath),
                                                                     FileCategory::appBundle)}));
    }
    // Measured after the merge: a folder that several categories list (Caches for three of
    // them) is walked once, not once per category that found it.
    measureFoundGroups(*this, groups, progress);
    return groups;
}

SearchTerms FileScanner::buildSearchTerms(const std::optional<QString> &bundleIdentifier,
                                          const QString &name,
                                          const std::optional<QString> &bundlePath) const
{
    SearchTerms result;
    QSet<QString> seen;
    if (bundleIdentifier) {
        const qsizetype components =
            bundleIdentifier->split(QLatin1Char('.'), Qt::SkipEmptyParts).size();
        addSearchTerm(*bundleIdentifier, seen,
                      components >= kIdentifierTermComponents ? result.terms : result.wholeNames);
        const QStringList pieces = bundleIdentifier->split(QLatin1Char('.'));
        for (const QString &piece : pieces) {
            if (piece.size() < kMinimumIdentifierWordLength)
                continue;
            if (ignoredIdentifierWords().contains(piece.toLower()))
                continue;
            const QString trimmed = piece.trimmed();
            if (!canIdentify(trimmed))
                continue;
            const QString lower = trimmed.toLower();
            if (seen.contains(lower))
                continue;
            seen.insert(lower);
            result.identifierParts.append(trimmed);
        }
    }
    addSearchTerm(name, seen, result.terms);
    addSearchTerm(QString(name).remove(QLatin1Char(' ')), seen, result.terms);
    if (bundlePath) {
        const QString fileName = withoutExtension(lastPathComponent(*bundlePath));
        addSearchTerm(fileName, seen, result.terms);
        addSearchTerm(QString(fileName).remove(QLatin1Char(' ')), seen, result.terms);
    }
    return result;
}

void FileScanner::addSearchTerm(const QString &candidate, QSet<QString> &seen, QStringList &list)
{
    const QString trimmed = candidate.trimmed();
    if (!canIdentify(trimmed))
        return;
    const QString lower = trimmed.toLower();
    if (seen.contains(lower))
        return;
    seen.insert(lower);
    list.append(trimmed);
}

bool FileScanner::matchesTerm(const QString &fileName, const QString &term)
{
    return TermMatcher(term).matches(fileName);
}

QList<AssociatedFile> FileScanner::scanCategoryFolder(const QString &folder,
                                                      const SearchTerms &terms,
                                                      FileCategory category) const
{
    return scanFolder(*this, folder, terms, category, Rule::folder);
}

QList<AssociatedFile> FileScanner::scanPreferencesFolder(const QString &folder,
                                                         const SearchTerms &terms) const
{
    return scanFolder(*this, folder, terms, FileCategory::preferences, Rule::preferences);
}

QList<AssociatedFile> FileScanner::scanHomeDotEntries(const SearchTerms &terms) const
{
    return scanFolder(*this, m_places.home(), terms, FileCategory::homeDotFiles, Rule::homeDot);
}

QList<FileGroup> FileScanner::findNamedLocations(const QString &name) const
{
    QList<FileGroup> groups = namedLocations(*this, name, ProtectedPlaces(m_places));
    measureFoundGroups(*this, groups, {});
    return groups;
}

QStringList FileScanner::namedLocationFolders() const
{
    QStringList folders;
    for (const NamedPlace &place : kNamedPlaces) {
        QString folder = baseFolder(m_places, place.base);
        if (*place.folder)
            folder += QLatin1Char('/') + QString::fromLatin1(place.folder);
        // The fixed prefix may hold folders of its own ("Application Support/").
        folder += QLatin1Char('/') + QString::fromLatin1(place.fixedPrefix);
        folders.append(QDir::cleanPath(folder.left(folder.lastIndexOf(QLatin1Char('/')))));
    }
    folders.append(QDir::cleanPath(m_places.inHome(QStringLiteral("Library/LaunchAgents"))));
    return folders;
}

QList<AssociatedFile> FileScanner::findEntriesContaining(const QString &folder, const QString &name,
                                                         FileCategory category,
                                                         const std::optional<QString> &excludedName,
                                                         NameRule rule) const
{
    QList<AssociatedFile> files = entriesContaining(m_fileManager, folder, name, category,
                                                    excludedName, rule, ProtectedPlaces(m_places));
    measure(*this, files, {});
    return files;
}

QList<FileGroup> FileScanner::mergeFileGroups(const QList<FileGroup> &named,
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
