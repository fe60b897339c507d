#pragma once

#include "model/AppInfo.h"
#include "model/FileCategory.h"
#include "model/FileGroup.h"
#include "model/HomebrewPackage.h"
#include "model/Item.h"
#include "model/NPMPackage.h"
#include "model/SidebarSection.h"
#include "scanner/FileScanner.h"
#include "viewmodel/ApplicationsSection.h"
#include "viewmodel/CategoryEnums.h"
#include "viewmodel/DetailHeader.h"
#include "viewmodel/DetailPane.h"
#include "viewmodel/JobRunner.h"
#include "viewmodel/LeftoversSection.h"
#include "viewmodel/PackageSection.h"
#include "viewmodel/RemovalPane.h"
#include "viewmodel/ScanActivity.h"
#include "viewmodel/SectionEnum.h"
#include "viewmodel/SectionListModel.h"
#include "viewmodel/SystemDataSection.h"

#include <QObject>
#include <QString>
#include <QUuid>
#include <QtQml/qqmlregistration.h>

#include <array>
#include <optional>
#include <variant>

// The one observable state object of the program, as a facade over its parts: one child per
// sidebar section (applications, npm, homebrew, systemData, leftovers), the detail pane's files
// (detail) and their removal (removal). It keeps what spans them: the section shown, the search
// text, the selected item, the busy state and the error alert. QML binds to the children; the C++
// accessors below forward to them under the names the window's behaviour is described with.
// Every property is read and written on the GUI thread only.
//
// Threads: nothing here waits on the disk on the GUI thread. The constructor starts the
// application list on a worker and waits for it a few tens of milliseconds at most. Everything
// that walks the disk or starts a process runs on a worker (JobRunner) and is applied on the GUI
// thread: section loads on a load pool (a newer load of a section supersedes an older one);
// item scans and removals on one serial worker, in the order they were started (an item scan's
// result is dropped when a newer item scan, removal or change of section was started after it);
// the System Data scan on its own worker. The destructor cancels every job; results are
// delivered by queued calls guarded by a QPointer.
class ContentViewModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The window is given its view model")

    Q_PROPERTY(QString currentSection READ currentSectionTitle NOTIFY currentSectionChanged)
    Q_PROPERTY(Section::Value section READ section NOTIFY currentSectionChanged)
    Q_PROPERTY(QString searchQuery READ searchQuery WRITE setSearchQuery NOTIFY searchQueryChanged)
    Q_PROPERTY(bool isScanning READ isScanning NOTIFY isScanningChanged)
    Q_PROPERTY(bool isLoadingList READ isLoadingList NOTIFY isLoadingListChanged)
    Q_PROPERTY(QString scanProgressText READ scanProgressText NOTIFY scanProgressTextChanged)
    Q_PROPERTY(QString errorMessage READ errorMessageText NOTIFY errorMessageChanged)
    Q_PROPERTY(bool hasErrorMessage READ hasErrorMessage NOTIFY errorMessageChanged)
    Q_PROPERTY(bool showErrorAlert READ showErrorAlert WRITE setShowErrorAlert NOTIFY
                   showErrorAlertChanged)
    // The selected item's name, bundle identifier or "v" + version (a Homebrew type's display
    // name when a package has no version) and icon; empty while another section is shown.
    Q_PROPERTY(DetailHeader selectedItemHeader READ selectedItemHeader NOTIFY selectedItemChanged)
    Q_PROPERTY(ApplicationsSection *applications READ applications CONSTANT)
    Q_PROPERTY(PackageSection *npm READ npm CONSTANT)
    Q_PROPERTY(PackageSection *homebrew READ homebrew CONSTANT)
    Q_PROPERTY(SystemDataSection *systemData READ systemData CONSTANT)
    Q_PROPERTY(LeftoversSection *leftovers READ leftovers CONSTANT)
    // The section switcher's buttons, one per section.
    Q_PROPERTY(SectionListModel *sections READ sections CONSTANT)
    Q_PROPERTY(DetailPane *detail READ detail CONSTANT)
    Q_PROPERTY(RemovalPane *removal READ removal CONSTANT)

