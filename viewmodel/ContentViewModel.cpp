#include "viewmodel/ContentViewModel.h"

#include "viewmodel/RemovalRecord.h"

ContentViewModel::ContentViewModel(FileScanner scanner, QObject *parent)
    : QObject(parent), m_scanner(std::move(scanner))
{
    // Every copy of the scanner handed to a worker watches this flag: closing the window stops
    // a long walk at once.
    m_scanner.setCancellationFlag(m_jobs.cancellationFlag());
    m_activity = new ScanActivity(this);
    m_applications = new ApplicationsSection(m_scanner, m_jobs, this);
    m_npm = new PackageSection(SidebarSection::npm, PackageSection::npm(), m_scanner, m_jobs, this);
    m_homebrew = new PackageSection(SidebarSection::homebrew, PackageSection::homebrew(), m_scanner,
                                    m_jobs, this);
    m_systemData = new SystemDataSection(m_scanner, m_jobs, *m_activity, this);
    m_leftovers = new LeftoversSection(m_scanner, m_jobs, this);
    m_sections = {m_applications, m_npm, m_homebrew, m_systemData, m_leftovers};
    m_sectionList = new SectionListModel({m_sections.cbegin(), m_sections.cend()}, this);
    m_detail = new DetailPane(m_scanner, m_jobs, *m_activity, this);
    m_removal = new RemovalPane(
        m_scanner, m_jobs, *m_activity, *m_detail,
        [this](const QList<AssociatedFile> &selected) { return removalPlan(selected); }, this);
    connectChildren();

    // What a removal stopped between claiming a name in the Trash and moving left, settled on
    // the serial worker: before any removal of this window, and off the GUI thread.
    m_jobs.run(
        JobRunner::Queue::serial, this,
        [settling = m_scanner] {
            RemovalRecord::settle(settling);
            return 0;
        },
        [](int) {});
    m_applications->loadFirst();
    refreshToolAvailability();
}

ContentViewModel::~ContentViewModel() = default;

// After a reload: the selected record, if the new list holds the same item, is replaced by
// that list's record (same item, new id) without counting as a new pick, so its row stays
// highlighted and its scan is not disturbed.
template <typename Record> void ContentViewModel::adoptReloadedRecord(const QList<Record> &records)
{
    const Record *selected = m_selectedItem ? m_selectedItem->as<Record>() : nullptr;
    if (!selected)
        return;
    for (const Record &record : records) {
        if (record == *selected) {
            m_selectedItem = record;
            updateRowSelection();
            emit selectedItemChanged();
            return;
        }
    }
}

