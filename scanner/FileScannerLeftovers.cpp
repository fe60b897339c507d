// The leftover search: what an installed application keeps on disk outside its bundle.
//
// Character counts (the 3-character minimum of an identifier word, the 5-character limit of the
// word-boundary rule, the 6-character ".plist" suffix) are QString lengths in UTF-16 code units.
// They equal user-perceived characters for ASCII and most Latin, Greek and Cyrillic names; a name
// with combining marks or characters outside the Basic Multilingual Plane counts longer.

#include "scanner/FileScanner.h"

#include "scanner/NameGuard.h"

#include <QHash>
#include <QStringMatcher>

#include <algorithm>
#include <array>
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
// Terms longer than this match anywhere in a name; shorter ones only at word boundaries.
constexpr qsizetype kLongTermLength = 5;
constexpr int kIdentifierPartQuorum = 2;
constexpr std::array<QLatin1Char, 3> kTermSeparators = {QLatin1Char('-'), QLatin1Char('_'),
                                                        QLatin1Char('.')};
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

// One term with the forms the matching rules look for, prepared once per search so that the
// thousands of entries of a folder are tested without a copy or a lower-cased form of each.
// Comparisons ignore case the way QString does (Unicode case folding), which for ASCII is the
// same as comparing lower-cased forms.
struct PreparedTerm
{
    QString term;
    bool isLong = false;
    QStringMatcher anywhere;                      // term, any letter case
    std::array<QStringMatcher, 3> afterSeparator; // "-term", "_term", ".term", any letter case
    QStringMatcher capitalised;                   // "Term": lower-cased, first letter upper-cased

    explicit PreparedTerm(const QString &original)
        : term(original), isLong(original.size() > kLongTermLength),
          anywhere(original, Qt::CaseInsensitive)
    {
        const QString lower = original.toLower();
        for (size_t i = 0; i < kTermSeparators.size(); ++i)
            afterSeparator[i] = QStringMatcher(kTermSeparators[i] + lower, Qt::CaseInsensitive);
        const qsizetype head =
            !lower.isEmpty() && lower.at(0).isHighSurrogate() && lower.size() > 1 ? 2 : 1;
        capitalised =
            QStringMatcher(lower.left(head).toUpper() + lower.mid(head), Qt::CaseSensitive);
    }

    // The word-boundary rule for short terms, containment for long ones.
    bool matches(QStringView name) const
    {
        if (term.isEmpty())
            return false; // an empty term would match every entry
        if (isLong)
            return anywhere.indexIn(name) >= 0;
        if (name.startsWith(term, Qt::CaseInsensitive)) // also the whole name
            return true;
        for (const QStringMatcher &separated : afterSeparator) {
            if (separated.indexIn(name) >= 0)
                return true;
        }
        // A capitalised word inside a camel-case name; only the first occurrence decides.
        const qsizetype at = capitalised.indexIn(name);
        if (at < 0)
            return false;
        return at == 0 || name.at(at - 1).isLower();
    }

    bool isContainedIn(QStringView text) const
    {
        return !term.isEmpty() && anywhere.indexIn(text) >= 0;
    }
};

// The terms of one search, prepared for the matching rules.
struct Matcher
{
    std::vector<PreparedTerm> terms;
    std::vector<PreparedTerm> parts;

    explicit Matcher(const SearchTerms &searchTerms)
    {
        terms.reserve(searchTerms.terms.size());
        for (const QString &term : searchTerms.terms)
            terms.emplace_back(term);
        parts.reserve(searchTerms.identifierParts.size());
        for (const QString &part : searchTerms.identifierParts)
            parts.emplace_back(part);
    }

    // The folder rule: a whole-name term at a word boundary, or enough identifier parts.
    bool matchesFolderEntry(QStringView name) const
    {
        for (const PreparedTerm &term : terms) {
            if (term.matches(name))
                return true;
        }
        int count = 0;
        for (const PreparedTerm &part : parts) {
            if (part.matches(name))
                ++count;
        }
        return count >= kIdentifierPartQuorum;
    }

