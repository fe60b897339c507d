// The leftover search: what an installed application keeps on disk outside its bundle.

#include "scanner/LeftoverFinder.h"

#include "scanner/DesktopLeftovers.h"
#include "scanner/FoundFile.h"
#include "scanner/LeftoverSearch.h"
#include "scanner/NamedLocations.h"

namespace {

QString lastPathComponent(const QString &path)
{
    qsizetype end = path.size();
    while (end > 1 && path.at(end - 1) == QLatin1Char('/'))
        --end;
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'), end - 1);
    return path.mid(slash + 1, end - slash - 1);
}

} // namespace

QList<FileGroup> LeftoverFinder::findAssociatedFiles(const std::optional<QString> &bundleIdentifier,
                                                     const QString &name,
                                                     const std::optional<QString> &bundlePath,
                                                     const QList<AppInfo> &installed,
                                                     const ScanProgress &progress) const
{
    const ProtectedPlaces guarded(m_machine.places());
    std::vector<OtherItem> others;
    for (const AppInfo &app : installed) {
        const bool isChosen = (bundlePath && app.path == *bundlePath) ||
                              (app.name == name && app.bundleIdentifier == bundleIdentifier);
        if (!isChosen)
            others.push_back({ownershipMatcherFor(app), app.name});
    }
    QList<FileGroup> groups = searchLeftovers(
        m_machine, searchTermsFor(bundleIdentifier, name, bundlePath), name,
        ownershipMatcher(bundleIdentifier, name, bundlePath), others, guarded, progress);

    if (bundlePath && !guarded.contains(*bundlePath)) {
        groups.prepend(
            FileGroup(FileCategory::appBundle,
                      {foundFile(m_machine.fileManager(), *bundlePath,
                                 lastPathComponent(*bundlePath), FileCategory::appBundle)}));
    }
    // Measured after the merge: a folder that several categories list (Caches for three of
    // them) is walked once, not once per category that found it.
    measureFoundGroups(m_machine, groups, progress);
    return groups;
}

QList<FileGroup> LeftoverFinder::findApplicationFiles(const AppInfo &app,
                                                      const QList<AppInfo> &installed,
                                                      const ScanProgress &progress) const
{
    if (!app.isDesktopEntry())
        return findAssociatedFiles(app.bundleIdentifier, app.name, app.path, installed, progress);
    return findDesktopApplicationFiles(m_machine, app, installed, progress);
}

QList<AssociatedFile> LeftoverFinder::scanFolder(const QString &folder, const SearchTerms &terms,
                                                 FileCategory category, EntryRule rule) const
{
    const ItemMatcher matcher = matcherFor(terms);
    auto found = matchFolder(m_machine.fileManager(), folder, {{category, rule}}, matcher,
                             sieveFor(matcher), ProtectedPlaces(m_machine.places()));
    if (!found)
        return {};
    measureFoundFiles(m_machine, found->front(), {});
    return found->front();
}

QList<AssociatedFile> LeftoverFinder::scanPreferencesFolder(const QString &folder,
                                                            const SearchTerms &terms) const
{
    return scanFolder(folder, terms, FileCategory::preferences, EntryRule::preferences);
}

QList<AssociatedFile> LeftoverFinder::scanHomeDotEntries(const SearchTerms &terms) const
{
    return scanFolder(m_machine.places().home(), terms, FileCategory::homeDotFiles,
                      EntryRule::homeDot);
}

QList<FileGroup> LeftoverFinder::findNamedLocations(const QString &name) const
{
    QList<FileGroup> groups = namedLocations(m_machine, name, ProtectedPlaces(m_machine.places()));
    measureFoundGroups(m_machine, groups, {});
    return groups;
}

QStringList LeftoverFinder::namedLocationFolders() const
{
    return ::namedLocationFolders(m_machine.places());
}

QList<AssociatedFile> LeftoverFinder::findEntriesContaining(
    const QString &folder, const QString &name, FileCategory category,
    const std::optional<QString> &excludedName, NameRule rule) const
{
    QList<AssociatedFile> files =
        entriesContaining(m_machine.fileManager(), folder, name, category, excludedName, rule,
                          ProtectedPlaces(m_machine.places()));
    measureFoundFiles(m_machine, files, {});
    return files;
}
