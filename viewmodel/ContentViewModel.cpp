#include "viewmodel/ContentViewModel.h"

#include "model/ByteCountFormat.h"
#include "viewmodel/AppListModel.h"
#include "viewmodel/FileGroupListModel.h"
#include "viewmodel/FileSelection.h"
#include "viewmodel/HomebrewPackageListModel.h"
#include "viewmodel/NPMPackageListModel.h"
#include "viewmodel/RemovalRecord.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QPointer>
#include <QTimer>

namespace {

// How often a running scan may tell the window what it measures: often enough to look alive,
// rarely enough not to flood the GUI thread with events.
constexpr qint64 kProgressIntervalMs = 100;

constexpr int kSummaryLifetimeMs = 3000;

static_assert(int(ContentViewModel::Section::SystemData) == int(SidebarSection::systemData) &&
              int(ContentViewModel::Section::Homebrew) == int(SidebarSection::homebrew) &&
              int(ContentViewModel::Section::NPM) == int(SidebarSection::npm));

} // namespace

ContentViewModel::ContentViewModel(FileScanner scanner, QObject *parent)
    : QObject(parent), m_scanner(std::move(scanner)), m_filteredAppsModel(new AppListModel(this)),
      m_userApplicationsModel(new AppListModel(this)),
      m_systemApplicationsModel(new AppListModel(this)),
      m_filteredNPMPackagesModel(new NPMPackageListModel(this)),
      m_filteredHomebrewPackagesModel(new HomebrewPackageListModel(this)),
      m_fileGroupsModel(new FileGroupListModel(this)),
      m_systemDataGroupsModel(new FileGroupListModel(this)),
      m_hiddenSystemDataGroupsModel(new FileGroupListModel(this)),
      m_homeCoverage(new HomeCoverage(m_scanner.places().home(), this))
{
    // Every copy of the scanner handed to a worker watches this flag: closing the window stops
    // a long walk at once.
    m_scanner.setCancellationFlag(m_jobs.cancellationFlag());
    // What a removal stopped between claiming a name in the Trash and moving left, settled on
    // the serial worker: before any removal of this window, and off the GUI thread.
    m_jobs.run(
        JobRunner::Queue::serial, this,
        [settling = m_scanner] {
            RemovalRecord::settle(settling);
            return 0;
        },
        [](int) {});
    loadFirstApplications();
    refreshToolAvailability();
}

// Jobs are cancelled and waited for by m_jobs, declared last and so destroyed first.
ContentViewModel::~ContentViewModel() = default;

void ContentViewModel::showDeleteSummary(const QString &summary)
{
    setLastDeleteSummary(summary);
    QTimer::singleShot(kSummaryLifetimeMs, this, [this, summary] {
        // While Put Back is offered the line holds its button: it stays until the offer ends.
        if (m_lastDeleteSummary == summary && !canPutBack())
            setLastDeleteSummary(std::nullopt);
    });
}

void ContentViewModel::setShowErrorAlert(bool show)
{
    assignAndNotify(m_showErrorAlert, show, &ContentViewModel::showErrorAlertChanged);
}

void ContentViewModel::setShowDeleteConfirmation(bool show)
{
    assignAndNotify(m_showDeleteConfirmation, show,
                    &ContentViewModel::showDeleteConfirmationChanged);
}

void ContentViewModel::setSortBySize(bool sortBySize)
{
    assignAndNotify(m_sortBySize, sortBySize, &ContentViewModel::sortBySizeChanged);
}

QString ContentViewModel::npmCacheSizeText() const
{
    return formatByteCount(m_npmCacheSize);
}

QString ContentViewModel::homebrewCacheSizeText() const
{
    return formatByteCount(m_homebrewCacheSize);
}

QAbstractListModel *ContentViewModel::filteredAppsModel() const
{
    return m_filteredAppsModel;
}

QAbstractListModel *ContentViewModel::userApplicationsModel() const
{
    return m_userApplicationsModel;
}

QAbstractListModel *ContentViewModel::systemApplicationsModel() const
{
    return m_systemApplicationsModel;
}

QAbstractListModel *ContentViewModel::filteredNPMPackagesModel() const
{
    return m_filteredNPMPackagesModel;
}

QAbstractListModel *ContentViewModel::filteredHomebrewPackagesModel() const
{
    return m_filteredHomebrewPackagesModel;
}

QAbstractListModel *ContentViewModel::fileGroupsModel() const
{
    return m_fileGroupsModel;
}