    // Preference files: containment in any letter case for long terms; short ones go by the
    // word-boundary rule, since a name such as "R" is contained in nearly every preference
    // file while "org.R-project.R" still matches at its word boundaries.
    bool matchesPreferenceName(QStringView text) const
    {
        for (const PreparedTerm &term : terms) {
            if (term.isLong ? term.isContainedIn(text) : term.matches(text))
                return true;
        }
        int count = 0;
        for (const PreparedTerm &part : parts) {
            if (part.isLong ? part.isContainedIn(text) : part.matches(text))
                ++count;
        }
        return count >= kIdentifierPartQuorum;
    }
};

enum class Rule
{
    folder,
    preferences,
    homeDot
};

// The matching entries of one listing, not yet measured.
QList<AssociatedFile> matchEntries(const QStringList &entries, const Matcher &matcher, Rule rule,
                                   FileCategory category, const QStringList &guarded)
{
    QList<AssociatedFile> files;
    for (const QString &path : entries) {
        const QStringView name = QStringView(path).mid(path.lastIndexOf(QLatin1Char('/')) + 1);
        bool include = false;
        switch (rule) {
        case Rule::folder:
            include = matcher.matchesFolderEntry(name);
            break;
        case Rule::preferences:
            include = name.endsWith(kPreferenceSuffix, Qt::CaseSensitive) &&
                      matcher.matchesPreferenceName(name.chopped(kPreferenceSuffix.size()));
            break;
        case Rule::homeDot:
            // The word-boundary rule, not plain containment: the home folder holds the user's
            // keys and shell setup, and a short name such as "R" must not reach ".bashrc".
            include = name.startsWith(QLatin1Char('.')) && matcher.matchesFolderEntry(name);
            break;
        }
        if (include && !isProtectedPlace(path, guarded))
            files.append(AssociatedFile(path, name.toString(), category, 0));
    }
    return files;
}

// Whether entryName holds name in any letter case. These searches start with every found file
// ticked, so short names must stand as words: a name of 3 to 5 characters must begin a word
// ("wget" finds "wgetrc" and "homebrew.mxcl.wget.plist", "og" cannot reach "logrotate"), and a
// name of 1 or 2 characters must be a whole word ("gh" finds "gh-2.40" and "gh.log"), or a package
// called "n" would tick every launch daemon with an "n" in its name. Longer names go by plain
// containment.
bool containsName(const QString &entryName, const QString &name)
{
    if (name.size() > kLongTermLength)
        return entryName.contains(name, Qt::CaseInsensitive);
    const bool wholeWord = name.size() <= 2;
    const auto isWordCharacter = [](QChar c) { return c.isLetterOrNumber(); };
    for (qsizetype at = entryName.indexOf(name, 0, Qt::CaseInsensitive); at >= 0;
         at = entryName.indexOf(name, at + 1, Qt::CaseInsensitive)) {
        const qsizetype end = at + name.size();
        const bool boundedBefore = at == 0 || !isWordCharacter(entryName.at(at - 1));
        const bool boundedAfter = end == entryName.size() || !isWordCharacter(entryName.at(end));
        if (boundedBefore && (boundedAfter || !wholeWord))
            return true;
    }
    return false;
}

// Entries of folder whose names contain name, not yet measured.
QList<AssociatedFile> entriesContaining(const FileManager &fileManager, const QString &folder,
                                        const QString &name, FileCategory category,
                                        const std::optional<QString> &excludedName,
                                        const QStringList &guarded)
{
    // An empty or path-like name would match every entry or none sensibly.
    if (!isSafeEntryName(name) || !fileManager.fileExists(folder))
        return {};
    const std::optional<QStringList> entries = fileManager.contentsOfDirectory(folder);
    if (!entries)
        return {};
    const std::optional<QString> excluded =
        excludedName ? std::optional<QString>(excludedName->toLower()) : std::nullopt;
    QList<AssociatedFile> files;
    for (const QString &path : *entries) {
        const QString entryName = lastPathComponent(path);
        if (excluded && entryName.toLower() == *excluded)
            continue;
        if (containsName(entryName, name) && !isProtectedPlace(path, guarded))
            files.append(AssociatedFile(path, entryName, category, 0));
    }
    return files;
}

