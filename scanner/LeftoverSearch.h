#pragma once

// The leftover search shared by bundles and desktop applications (see LeftoverFinder).

#include "model/AppInfo.h"
#include "model/FileGroup.h"
#include "scanner/Machine.h"
#include "scanner/NameGuard.h"
#include "scanner/ScanProgress.h"
#include "scanner/SearchTerms.h"
#include "scanner/TermMatcher.h"

#include <vector>

// What tells whose a file is, for one bundle: the item's identifier, parts and names, each kept
// even where the search drops a name as a duplicate of an identifier word ("RStudio" in
// "org.rstudio.RStudio").
ItemMatcher ownershipMatcher(const std::optional<QString> &bundleIdentifier, const QString &name,
                             const std::optional<QString> &bundlePath);
// The same for any installed application (a desktop one by all its names).
ItemMatcher ownershipMatcherFor(const AppInfo &app);

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
QList<FileGroup> searchLeftovers(const Machine &machine, const SearchTerms &terms,
                                 const QString &name, const ItemMatcher &owner,
                                 const std::vector<OtherItem> &others,
                                 const ProtectedPlaces &guarded, const ScanProgress &progress);

// Measures every removable file (what moving it to the Trash frees).
void measureFoundFiles(const Machine &machine, QList<AssociatedFile> &files,
                       const ScanProgress &progress);
void measureFoundGroups(const Machine &machine, QList<FileGroup> &groups,
                        const ScanProgress &progress);

// named first, then the category groups' files that named does not hold, each path once.
QList<FileGroup> mergeFileGroups(const QList<FileGroup> &named,
                                 const QList<FileGroup> &categoryGroups);