QAbstractListModel *ContentViewModel::systemDataGroupsModel() const
{
    return m_systemDataGroupsModel;
}

QAbstractListModel *ContentViewModel::hiddenSystemDataGroupsModel() const
{
    return m_hiddenSystemDataGroupsModel;
}

bool ContentViewModel::hasPendingWork() const
{
    int loads = 0;
    for (int pending : m_pendingLoads)
        loads += pending;
    return m_pendingItemWork > 0 || m_pendingSystemScans > 0 || loads > 0 || m_pendingOtherWork > 0;
}

void ContentViewModel::setCurrentSection(SidebarSection section)
{
    if (section == m_currentSection)
        return;
    m_currentSection = section;
    emit currentSectionChanged();
    // selectedApp and its siblings follow the section.
    updateRowSelection();
    emit selectedItemChanged();
}

void ContentViewModel::setIsScanning(bool scanning)
{
    assignAndNotify(m_isScanning, scanning, &ContentViewModel::isScanningChanged);
}

void ContentViewModel::setIsLoadingList(bool loading)
{
    assignAndNotify(m_isLoadingList, loading, &ContentViewModel::isLoadingListChanged);
}

void ContentViewModel::setScanProgressText(const QString &text)
{
    if (text == m_scanProgressText)
        return;
    m_scanProgressText = text;
    emit scanProgressTextChanged();
}

void ContentViewModel::setErrorMessage(const std::optional<QString> &message)
{
    if (message == m_errorMessage)
        return;
    m_errorMessage = message;
    emit errorMessageChanged();
}

void ContentViewModel::setLastDeleteSummary(const std::optional<QString> &summary)
{
    if (summary == m_lastDeleteSummary)
        return;
    m_lastDeleteSummary = summary;
    emit lastDeleteSummaryChanged();
    if (!summary)
        offerPutBack({});
}

void ContentViewModel::setNPMCacheSize(qint64 size)
{
    assignAndNotify(m_npmCacheSize, size, &ContentViewModel::npmCacheSizeChanged);
}

void ContentViewModel::setHomebrewCacheSize(qint64 size)
{
    assignAndNotify(m_homebrewCacheSize, size, &ContentViewModel::homebrewCacheSizeChanged);
}

void ContentViewModel::setIsNPMAvailable(bool available)
{
    assignAndNotify(m_isNPMAvailable, available, &ContentViewModel::isNPMAvailableChanged);
}

void ContentViewModel::setIsHomebrewAvailable(bool available)
{
    assignAndNotify(m_isHomebrewAvailable, available,
                    &ContentViewModel::isHomebrewAvailableChanged);
}

void ContentViewModel::setHiddenSystemCategoryCount(int count)
{
    assignAndNotify(m_hiddenSystemCategoryCount, count,
                    &ContentViewModel::hiddenSystemCategoryCountChanged);
}

void ContentViewModel::setSelectedSystemCategory(std::optional<FileCategory> category)
{
    if (category == m_selectedSystemCategory)
        return;
    m_selectedSystemCategory = category;
    m_systemDataGroupsModel->setHighlightedCategory(category);
    m_hiddenSystemDataGroupsModel->setHighlightedCategory(category);
    emit selectedSystemCategoryChanged();
}

void ContentViewModel::setAllApps(const QList<AppInfo> &apps)
{
    m_allApps = apps;
    emit allAppsChanged();
}

void ContentViewModel::setFilteredApps(const QList<AppInfo> &apps)
{
    m_filteredApps = apps;
    m_filteredAppsModel->setApps(apps);
    m_userApplicationsModel->setApps(userApplications());
    m_systemApplicationsModel->setApps(systemApplications());
    updateRowSelection();
    emit filteredAppsChanged();
}

namespace {

// The icon sources worked out when a list was loaded, in the order of the packages shown.
template <typename Package>
QStringList iconSourcesOf(const QList<Package> &packages, const QHash<QUuid, QString> &sources)
{
    QStringList icons;
    icons.reserve(packages.size());
    for (const Package &package : packages)
        icons.append(sources.value(package.id));
    return icons;
}

} // namespace

void ContentViewModel::setAllNPMPackages(const QList<NPMPackage> &packages)
{
    m_allNPMPackages = packages;
    emit allNPMPackagesChanged();
}

void ContentViewModel::setFilteredNPMPackages(const QList<NPMPackage> &packages)
{
    m_filteredNPMPackages = packages;
    m_filteredNPMPackagesModel->setPackages(packages, iconSourcesOf(packages, m_npmIconSources));
    updateRowSelection();
    emit filteredNPMPackagesChanged();
}