struct NamedPlace
{
    const char *folder;      // home-relative
    const char *fixedPrefix; // put before the name
    bool dotName;            // the file is named "." + name
    FileCategory category;
};

const NamedPlace kNamedPlaces[] = {
    {"", ".", true, FileCategory::homeDotFiles},
    {"", ".config/", false, FileCategory::configDirectory},
    {"", ".cache/", false, FileCategory::cacheDirectory},
    {"", ".local/share/", false, FileCategory::localShareDirectory},
    {"Library", "Application Support/", false, FileCategory::applicationSupport},
    {"Library", "Caches/", false, FileCategory::caches},
    {"Library", "Logs/", false, FileCategory::libraryLogs},
};

// The places named after name, in step order, not yet measured.
QList<FileGroup> namedLocations(const FileScanner &scanner, const QString &name,
                                const QStringList &guarded)
{
    QList<FileGroup> groups;
    if (!isSafeEntryName(name))
        return groups;
    const Places &places = scanner.places();
    for (const NamedPlace &place : kNamedPlaces) {
        const QString prefix = QString::fromLatin1(place.fixedPrefix);
        const std::optional<QString> path =
            placeInside(places.inHome(QString::fromLatin1(place.folder)), prefix, name);
        if (!path || isProtectedPlace(*path, guarded) || !scanner.fileManager().fileExists(*path))
            continue;
        const QString fileName = place.dotName ? prefix + name : name;
        groups.append(
            FileGroup(place.category, {AssociatedFile(*path, fileName, place.category, 0)}));
    }
    const QList<AssociatedFile> agents = entriesContaining(
        scanner.fileManager(), places.inHome(QStringLiteral("Library/LaunchAgents")), name,
        FileCategory::launchAgents, std::nullopt, guarded);
    if (!agents.isEmpty())
        groups.append(FileGroup(FileCategory::launchAgents, agents));
    return groups;
}

void measure(const FileScanner &scanner, QList<AssociatedFile> &files,
             const ScanProgress &progress = {})
{
    for (AssociatedFile &file : files) {
        if (progress)
            progress(file.path);
        file.size = scanner.sizeOfFoundItem(file.path);
    }
}