void ContentViewModel::connectChildren()
{
    connect(m_activity, &ScanActivity::isScanningChanged, this,
            &ContentViewModel::isScanningChanged);
    connect(m_activity, &ScanActivity::progressTextChanged, this,
            &ContentViewModel::scanProgressTextChanged);
    for (SectionModel *child : m_sections) {
        connect(child, &SectionModel::isLoadingChanged, this, [this, child] {
            if (child->section() == m_currentSection)
                emit isLoadingListChanged();
        });
    }
    connect(m_applications, &ApplicationsSection::reloaded, this,
            [this](const QList<AppInfo> &apps) { adoptReloadedRecord(apps); });
    connect(m_npm, &PackageSection::reloaded, this, [this](const QList<PackageEntry> &entries) {
        adoptReloadedRecord(packagesOf<NPMPackage>(entries));
    });
    connect(m_homebrew, &PackageSection::reloaded, this,
            [this](const QList<PackageEntry> &entries) {
                adoptReloadedRecord(packagesOf<HomebrewPackage>(entries));
            });
    connect(m_leftovers, &LeftoversSection::reloaded, this,
            &ContentViewModel::adoptReloadedLeftovers);
    connect(m_leftovers, &LeftoversSection::rowKept, this, &ContentViewModel::forgetLeftover);
    connect(m_applications, &ApplicationsSection::allAppsChanged, this,
            &ContentViewModel::allAppsChanged);
    connect(m_npm, &PackageSection::allPackagesChanged, this,
            &ContentViewModel::allNPMPackagesChanged);
    connect(m_homebrew, &PackageSection::allPackagesChanged, this,
            &ContentViewModel::allHomebrewPackagesChanged);
    connect(m_systemData, &SystemDataSection::groupsChanged, this,
            &ContentViewModel::systemDataGroupsChanged);
    connect(m_systemData, &SystemDataSection::selectedCategoryChanged, this,
            &ContentViewModel::selectedSystemCategoryChanged);
    connect(m_npm, &PackageSection::cacheSizeChanged, this, &ContentViewModel::npmCacheSizeChanged);
    connect(m_homebrew, &PackageSection::cacheSizeChanged, this,
            &ContentViewModel::homebrewCacheSizeChanged);
    connect(m_systemData, &SystemDataSection::resultApplied, this,
            &ContentViewModel::openSystemCategoryFiles);
    connect(m_detail, &DetailPane::fileGroupsChanged, this, &ContentViewModel::fileGroupsChanged);
    connect(m_detail, &DetailPane::selectionChanged, this, &ContentViewModel::selectionChanged);
    connect(m_detail, &DetailPane::openedFoldersChanged, this,
            &ContentViewModel::openedFoldersChanged);
    connect(m_detail, &DetailPane::scanStarted, m_removal,
            [this] { m_removal->setLastDeleteSummary(std::nullopt); });
    connect(m_removal, &RemovalPane::lastDeleteSummaryChanged, this,
            &ContentViewModel::lastDeleteSummaryChanged);
    connect(m_removal, &RemovalPane::canPutBackChanged, this, &ContentViewModel::canPutBackChanged);
    connect(m_removal, &RemovalPane::removalDone, this, &ContentViewModel::applyRemovalOutcome);
    connect(m_removal, &RemovalPane::putBackDone, this, &ContentViewModel::applyPutBack);
    connect(this, &ContentViewModel::selectedItemChanged, m_removal, &RemovalPane::planChanged);
}

bool ContentViewModel::hasPendingWork() const
{
    bool pending = m_activity->pendingItemWork() > 0 || m_activity->pendingSystemDataScans() > 0;
    for (const SectionModel *child : m_sections)
        pending = pending || child->hasPendingWork();
    return pending;
}

// --- Section and search ------------------------------------------------------------------------

void ContentViewModel::selectSection(SidebarSection section)
{
    if (section == m_currentSection)
        return;
    setSelectedItem(std::nullopt);
    m_detail->setFileGroups({});
    setSearchQuery(QString());
    sectionModel(m_currentSection)->forgetQuery();
    m_systemData->setSelectedCategory(std::nullopt);
    m_systemData->setShowHidden(false);
    setCurrentSection(section);
    refreshToolAvailability();
    // Item scans of the old section must not fill the new section's detail pane.
    m_activity->supersede();
    settleScanning();
    emit isLoadingListChanged();
    loadCurrentSection();
}

void ContentViewModel::selectSection(const QString &title)
{
    if (const auto section = sidebarSectionFromDisplayName(title))
        selectSection(*section);
}

void ContentViewModel::setCurrentSection(SidebarSection section)
{
    m_currentSection = section;
    m_activity->setSystemDataShown(section == SidebarSection::systemData);
    emit currentSectionChanged();
    // selectedApp and its siblings follow the section.
    updateRowSelection();
    emit selectedItemChanged();
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
    sectionModel(m_currentSection)->search(query);
}

void ContentViewModel::refreshToolAvailability()
{
    m_npm->refreshAvailability();
    m_homebrew->refreshAvailability();
}

void ContentViewModel::setErrorMessage(const std::optional<QString> &message)
{
    if (message == m_errorMessage)
        return;
    m_errorMessage = message;
    emit errorMessageChanged();
}

void ContentViewModel::setShowErrorAlert(bool show)
{
    if (show == m_showErrorAlert)
        return;
    m_showErrorAlert = show;
    emit showErrorAlertChanged();
}

void ContentViewModel::showErrors(const QStringList &errors)
{
    if (errors.isEmpty())
        return;
    setErrorMessage(errors.join(u'\n'));
    setShowErrorAlert(true);
}
