#include "scanner/FolderMatch.h"

#include "scanner/FoundFile.h"
#include "scanner/VendorTally.h"

#include <QFile>

namespace {

const QLatin1String kPreferenceSuffix(".plist");

// An entry's name as the file system gives it, read as a path component is: bytes that are not
// UTF-8 become U+FFFD, and the found item is then offered as unremovable (see foundFile).
QString decodedName(QByteArrayView bytes)
{
    return QFile::decodeName(QByteArray::fromRawData(bytes.data(), bytes.size()));
}

// Whether entryName holds name under the given rule.
bool holdsName(QStringView entryName, const QString &name, const TermMatcher &asWord, NameRule rule)
{
    if (rule == NameRule::containment)
        return entryName.contains(name, Qt::CaseInsensitive);
    return asWord.matches(entryName);
}

} // namespace

EntryRule entryRuleOf(FileCategory category)
{
    if (category == FileCategory::preferences)
        return EntryRule::preferences;
    return category == FileCategory::homeDotFiles ? EntryRule::homeDot : EntryRule::folder;
}

// The part of an entry's name the rule matches, or nothing when the rule does not take the entry:
// a preference file's name without ".plist", a home entry's name only when it begins with a dot.
std::optional<QStringView> subjectOf(QStringView name, EntryRule rule)
{
    switch (rule) {
    case EntryRule::folder:
        return name;
    case EntryRule::preferences:
        if (!name.endsWith(kPreferenceSuffix, Qt::CaseSensitive))
            return std::nullopt;
        return name.chopped(kPreferenceSuffix.size());
    case EntryRule::homeDot:
        if (!name.startsWith(QLatin1Char('.')))
            return std::nullopt;
        return name;
    }
    return std::nullopt;
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

std::optional<std::vector<QList<AssociatedFile>>>
matchFolder(const FileManager &fileManager, const QString &folder,
            const std::vector<FolderUse> &uses, const ItemMatcher &matcher, const NameSieve &sieve,
            const ProtectedPlaces &guarded, VendorTally *tally)
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