public:
    using SelectedItem = std::optional<Item>;

    explicit ContentViewModel(FileScanner scanner = FileScanner(), QObject *parent = nullptr);
    ~ContentViewModel() override;

    ApplicationsSection *applications() const { return m_applications; }
    PackageSection *npm() const { return m_npm; }
    PackageSection *homebrew() const { return m_homebrew; }
    SystemDataSection *systemData() const { return m_systemData; }
    LeftoversSection *leftovers() const { return m_leftovers; }
    SectionListModel *sections() const { return m_sectionList; }
    DetailPane *detail() const { return m_detail; }
    RemovalPane *removal() const { return m_removal; }
    // The child of a section.
    SectionModel *sectionModel(SidebarSection section) const { return m_sections[int(section)]; }

    // --- Section and search --------------------------------------------------------------------
    SidebarSection currentSection() const { return m_currentSection; }
    QString currentSectionTitle() const { return displayName(m_currentSection); }
    Section::Value section() const { return Section::of(m_currentSection); }
    // A section already shown: nothing. Otherwise clears the selection, the found files, the
    // search text and the System Data category, then loads the new section.
    void selectSection(SidebarSection section);
    Q_INVOKABLE void showSection(Section::Value section)
    {
        selectSection(Section::toSidebarSection(section));
    }
    void selectSection(const QString &title); // unknown titles are ignored
    // Loads the list of currentSection (System Data: starts the scan).
    void loadCurrentSection() { sectionModel(m_currentSection)->load(); }
    QString searchQuery() const { return m_searchQuery; }
    void setSearchQuery(const QString &query); // stores the text only
    // Stores the text and filters the shown section's list (nothing more in System Data).
    Q_INVOKABLE void search(const QString &query);
    bool isLoadingList() const { return sectionModel(m_currentSection)->isLoading(); }
    // Tool tests of the section switcher, on a worker: at start, on each change of section and
    // whenever the window becomes active (a tool installed meanwhile is found).
    Q_INVOKABLE void refreshToolAvailability();

    // --- Selection and item scans --------------------------------------------------------------
    const SelectedItem &selectedItem() const { return m_selectedItem; }
    // Stores the record the user picked (as a list row does before it starts the scan).
    void setSelectedItem(const SelectedItem &item);
    // selectedItem as the shown section's record type; nothing in any other case.
    std::optional<AppInfo> selectedApp() const;
    std::optional<NPMPackage> selectedNPMPackage() const;
    std::optional<HomebrewPackage> selectedHomebrewPackage() const;
    std::optional<LeftoverRow> selectedLeftover() const;
    // "app", "npm", "brew", "leftover" or "" after selectedApp and its siblings.
    QString selectedItemKind() const;
    DetailHeader selectedItemHeader() const;
    // Row actions: pick the record with this path / name (and type) and start its scan; nothing
    // when no such record is in the section's full list.
    Q_INVOKABLE void selectApplication(const QString &path);
    Q_INVOKABLE void selectNPMPackage(const QString &name);
    Q_INVOKABLE void selectHomebrewPackage(const QString &name, const QString &typeName);
    // Its files show as they were found, nothing ticked.
    Q_INVOKABLE void selectLeftover(const QString &name);
    // Item scans: isScanning true, fileGroups empty, result line absent at once. Application
    // files start unselected, package files selected. With no application selected
    // scanSelectedApp only ends the busy state.
    Q_INVOKABLE void scanSelectedApp();
    void scanNPMPackageFiles(const NPMPackage &package);
    void scanHomebrewPackageFiles(const HomebrewPackage &package);
    bool isScanning() const { return m_activity->isScanning(); }
    QString scanProgressText() const { return m_activity->progressText(); }

    // --- Lists, forwarded to the sections ----------------------------------------------------
    const QList<AppInfo> &allApps() const { return m_applications->allApps(); }
    const QList<AppInfo> &filteredApps() const { return m_applications->filteredApps(); }
    QList<AppInfo> userApplications() const { return m_applications->userApplications(); }
    QList<AppInfo> systemApplications() const { return m_applications->systemApplications(); }
    int allAppsCount() const { return m_applications->allCount(); }
    QList<NPMPackage> allNPMPackages() const;
    QList<NPMPackage> filteredNPMPackages() const;
    QList<HomebrewPackage> allHomebrewPackages() const;
    QList<HomebrewPackage> filteredHomebrewPackages() const;
    int allNPMPackagesCount() const { return m_npm->allCount(); }
    int allHomebrewPackagesCount() const { return m_homebrew->allCount(); }
    qint64 npmCacheSize() const { return m_npm->cacheSize(); }
    QString npmCacheSizeText() const { return m_npm->cacheSizeText(); }
    qint64 homebrewCacheSize() const { return m_homebrew->cacheSize(); }
    QString homebrewCacheSizeText() const { return m_homebrew->cacheSizeText(); }
    bool isNPMAvailable() const { return m_npm->isAvailable(); }
    bool isHomebrewAvailable() const { return m_homebrew->isAvailable(); }
    AppListModel *filteredAppsModel() const { return m_applications->filteredAppsModel(); }

    // --- Detail pane, forwarded ----------------------------------------------------------------
    const QList<FileGroup> &fileGroups() const { return m_detail->fileGroups(); }
    FileGroupListModel *fileGroupsModel() const { return m_detail->fileGroupsModel(); }
    void toggleFile(const QString &fileId) { m_detail->toggleFile(fileId); }
    void toggleFile(const QUuid &fileId) { toggleFile(fileId.toString()); }
    void setGroupSelection(const QString &groupId, bool selected)
    {
        m_detail->setGroupSelection(groupId, selected);
    }
    void setGroupSelection(const QUuid &groupId, bool selected)
    {
        setGroupSelection(groupId.toString(), selected);
    }
    void setAllSelected(bool selected) { m_detail->setAllSelected(selected); }
    QList<AssociatedFile> selectedFiles() const { return m_detail->selectedFiles(); }
    int totalSelectedCount() const { return m_detail->totalSelectedCount(); }
    qint64 totalSelectedSize() const;
    QString totalSelectedSizeText() const { return m_detail->totalSelectedSizeText(); }
    QString fileGroupsTotalSizeText() const { return m_detail->fileGroupsTotalSizeText(); }
    int fileGroupsFileCount() const { return m_detail->fileGroupsFileCount(); }
    bool sortBySize() const { return m_detail->sortBySize(); }
    void setSortBySize(bool sortBySize) { m_detail->setSortBySize(sortBySize); }
    QStringList openedFolders() const { return m_detail->openedFolders(); }
    void openFolder(const QString &path) { m_detail->openFolder(path); }
    void closeFolder() { m_detail->closeFolder(); }

    // --- Removal, forwarded --------------------------------------------------------------------
    QString deleteButtonTitle() const { return m_removal->deleteButtonTitle(); }
    QString deleteConfirmationMessage() const { return m_removal->deleteConfirmationMessage(); }
    void deleteSelected() { m_removal->deleteSelected(); }
    bool showDeleteConfirmation() const { return m_removal->showDeleteConfirmation(); }
    void setShowDeleteConfirmation(bool show) { m_removal->setShowDeleteConfirmation(show); }
    std::optional<QString> lastDeleteSummary() const { return m_removal->lastDeleteSummary(); }
    bool hasLastDeleteSummary() const { return m_removal->hasLastDeleteSummary(); }
    bool canPutBack() const { return m_removal->canPutBack(); }
    void putBackLastRemoval() { m_removal->putBackLastRemoval(); }

    std::optional<QString> errorMessage() const { return m_errorMessage; }
    QString errorMessageText() const { return m_errorMessage.value_or(QString()); }
    bool hasErrorMessage() const { return m_errorMessage.has_value(); }
    bool showErrorAlert() const { return m_showErrorAlert; }
    void setShowErrorAlert(bool show);

    // --- System Data, forwarded ----------------------------------------------------------------
    Q_INVOKABLE void startSystemDataScan() { m_systemData->load(); }
    // Takes a scan result. fileGroups and isScanning are touched only while System Data is shown
    // (isScanning only when no item scan or removal is pending).
    void applySystemDataResult(const SystemDataResult &result,
                               const QSet<QString> &directoryPaths = {});
    const QList<FileGroup> &systemDataGroups() const { return m_systemData->groups(); }
    const QList<FileGroup> &hiddenSystemDataGroups() const { return m_systemData->hiddenGroups(); }
    FileGroupListModel *systemDataGroupsModel() const { return m_systemData->groupsModel(); }
    int hiddenSystemCategoryCount() const { return m_systemData->hiddenCount(); }
    bool showHiddenSystemCategories() const { return m_systemData->showHidden(); }
    // Cleared by a change of section, kept across rescans.
    void setShowHiddenSystemCategories(bool show) { m_systemData->setShowHidden(show); }
    std::optional<FileCategory> selectedSystemCategory() const
    {
        return m_systemData->selectedCategory();
    }
    QString selectedSystemCategoryName() const { return m_systemData->selectedCategoryName(); }
    DetailHeader selectedSystemCategoryHeader() const;
    qint64 systemDataTotalSize() const { return m_systemData->totalSize(); }
    QString systemDataTotalSizeText() const { return m_systemData->totalSizeText(); }
    HomeCoverage *homeCoverage() const { return m_systemData->homeCoverage(); }
    // Ignored while isScanning. Opens the category's group with every file selected (empty when
    // the scan did not keep the category).
    void selectSystemCategory(FileCategory category);
    Q_INVOKABLE void showSystemCategory(Category::Value category); // for the System Data rows

    // True while any worker task of this view model has not been applied yet (tests wait on it).
    bool hasPendingWork() const;

