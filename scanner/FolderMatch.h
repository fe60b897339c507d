#pragma once

// Matching the entries of one folder against an item's terms or one name, for the leftover
// search and the package searches. What is found is not yet measured.

#include "model/AssociatedFile.h"
#include "model/FileCategory.h"
#include "scanner/FileManager.h"
#include "scanner/NameGuard.h"
#include "scanner/NameRule.h"
#include "scanner/NameSieve.h"
#include "scanner/SearchTerms.h"
#include "scanner/TermMatcher.h"

#include <QList>
#include <QString>

#include <optional>
#include <vector>

class VendorTally;

// Which part of an entry's name an item's terms are matched against.
enum class EntryRule
{
    folder,      // the whole name
    preferences, // a ".plist" file's name without the suffix
    homeDot,     // a home entry's name that begins with a dot
};

EntryRule entryRuleOf(FileCategory category);
// The part of an entry's name the rule matches, or nothing when the rule does not take the entry.
std::optional<QStringView> subjectOf(QStringView name, EntryRule rule);

ItemMatcher matcherFor(const SearchTerms &terms);
// Rules out, before decoding, the names the matcher cannot score.
NameSieve sieveFor(const ItemMatcher &matcher);

// One category's use of a listed folder: the rule its entries are matched by.
struct FolderUse
{
    FileCategory category;
    EntryRule rule;
};

// Lists folder once and finds, for each use, the entries its rule takes and the matcher scores:
// one list per use, in listing order. Only names the sieve lets through are decoded; every name
// is counted by tally, when given. Nothing when the folder cannot be listed.
std::optional<std::vector<QList<AssociatedFile>>>
matchFolder(const FileManager &fileManager, const QString &folder,
            const std::vector<FolderUse> &uses, const ItemMatcher &matcher, const NameSieve &sieve,
            const ProtectedPlaces &guarded, VendorTally *tally = nullptr);

// Entries of folder whose names hold name under rule (in any letter case), except excludedName.
QList<AssociatedFile> entriesContaining(const FileManager &fileManager, const QString &folder,
                                        const QString &name, FileCategory category,
                                        const std::optional<QString> &excludedName, NameRule rule,
                                        const ProtectedPlaces &guarded);
