// The view model's lists: section changes, loads on the load workers, search.
#include "viewmodel/ContentViewModel.h"

#include "scanner/ItemIcons.h"
#include "viewmodel/ApplicationOrder.h"
#include "viewmodel/ItemFilter.h"

#include <chrono>
#include <future>

namespace {

// How long the constructor waits for the applications list: a quick disk fills the first
// window; a slow one shows the list's busy state instead of a frozen window.
constexpr std::chrono::milliseconds kFirstListWait(40);

} // namespace

// Starts a section load on the load pool; only the newest load of a section is applied.
template <typename Work, typename Apply>
void ContentViewModel::startLoad(SidebarSection section, Work work, Apply apply)
{
    const int key = int(section);
    const quint64 generation = ++m_loadGeneration[key];
    ++m_pendingLoads[key];
    updateLoadingList();
    m_jobs.run(JobRunner::Queue::loads, this, work,
               [this, key, generation, apply](const auto &result) {
                   --m_pendingLoads[key];
                   if (generation == m_loadGeneration.value(key))
                       apply(result);
                   updateLoadingList();
               });
}

QList<AppInfo> ContentViewModel::userApplications() const
{
    return applicationsByLocation(m_scanner, m_filteredApps).user;
}

QList<AppInfo> ContentViewModel::systemApplications() const
{
    return applicationsByLocation(m_scanner, m_filteredApps).system;
}

void ContentViewModel::loadCurrentSection()
{
    switch (m_currentSection) {
    case SidebarSection::applications:
        loadApplications();
        break;
    case SidebarSection::npm:
        loadNPMPackages();
        break;
    case SidebarSection::homebrew:
        loadHomebrewPackages();
        break;
    case SidebarSection::systemData:
        startSystemDataScan();
        break;
    }
}

void ContentViewModel::loadApplications()
{
    const FileScanner scanner = m_scanner;
    startLoad(
        SidebarSection::applications, [scanner] { return scanner.scanApplications(); },
        [this](const QList<AppInfo> &apps) { applyApplications(apps); });
}

void ContentViewModel::applyApplications(const QList<AppInfo> &apps)
{
    adoptReloadedRecord(apps);
    setAllApps(apps);
    // The search field keeps its text across reloads; the list must keep matching it.
    const bool filter =
        m_currentSection == SidebarSection::applications && !m_searchQuery.isEmpty();
    setFilteredApps(filter ? ItemFilter::applications(apps, m_searchQuery) : apps);
}

// The first applications list, waited for at most kFirstListWait.
void ContentViewModel::loadFirstApplications()
{
    const FileScanner scanner = m_scanner;
    const auto ready = std::make_shared<std::promise<QList<AppInfo>>>();
    std::future<QList<AppInfo>> first = ready->get_future();
    const int key = int(SidebarSection::applications);
    const quint64 generation = ++m_loadGeneration[key];
    ++m_pendingLoads[key];
    updateLoadingList();
    m_jobs.run(
        JobRunner::Queue::loads, this,
        [scanner, ready] {
            QList<AppInfo> apps = scanner.scanApplications();
            ready->set_value(apps);
            return apps;
        },
        [this, key, generation](const QList<AppInfo> &apps) {
            --m_pendingLoads[key];
            if (generation == m_loadGeneration.value(key))
                applyApplications(apps);
            updateLoadingList();
        });
    // The list usually arrives within a few milliseconds: then the first window opens with it.
    if (first.wait_for(kFirstListWait) == std::future_status::ready) {
        ++m_loadGeneration[key]; // its queued delivery only counts the load as done
        applyApplications(first.get());
        setIsLoadingList(false);
    }
}

void ContentViewModel::loadNPMPackages()
{
    struct Loaded
    {
        bool available = false;
        QList<NPMPackage> packages;
        QHash<QUuid, QString> iconSources;
        qint64 cacheSize = 0;
    };
    const FileScanner scanner = m_scanner;
    startLoad(
        SidebarSection::npm,
        [scanner] {
            Loaded loaded;
            loaded.available = scanner.isNPMAvailable();
            if (loaded.available)
                loaded.packages = scanner.listNPMPackages();
            for (const NPMPackage &package : std::as_const(loaded.packages))
                loaded.iconSources.insert(package.id,
                                          iconOf(package, scanner.fileManager()).toSource());
            loaded.cacheSize = scanner.npmCacheSize();
            return loaded;
        },
        [this](const Loaded &loaded) {
            setIsNPMAvailable(loaded.available);
            m_npmIconSources = loaded.iconSources;
            adoptReloadedRecord(loaded.packages);
            setAllNPMPackages(loaded.packages);
            const bool filter = m_currentSection == SidebarSection::npm;
            setFilteredNPMPackages(filter ? ItemFilter::packages(loaded.packages, m_searchQuery)
                                          : loaded.packages);
            setNPMCacheSize(loaded.cacheSize);
        });
}