void measure(const FileScanner &scanner, QList<FileGroup> &groups,
             const ScanProgress &progress = {})
{
    for (FileGroup &group : groups)
        measure(scanner, group.files, progress);
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

QList<FileGroup> FileScanner::findAssociatedFiles(const std::optional<QString> &bundleIdentifier,
                                                  const QString &name,
                                                  const std::optional<QString> &bundlePath,
                                                  const ScanProgress &progress) const
{
    const QStringList guarded = protectedFolders(m_places);
    const QList<FileGroup> named = namedLocations(*this, name, guarded);
    const Matcher matcher(buildSearchTerms(bundleIdentifier, name, bundlePath));

    // Caches and Logs serve several categories; one search lists each folder once.
    QHash<QString, std::optional<QStringList>> listings;
    auto listing = [&](const QString &folder) -> const std::optional<QStringList> & {
        auto it = listings.find(folder);
        if (it == listings.end()) {
            if (progress)
                progress(folder);
            it = listings.insert(folder, m_fileManager.contentsOfDirectory(folder));
        }
        return *it;
    };

    QList<FileGroup> categoryGroups;
    for (FileCategory category : allFileCategories()) {
        QList<AssociatedFile> files;
        if (category == FileCategory::appBundle) {
            continue;
        } else if (category == FileCategory::homeDotFiles) {
            if (const auto &entries = listing(m_places.home()))
                files = matchEntries(*entries, matcher, Rule::homeDot, category, guarded);
        } else {
            const std::optional<QString> folder = categoryFolder(category, m_places);
            if (!folder || !m_fileManager.fileExists(*folder))
                continue;
            const Rule rule =
                category == FileCategory::preferences ? Rule::preferences : Rule::folder;
            if (const auto &entries = listing(*folder))
                files = matchEntries(*entries, matcher, rule, category, guarded);
        }
        if (!files.isEmpty())
            categoryGroups.append(FileGroup(category, files));
    }

    // Measured after the merge: a folder that several categories list (Caches for three of
    // them) is walked once, not once per category that found it.
    QList<FileGroup> groups = mergeFileGroups(named, categoryGroups);
    if (bundlePath && !isProtectedPlace(*bundlePath, guarded)) {
        groups.prepend(FileGroup(FileCategory::appBundle,
                                 {AssociatedFile(*bundlePath, lastPathComponent(*bundlePath),
                                                 FileCategory::appBundle, 0)}));
    }
    measure(*this, groups, progress);
    return groups;
}

SearchTerms FileScanner::buildSearchTerms(const std::optional<QString> &bundleIdentifier,
                                          const QString &name,
                                          const std::optional<QString> &bundlePath) const
{
    SearchTerms result;
    QSet<QString> seen;
    if (bundleIdentifier) {
        addSearchTerm(*bundleIdentifier, seen, result.terms);
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
    return PreparedTerm(term).matches(fileName);
}

QList<AssociatedFile> FileScanner::scanCategoryFolder(const QString &folder,
                                                      const SearchTerms &terms,
                                                      FileCategory category) const
{
    const std::optional<QStringList> entries = m_fileManager.contentsOfDirectory(folder);
    if (!entries)
        return {};
    QList<AssociatedFile> files =
        matchEntries(*entries, Matcher(terms), Rule::folder, category, protectedFolders(m_places));
    measure(*this, files);
    return files;
}

QList<AssociatedFile> FileScanner::scanPreferencesFolder(const QString &folder,
                                                         const SearchTerms &terms) const
{
    const std::optional<QStringList> entries = m_fileManager.contentsOfDirectory(folder);
    if (!entries)
        return {};
    QList<AssociatedFile> files =
        matchEntries(*entries, Matcher(terms), Rule::preferences, FileCategory::preferences,
                     protectedFolders(m_places));
    measure(*this, files);
    return files;
}

QList<AssociatedFile> FileScanner::scanHomeDotEntries(const SearchTerms &terms) const
{
    const std::optional<QStringList> entries = m_fileManager.contentsOfDirectory(m_places.home());
    if (!entries)
        return {};
    QList<AssociatedFile> files =
        matchEntries(*entries, Matcher(terms), Rule::homeDot, FileCategory::homeDotFiles,
                     protectedFolders(m_places));
    measure(*this, files);
    return files;
}

QList<FileGroup> FileScanner::findNamedLocations(const QString &name) const
{
    QList<FileGroup> groups = namedLocations(*this, name, protectedFolders(m_places));
    measure(*this, groups);
    return groups;
}

QList<AssociatedFile>
FileScanner::findEntriesContaining(const QString &folder, const QString &name,
                                   FileCategory category,
                                   const std::optional<QString> &excludedName) const
{
    QList<AssociatedFile> files = entriesContaining(m_fileManager, folder, name, category,
                                                    excludedName, protectedFolders(m_places));
    measure(*this, files);
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
        QList<AssociatedFile> taken;
        for (const AssociatedFile &file : group.files) {
            if (!seen.contains(file.path))
                taken.append(file);
        }
        if (taken.isEmpty())
            continue;
        for (const AssociatedFile &file : taken)
            seen.insert(file.path);
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
