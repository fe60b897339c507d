#pragma once

#include "model/AppInfo.h"
#include "model/FileGroup.h"
#include "scanner/FolderMatch.h"
#include "scanner/Machine.h"
#include "scanner/ScanProgress.h"
#include "scanner/SearchTerms.h"

#include <QList>
#include <QString>

#include <optional>

// What an installed application keeps on disk outside its bundle or installation: the places
// named after it and the entries of the category folders its terms match, measured.
class LeftoverFinder
{
public:
    explicit LeftoverFinder(Machine machine) : m_machine(std::move(machine)) {}

    // Bundle group first, then the named places, then the category folders in category order.
    // installed: every installed application (the chosen one may be among them); a file that
    // another one's terms match more specifically than the chosen one's is left out. Each file
    // carries the identity it had when found; one whose name is not exact is unremovable.
    QList<FileGroup> findAssociatedFiles(const std::optional<QString> &bundleIdentifier,
                                         const QString &name,
                                         const std::optional<QString> &bundlePath,
                                         const QList<AppInfo> &installed = {},
                                         const ScanProgress &progress = {}) const;
    // Any application: a bundle as findAssociatedFiles does, a desktop application as
    // findDesktopApplicationFiles (DesktopLeftovers.h) does.
    QList<FileGroup> findApplicationFiles(const AppInfo &app, const QList<AppInfo> &installed = {},
                                          const ScanProgress &progress = {}) const;
    QList<AssociatedFile> scanPreferencesFolder(const QString &folder,
                                                const SearchTerms &terms) const;
    QList<AssociatedFile> scanHomeDotEntries(const SearchTerms &terms) const;
    // Places named after the item (~/.name, ~/.config/name, ..., matching launch agents).
    // A name that could leave its folder gives nothing.
    QList<FileGroup> findNamedLocations(const QString &name) const;
    // The folders findNamedLocations looks in (the home for ~/.name, ~/.config, ...,
    // ~/Library/LaunchAgents): what it finds lies directly inside one of them.
    QStringList namedLocationFolders() const;
    // Entries of folder whose names hold name under rule (in any letter case), except
    // excludedName. With NameRule::word "gh" finds "gh-2.40", not "ghostty", and "git" finds
    // "git-lfs", not "libgit2"; with NameRule::containment "git" finds "libgit2" too.
    QList<AssociatedFile> findEntriesContaining(const QString &folder, const QString &name,
                                                FileCategory category,
                                                const std::optional<QString> &excludedName,
                                                NameRule rule) const;

private:
    // The entries of one folder under one rule, measured.
    QList<AssociatedFile> scanFolder(const QString &folder, const SearchTerms &terms,
                                     FileCategory category, EntryRule rule) const;

    Machine m_machine;
};