void ContentViewModel::loadHomebrewPackages()
{
    struct Loaded
    {
        bool available = false;
        QList<HomebrewPackage> packages;
        QHash<QUuid, QString> iconSources;
        qint64 cacheSize = 0;
    };
    const FileScanner scanner = m_scanner;
    startLoad(
        SidebarSection::homebrew,
        [scanner] {
            Loaded loaded;
            loaded.available = scanner.isHomebrewAvailable();
            loaded.packages = scanner.listHomebrewPackages();
            for (const HomebrewPackage &package : std::as_const(loaded.packages))
                loaded.iconSources.insert(package.id,
                                          iconOf(package, scanner.fileManager()).toSource());
            loaded.cacheSize = scanner.homebrewCacheSize();
            return loaded;
        },
        [this](const Loaded &loaded) {
            setIsHomebrewAvailable(loaded.available);
            m_homebrewIconSources = loaded.iconSources;
            adoptReloadedRecord(loaded.packages);
            setAllHomebrewPackages(loaded.packages);
            const bool filter = m_currentSection == SidebarSection::homebrew;
            setFilteredHomebrewPackages(
                filter ? ItemFilter::packages(loaded.packages, m_searchQuery) : loaded.packages);
            setHomebrewCacheSize(loaded.cacheSize);
        });
}

// After a reload: the selected record, if the new list holds the same item, is replaced by
// that list's record (same item, new id) without counting as a new pick.
template <typename Record> void ContentViewModel::adoptReloadedRecord(const QList<Record> &records)
{
    const Record *selected = m_selectedItem ? m_selectedItem->as<Record>() : nullptr;
    if (!selected)
        return;
    // A reload gives every record a new id; the selected item is the same item, so it takes the
    // new record's id to stay highlighted. Its scan is not disturbed.
    for (const Record &record : records) {
        if (record == *selected) {
            m_selectedItem = record;
            emit selectedItemChanged();
            return;
        }
    }
}

void ContentViewModel::refreshToolAvailability()
{
    const FileScanner scanner = m_scanner;
    ++m_pendingOtherWork;
    m_jobs.run(
        JobRunner::Queue::loads, this,
        [scanner] { return std::pair(scanner.isNPMAvailable(), scanner.isHomebrewAvailable()); },
        [this](const std::pair<bool, bool> &available) {
            --m_pendingOtherWork;
            setIsNPMAvailable(available.first);
            setIsHomebrewAvailable(available.second);
        });
}

void ContentViewModel::selectSection(SidebarSection section)
{
    if (section == m_currentSection)
        return;
    setSelectedItem(std::nullopt);
    setFileGroups({});
    setSearchQuery(QString());
    setSelectedSystemCategory(std::nullopt);
    setShowHiddenSystemCategories(false);
    setCurrentSection(section);
    refreshToolAvailability();
    // Item scans of the old section must not fill the new section's detail pane.
    ++m_itemGeneration;
    settleScanning();
    updateLoadingList();
    loadCurrentSection();
}

void ContentViewModel::showSection(Section section)
{
    selectSection(static_cast<SidebarSection>(section));
}

void ContentViewModel::selectSection(const QString &title)
{
    if (const auto section = sidebarSectionFromDisplayName(title))
        selectSection(*section);
}

void ContentViewModel::setSearchQuery(const QString &query)
{
    if (query == m_searchQuery)
        return;
    m_searchQuery = query;
    emit searchQueryChanged();
}

void ContentViewModel::search(const QString &query)
{
    setSearchQuery(query);
    switch (m_currentSection) {
    case SidebarSection::applications:
        setFilteredApps(query.isEmpty() ? m_allApps : ItemFilter::applications(m_allApps, query));
        break;
    case SidebarSection::npm:
        setFilteredNPMPackages(ItemFilter::packages(m_allNPMPackages, query));
        break;
    case SidebarSection::homebrew:
        setFilteredHomebrewPackages(ItemFilter::packages(m_allHomebrewPackages, query));
        break;
    case SidebarSection::systemData:
        break;
    }
}