void ContentViewModel::setAllHomebrewPackages(const QList<HomebrewPackage> &packages)
{
    m_allHomebrewPackages = packages;
    emit allHomebrewPackagesChanged();
}

void ContentViewModel::setFilteredHomebrewPackages(const QList<HomebrewPackage> &packages)
{
    m_filteredHomebrewPackages = packages;
    m_filteredHomebrewPackagesModel->setPackages(packages,
                                                 iconSourcesOf(packages, m_homebrewIconSources));
    updateRowSelection();
    emit filteredHomebrewPackagesChanged();
}

// Replaces fileGroups whole (model reset).
void ContentViewModel::setFileGroups(const QList<FileGroup> &groups,
                                     const QSet<QString> &directoryPaths)
{
    setOpenedFolders({});
    if (groups.isEmpty() && m_fileGroups.isEmpty())
        return;
    m_fileGroups = groups;
    m_fileGroupDirectories = directoryPaths;
    m_fileGroupsModel->setGroups(groups, directoryPaths);
    emit fileGroupsChanged();
    emit selectionChanged();
}

// Publishes a selection change inside fileGroups (dataChanged on the changed rows).
void ContentViewModel::publishSelection(const QList<FileGroup> &groups)
{
    if (FileSelection::sameTicks(groups, m_fileGroups))
        return;
    m_fileGroups = groups;
    m_fileGroupsModel->updateGroups(groups);
    emit selectionChanged();
}

void ContentViewModel::setSystemDataGroups(const SystemDataResult &result,
                                           const QSet<QString> &directoryPaths)
{
    m_systemDataGroups = result.groups;
    m_hiddenSystemDataGroups = result.hiddenGroups;
    m_systemDataDirectories = directoryPaths;
    m_systemDataGroupsModel->setGroups(result.groups, directoryPaths);
    m_hiddenSystemDataGroupsModel->setGroups(result.hiddenGroups, directoryPaths);
    emit systemDataGroupsChanged();
    // The selected category's count text reads these groups.
    emit selectedSystemCategoryChanged();
}

void ContentViewModel::updateRowSelection()
{
    const auto app = selectedApp();
    const QUuid appId = app ? app->id : QUuid();
    m_filteredAppsModel->setSelectedId(appId);
    m_userApplicationsModel->setSelectedId(appId);
    m_systemApplicationsModel->setSelectedId(appId);
    const auto npm = selectedNPMPackage();
    m_filteredNPMPackagesModel->setSelectedId(npm ? npm->id : QUuid());
    const auto brew = selectedHomebrewPackage();
    m_filteredHomebrewPackagesModel->setSelectedId(brew ? brew->id : QUuid());
}

// isScanning as the pending work dictates: item work pending, or a System Data scan pending
// while that section is shown.
void ContentViewModel::settleScanning()
{
    const bool busy = m_pendingItemWork > 0 ||
                      (m_currentSection == SidebarSection::systemData && m_pendingSystemScans > 0);
    setIsScanning(busy);
    if (!busy)
        setScanProgressText(QString());
}

void ContentViewModel::updateLoadingList()
{
    setIsLoadingList(m_pendingLoads.value(int(m_currentSection)) > 0);
}

// A progress callback for a worker: throttled, delivered to the GUI thread, shown only while
// the scan it belongs to is still the one the user waits for.
ScanProgress ContentViewModel::progressReporter(quint64 generation, bool systemData)
{
    struct Throttle
    {
        QMutex mutex;
        QElapsedTimer sinceLast;
    };
    const auto throttle = std::make_shared<Throttle>();
    const QPointer<ContentViewModel> guard(this);
    ContentViewModel *self = this;
    return [throttle, guard, self, generation, systemData](const QString &what) {
        {
            QMutexLocker locker(&throttle->mutex);
            if (throttle->sinceLast.isValid() &&
                throttle->sinceLast.elapsed() < kProgressIntervalMs)
                return;
            throttle->sinceLast.start();
        }
        QMetaObject::invokeMethod(
            self,
            [guard, what, generation, systemData] {
                ContentViewModel *model = guard.data();
                if (!model || !model->m_isScanning)
                    return;
                const bool relevant = systemData
                                          ? model->m_currentSection == SidebarSection::systemData &&
                                                model->m_pendingItemWork == 0
                                          : generation == model->m_itemGeneration;
                if (relevant)
                    model->setScanProgressText(what);
            },
            Qt::QueuedConnection);
    };
}
