#pragma once

// The leftover search shared by bundles and desktop applications (FileScannerLeftovers.cpp).

#include "scanner/FileScanner.h"
#include "scanner/NameGuard.h"
#include "scanner/TermMatcher.h"

#include <vector>

// What tells whose a file is, for one bundle.
ItemMatcher ownershipMatcher(const FileScanner &scanner,
                             const std::optional<QString> &bundleIdentifier, const QString &name,
                             const std::optional<QString> &bundlePath);
// The same for any installed application (a desktop one by all its names).
ItemMatcher ownershipMatcherFor(const FileScanner &scanner, const AppInfo &app);

// Another installed item, by what tells whose a file is and the name its row shows.
struct OtherItem
{
    ItemMatcher matcher;
    QString name;
};

// The places named after name and the category folders matched by terms, merged, without the
// files another item (others) describes better than owner; a file another one describes just as
// well is kept, marked as also used by it (AssociatedFile::alsoUsedBy). Not yet measured. The words
// of terms that many programs share (SharedWords, VendorTally) are no terms on their own.
QList<FileGroup> searchLeftovers(const FileScanner &scanner, const SearchTerms &terms,
                                 const QString &name, const ItemMatcher &owner,
                                 const std::vector<OtherItem> &others,
                                 const ProtectedPlaces &guarded, const ScanProgress &progress);

// Measures every removable file of the groups (what moving it to the Trash frees).
void measureFoundGroups(const FileScanner &scanner, QList<FileGroup> &groups,
                        const ScanProgress &progress);