signals:
    void currentSectionChanged();
    void searchQueryChanged();
    void isScanningChanged();
    void isLoadingListChanged();
    void scanProgressTextChanged();
    void errorMessageChanged();
    void showErrorAlertChanged();
    void selectedItemChanged();
    // Forwarded from the children, for those who watch the whole.
    void allAppsChanged();
    void allNPMPackagesChanged();
    void allHomebrewPackagesChanged();
    void npmCacheSizeChanged();
    void homebrewCacheSizeChanged();
    void selectedSystemCategoryChanged();
    void fileGroupsChanged();
    void selectionChanged();
    void lastDeleteSummaryChanged();
    void canPutBackChanged();
    void systemDataGroupsChanged();
    void openedFoldersChanged();

private:
    void connectChildren();
    void setCurrentSection(SidebarSection section);
    void setErrorMessage(const std::optional<QString> &message);
    void showErrors(const QStringList &errors);
    void updateRowSelection();
    void settleScanning() { m_activity->settle(); }
    // Scans the selected item again (after a removal or Put Back).
    void rescanSelectedItem();
    void startItemScan(const Item &item);
    void startItemScan(DetailPane::Search search);
    RemovalPlan removalPlan(const QList<AssociatedFile> &selected) const;
    void applyRemovalOutcome(quint64 generation, const RemovalPlan &plan,
                             const RemovalReport &outcome);
    void dropUninstalledItem(const RemovalPlan &plan);
    void applyPutBack(quint64 generation, const PutBack::Report &report);
    void openSystemCategoryFiles(const QSet<QString> &directoryPaths);
    template <typename Record> void adoptReloadedRecord(const QList<Record> &records);
    void adoptReloadedLeftovers(const QList<LeftoverRow> &rows);
    // Ends the pick of this leftover row when it is the selected item.
    void forgetLeftover(const QString &name);

    FileScanner m_scanner;
    // Destroyed before QObject deletes the children: every job is cancelled and the running ones
    // waited for before anything they report to goes.
    JobRunner m_jobs;

    SidebarSection m_currentSection = SidebarSection::applications;
    QString m_searchQuery;
    SelectedItem m_selectedItem;
    std::optional<QString> m_errorMessage;
    bool m_showErrorAlert = false;

    ScanActivity *m_activity;
    ApplicationsSection *m_applications;
    PackageSection *m_npm;
    PackageSection *m_homebrew;
    SystemDataSection *m_systemData;
    LeftoversSection *m_leftovers;
    // By SidebarSection: a new section is one more row here.
    std::array<SectionModel *, 5> m_sections;
    SectionListModel *m_sectionList;
    DetailPane *m_detail;
    RemovalPane *m_removal;
};
