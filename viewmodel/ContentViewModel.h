#pragma once

#include "model/AppInfo.h"
#include "model/FileCategory.h"
#include "model/FileGroup.h"
#include "model/HomebrewPackage.h"
#include "model/Item.h"
#include "model/NPMPackage.h"
#include "model/SidebarSection.h"
#include "scanner/FileScanner.h"
#include "viewmodel/CategoryEnums.h"
#include "viewmodel/DetailHeader.h"
#include "viewmodel/HomeCoverage.h"
#include "viewmodel/JobRunner.h"
#include "viewmodel/PutBack.h"
#include "viewmodel/RemovalJob.h"

#include <QAbstractListModel>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QUuid>

#include <functional>
#include <optional>
#include <variant>

class AppListModel;
class FileGroupListModel;
class HomebrewPackageListModel;
class NPMPackageListModel;

// The one observable state object of the program: the section shown, the loaded and filtered
// lists, the selected item, the found file groups and their selection, the removal with its result
// line and error alert, and the System Data state. Every property is read and written on the GUI
// thread only.
//
// Threads: nothing here waits on the disk on the GUI thread. The constructor starts the
// application list on a worker and waits for it a few tens of milliseconds at most (a quick disk
// fills the first window; a slow one shows the list's busy state). Everything that walks the
// disk or starts a process runs on a worker (JobRunner) and is applied on the GUI thread:
// - section loads (with cache sizes and tool tests) on a load pool; a newer load of a section
//   supersedes an older one; isLoadingList is true while the shown section's list loads;
// - item scans and removals on one serial worker, in the order they were started; an item scan's
//   result is dropped when a newer item scan, a removal or a change of section was started after
//   it, and isScanning stays true until the newest of them has finished;
// - the System Data scan on its own worker.
// A destroyed view model is never touched: the destructor cancels every job (running walks stop
// soon, queued ones are dropped) and results are delivered by queued calls guarded by a QPointer.
//
// For QML: an absent optional string is "" with a has... companion where absence matters; byte
// counts are qint64 with a ...Text companion (formatByteCount); lists are CONSTANT list models,
// reset when the list is replaced.
class ContentViewModel : public QObject
{
    Q_OBJECT

    Q_PROPERTY(QString currentSection READ currentSectionTitle NOTIFY currentSectionChanged)
    Q_PROPERTY(Section section READ section NOTIFY currentSectionChanged)
    Q_PROPERTY(QString searchQuery READ searchQuery WRITE setSearchQuery NOTIFY searchQueryChanged)
    Q_PROPERTY(bool isScanning READ isScanning NOTIFY isScanningChanged)
    Q_PROPERTY(bool isLoadingList READ isLoadingList NOTIFY isLoadingListChanged)
    Q_PROPERTY(QString scanProgressText READ scanProgressText NOTIFY scanProgressTextChanged)
    Q_PROPERTY(QString errorMessage READ errorMessageText NOTIFY errorMessageChanged)
    Q_PROPERTY(bool hasErrorMessage READ hasErrorMessage NOTIFY errorMessageChanged)
    Q_PROPERTY(bool showErrorAlert READ showErrorAlert WRITE setShowErrorAlert NOTIFY
                   showErrorAlertChanged)
    Q_PROPERTY(bool showDeleteConfirmation READ showDeleteConfirmation WRITE
                   setShowDeleteConfirmation NOTIFY showDeleteConfirmationChanged)
    Q_PROPERTY(QString lastDeleteSummary READ lastDeleteSummaryText NOTIFY lastDeleteSummaryChanged)
    Q_PROPERTY(bool hasLastDeleteSummary READ hasLastDeleteSummary NOTIFY lastDeleteSummaryChanged)
    // The result line offers Put Back: from a removal that moved files to the Trash until the line
    // goes (the next item scan or removal, or Put Back itself).
    Q_PROPERTY(bool canPutBack READ canPutBack NOTIFY canPutBackChanged)
    Q_PROPERTY(bool sortBySize READ sortBySize WRITE setSortBySize NOTIFY sortBySizeChanged)
    Q_PROPERTY(qint64 npmCacheSize READ npmCacheSize NOTIFY npmCacheSizeChanged)
    Q_PROPERTY(QString npmCacheSizeText READ npmCacheSizeText NOTIFY npmCacheSizeChanged)
    Q_PROPERTY(qint64 homebrewCacheSize READ homebrewCacheSize NOTIFY homebrewCacheSizeChanged)
    Q_PROPERTY(
        QString homebrewCacheSizeText READ homebrewCacheSizeText NOTIFY homebrewCacheSizeChanged)
    Q_PROPERTY(int hiddenSystemCategoryCount READ hiddenSystemCategoryCount NOTIFY
                   hiddenSystemCategoryCountChanged)
    // Whether the categories under the display threshold are shown as rows under the others.
    Q_PROPERTY(bool showHiddenSystemCategories READ showHiddenSystemCategories WRITE
                   setShowHiddenSystemCategories NOTIFY showHiddenSystemCategoriesChanged)
    // The selected category's case name ("" when none).
    Q_PROPERTY(QString selectedSystemCategory READ selectedSystemCategoryName NOTIFY
                   selectedSystemCategoryChanged)
    // The selected category's display name, count text ("3 items · 1.2 GB", "1 item", "" when
    // the category is not in systemDataGroups) and symbol.
    Q_PROPERTY(DetailHeader selectedSystemCategoryHeader READ selectedSystemCategoryHeader NOTIFY
                   selectedSystemCategoryChanged)
    Q_PROPERTY(bool isNPMAvailable READ isNPMAvailable NOTIFY isNPMAvailableChanged)
    Q_PROPERTY(bool isHomebrewAvailable READ isHomebrewAvailable NOTIFY isHomebrewAvailableChanged)

    // Sizes of the full lists (the empty states tell "no results" from "nothing installed").
    Q_PROPERTY(int allAppsCount READ allAppsCount NOTIFY allAppsChanged)
    Q_PROPERTY(int allNPMPackagesCount READ allNPMPackagesCount NOTIFY allNPMPackagesChanged)
    Q_PROPERTY(int allHomebrewPackagesCount READ allHomebrewPackagesCount NOTIFY
                   allHomebrewPackagesChanged)

    Q_PROPERTY(QAbstractListModel *filteredApps READ filteredAppsModel CONSTANT)
    Q_PROPERTY(QAbstractListModel *userApplications READ userApplicationsModel CONSTANT)
    Q_PROPERTY(QAbstractListModel *systemApplications READ systemApplicationsModel CONSTANT)
    Q_PROPERTY(QAbstractListModel *filteredNPMPackages READ filteredNPMPackagesModel CONSTANT)
    Q_PROPERTY(
        QAbstractListModel *filteredHomebrewPackages READ filteredHomebrewPackagesModel CONSTANT)
    Q_PROPERTY(QAbstractListModel *fileGroups READ fileGroupsModel CONSTANT)
    Q_PROPERTY(QAbstractListModel *systemDataGroups READ systemDataGroupsModel CONSTANT)
    Q_PROPERTY(QAbstractListModel *hiddenSystemDataGroups READ hiddenSystemDataGroupsModel CONSTANT)

    // The selected item, following selectedApp, selectedNPMPackage and selectedHomebrewPackage
    // (so empty while another section is shown): its kind ("app", "npm", "brew" or ""), and its
    // name, bundle identifier or "v" + version (a Homebrew type's display name when a package has
    // no version) and icon.
    Q_PROPERTY(QString selectedItemKind READ selectedItemKind NOTIFY selectedItemChanged)
    Q_PROPERTY(DetailHeader selectedItemHeader READ selectedItemHeader NOTIFY selectedItemChanged)

    // Totals of fileGroups, re-announced whenever the groups or their selection change.
    Q_PROPERTY(int totalSelectedCount READ totalSelectedCount NOTIFY selectionChanged)
    Q_PROPERTY(qint64 totalSelectedSize READ totalSelectedSize NOTIFY selectionChanged)
    Q_PROPERTY(QString totalSelectedSizeText READ totalSelectedSizeText NOTIFY selectionChanged)
    Q_PROPERTY(qint64 fileGroupsTotalSize READ fileGroupsTotalSize NOTIFY selectionChanged)
    Q_PROPERTY(QString fileGroupsTotalSizeText READ fileGroupsTotalSizeText NOTIFY selectionChanged)
    Q_PROPERTY(int fileGroupsFileCount READ fileGroupsFileCount NOTIFY selectionChanged)
    Q_PROPERTY(bool hasPackageFiles READ hasPackageFiles NOTIFY selectionChanged)
    Q_PROPERTY(
        QString deleteConfirmationMessage READ deleteConfirmationMessage NOTIFY selectionChanged)
    Q_PROPERTY(QString deleteButtonTitle READ deleteButtonTitle NOTIFY selectionChanged)
    Q_PROPERTY(qint64 systemDataTotalSize READ systemDataTotalSize NOTIFY systemDataGroupsChanged)
    Q_PROPERTY(
        QString systemDataTotalSizeText READ systemDataTotalSizeText NOTIFY systemDataGroupsChanged)
    // The home's figures for the System Data header: progress while scanning, then coverage.
    Q_PROPERTY(HomeCoverage *homeCoverage READ homeCoverage CONSTANT)
    // The folders opened below a Large Folders row, outermost first ([] at the category's top).
    Q_PROPERTY(QStringList openedFolders READ openedFolders NOTIFY openedFoldersChanged)

public:
    using SelectedItem = std::optional<Item>;

    // The sidebar sections as the window compares them (SidebarSection, named for QML).
    enum class Section
    {
        Applications,
        NPM,
        Homebrew,
        SystemData,
    };
    Q_ENUM(Section)

    explicit ContentViewModel(FileScanner scanner = FileScanner(), QObject *parent = nullptr);
    ~ContentViewModel() override;

    // --- Section, lists and search -------------------------------------------------------------
    SidebarSection currentSection() const { return m_currentSection; }
    QString currentSectionTitle() const { return displayName(m_currentSection); }
    Section section() const { return static_cast<Section>(m_currentSection); }
    Q_INVOKABLE void showSection(Section section); // selectSection for the section buttons
    const QList<AppInfo> &allApps() const { return m_allApps; }
    const QList<AppInfo> &filteredApps() const { return m_filteredApps; }
    const QList<NPMPackage> &allNPMPackages() const { return m_allNPMPackages; }
    const QList<NPMPackage> &filteredNPMPackages() const { return m_filteredNPMPackages; }
    const QList<HomebrewPackage> &allHomebrewPackages() const { return m_allHomebrewPackages; }
    const QList<HomebrewPackage> &filteredHomebrewPackages() const
    {
        return m_filteredHomebrewPackages;
    }
    int allAppsCount() const { return int(m_allApps.size()); }
    int allNPMPackagesCount() const { return int(m_allNPMPackages.size()); }
    int allHomebrewPackagesCount() const { return int(m_allHomebrewPackages.size()); }
    // Members of filteredApps under the home folder's Applications folder / the system one.
    QList<AppInfo> userApplications() const;
    QList<AppInfo> systemApplications() const;

    // Loads the list of currentSection (System Data: starts the scan).
    void loadCurrentSection();
    // Start the load of one section on a worker; the result replaces the full and shown lists.
    void loadApplications();
    void loadNPMPackages();
    void loadHomebrewPackages();

    // A section already shown: nothing. Otherwise clears the selection, the found files, the
    // search text and the System Data category, then loads the new section.
    void selectSection(SidebarSection section);
    Q_INVOKABLE void selectSection(const QString &title); // unknown titles are ignored

    QString searchQuery() const { return m_searchQuery; }
    void setSearchQuery(const QString &query); // stores the text only
    // Stores the text and filters the shown section's list (see ItemFilter; nothing more in
    // System Data).
    Q_INVOKABLE void search(const QString &query);

    // --- Selection and item scans --------------------------------------------------------------
    const SelectedItem &selectedItem() const { return m_selectedItem; }
    // Stores the record the user picked (as a list row does before it starts the scan).
    void setSelectedItem(const SelectedItem &item);
    // selectedItem as the shown section's record type; nothing in any other case.
    std::optional<AppInfo> selectedApp() const;
    std::optional<NPMPackage> selectedNPMPackage() const;
    std::optional<HomebrewPackage> selectedHomebrewPackage() const;

    // Row actions: store the record with this path / name (and type) in selectedItem and start
    // the matching scan; nothing when no such record is in the section's full list.
    Q_INVOKABLE void selectApplication(const QString &path);
    Q_INVOKABLE void selectNPMPackage(const QString &name);
    Q_INVOKABLE void selectHomebrewPackage(const QString &name, const QString &typeName);

    // Item scans: isScanning true, fileGroups empty, result line absent at once; the search runs
    // on the serial worker. Application files start unselected, package files selected.
    // scanSelectedApp with no application selected only ends the busy state.
    Q_INVOKABLE void scanSelectedApp();
    void scanNPMPackageFiles(const NPMPackage &package);
    void scanHomebrewPackageFiles(const HomebrewPackage &package);

    const QList<FileGroup> &fileGroups() const { return m_fileGroups; }
    // Unknown ids do nothing. Toggling the bundle applies its new value to every file; Cellar and
    // Caskroom changes make the download cache follow.
    void toggleFile(const QUuid &fileId);
    Q_INVOKABLE void toggleFile(const QString &fileId);
    void setGroupSelection(const QUuid &groupId, bool selected);
    Q_INVOKABLE void setGroupSelection(const QString &groupId, bool selected);
    Q_INVOKABLE void setAllSelected(bool selected);
    // The download cache group is selected exactly when a Cellar or Caskroom file is.
    void syncDownloadCacheSelection();

    QList<AssociatedFile> selectedFiles() const;
    int totalSelectedCount() const;
    qint64 totalSelectedSize() const;
    QString totalSelectedSizeText() const;
    qint64 fileGroupsTotalSize() const;
    QString fileGroupsTotalSizeText() const;
    int fileGroupsFileCount() const;

    bool isScanning() const { return m_isScanning; }
    bool isLoadingList() const { return m_isLoadingList; }
    // What the running scan measures now ("" when idle).
    QString scanProgressText() const { return m_scanProgressText; }

    // --- Removal -------------------------------------------------------------------------------
    // Any selected file is a Cellar, Caskroom or Global Modules file.
    bool hasPackageFiles() const;
    // "Uninstall & Remove" when the removal would run an uninstall, else "Move to Trash".
    QString deleteButtonTitle() const;
    // The confirmation text: uninstall part, Move part, closing sentence, warning paragraph.
    QString deleteConfirmationMessage() const;
    // Removes the current selection on the serial worker (uninstall, then Trash); nothing when
    // no file is selected.
    Q_INVOKABLE void deleteSelected();
    // Shows the result line; it is cleared 3 seconds later unless replaced meanwhile or Put Back
    // is offered (then it stays while the offer does).
    void showDeleteSummary(const QString &summary);
    bool canPutBack() const { return !m_putBackItems.isEmpty(); }
    // Moves the files of the last removal back from the Trash on the serial worker, where their
    // places are free (see PutBack); the package manager's uninstall is not undone. The offer
    // ends at once; the result line tells what came back, the error alert what did not, and the
    // shown list and item are loaded again. Nothing when canPutBack is false.
    Q_INVOKABLE void putBackLastRemoval();

    std::optional<QString> errorMessage() const { return m_errorMessage; }
    QString errorMessageText() const { return m_errorMessage.value_or(QString()); }
    bool hasErrorMessage() const { return m_errorMessage.has_value(); }
    bool showErrorAlert() const { return m_showErrorAlert; }
    void setShowErrorAlert(bool show);
    Q_INVOKABLE void dismissError() { setShowErrorAlert(false); }
    bool showDeleteConfirmation() const { return m_showDeleteConfirmation; }
    void setShowDeleteConfirmation(bool show);
    std::optional<QString> lastDeleteSummary() const { return m_lastDeleteSummary; }
    QString lastDeleteSummaryText() const { return m_lastDeleteSummary.value_or(QString()); }
    bool hasLastDeleteSummary() const { return m_lastDeleteSummary.has_value(); }
    bool sortBySize() const { return m_sortBySize; }
    void setSortBySize(bool sortBySize);

    qint64 npmCacheSize() const { return m_npmCacheSize; }
    QString npmCacheSizeText() const;
    qint64 homebrewCacheSize() const { return m_homebrewCacheSize; }
    QString homebrewCacheSizeText() const;
    // Tool tests of the section switcher, measured on a worker at start, on each change of section
    // and load, and whenever the window becomes active (a tool installed meanwhile is found).
    // Taken as available until the first test says otherwise, so no button starts dimmed.
    bool isNPMAvailable() const { return m_isNPMAvailable; }
    bool isHomebrewAvailable() const { return m_isHomebrewAvailable; }
    Q_INVOKABLE void refreshToolAvailability();

    // --- System data ---------------------------------------------------------------------------
    const QList<FileGroup> &systemDataGroups() const { return m_systemDataGroups; }
    int hiddenSystemCategoryCount() const { return m_hiddenSystemCategoryCount; }
    // The categories the scan measured under the display threshold, largest first: not in
    // systemDataGroups nor its total, shown only on request, and opened like any other.
    const QList<FileGroup> &hiddenSystemDataGroups() const { return m_hiddenSystemDataGroups; }
    bool showHiddenSystemCategories() const { return m_showHiddenSystemCategories; }
    // Cleared by a change of section, kept across rescans.
    void setShowHiddenSystemCategories(bool show);
    std::optional<FileCategory> selectedSystemCategory() const { return m_selectedSystemCategory; }
    QString selectedSystemCategoryName() const;
    DetailHeader selectedSystemCategoryHeader() const;
    // Of the shown categories but Your Files.
    qint64 systemDataTotalSize() const;
    QString systemDataTotalSizeText() const;

    // isScanning true, then the scan on its own worker; the result is applied on the GUI thread.
    Q_INVOKABLE void startSystemDataScan();
    // Takes a scan result. fileGroups and isScanning are touched only while System Data is shown
    // (isScanning only when no item scan or removal is pending).
    void applySystemDataResult(const SystemDataResult &result,
                               const QSet<QString> &directoryPaths = {});
    // Ignored while isScanning. Opens the category's group with every file selected (empty when
    // the category is neither in systemDataGroups nor in hiddenSystemDataGroups).
    void selectSystemCategory(FileCategory category);
    Q_INVOKABLE void showSystemCategory(Category::Value category); // for the System Data rows
    HomeCoverage *homeCoverage() const { return m_homeCoverage; }

    // The Large Folders drill-down. openFolder shows, in place of the detail pane's files, the
    // largest entries of one of its large folders (measured on the serial worker, none ticked);
    // ignored while isScanning or outside System Data. closeFolder goes back one level, to the
    // files as they were left. Any other change of the detail pane's files closes them all.
    QStringList openedFolders() const;
    Q_INVOKABLE void openFolder(const QString &path);
    Q_INVOKABLE void closeFolder();

    // --- List models for QML -------------------------------------------------------------------
    QAbstractListModel *filteredAppsModel() const;
    QAbstractListModel *userApplicationsModel() const;
    QAbstractListModel *systemApplicationsModel() const;
    QAbstractListModel *filteredNPMPackagesModel() const;
    QAbstractListModel *filteredHomebrewPackagesModel() const;
    QAbstractListModel *fileGroupsModel() const;
    QAbstractListModel *systemDataGroupsModel() const;
    QAbstractListModel *hiddenSystemDataGroupsModel() const;

    QString selectedItemKind() const;
    DetailHeader selectedItemHeader() const;

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
    void showDeleteConfirmationChanged();
    void lastDeleteSummaryChanged();
    void canPutBackChanged();
    void sortBySizeChanged();
    void npmCacheSizeChanged();
    void homebrewCacheSizeChanged();
    void hiddenSystemCategoryCountChanged();
    void showHiddenSystemCategoriesChanged();
    void selectedSystemCategoryChanged();
    void isNPMAvailableChanged();
    void isHomebrewAvailableChanged();
    void allAppsChanged();
    void filteredAppsChanged();
    void allNPMPackagesChanged();
    void filteredNPMPackagesChanged();
    void allHomebrewPackagesChanged();
    void filteredHomebrewPackagesChanged();
    void selectedItemChanged();
    // fileGroups was replaced whole (selectionChanged follows).
    void fileGroupsChanged();
    // The selection inside fileGroups changed (or fileGroups was replaced).
    void selectionChanged();
    void systemDataGroupsChanged();
    void openedFoldersChanged();

private:
    // Stores value and announces the change, only when it differs: views redraw on every signal.
    template <typename T>
    void assignAndNotify(T &field, const T &value, void (ContentViewModel::*changed)())
    {
        if (field == value)
            return;
        field = value;
        emit(this->*changed)();
    }

    struct ScanOutcome;

    void setCurrentSection(SidebarSection section);
    void setIsScanning(bool scanning);
    void setIsLoadingList(bool loading);
    void setScanProgressText(const QString &text);
    void setErrorMessage(const std::optional<QString> &message);
    void setLastDeleteSummary(const std::optional<QString> &summary);
    void setNPMCacheSize(qint64 size);
    void setHomebrewCacheSize(qint64 size);
    void setIsNPMAvailable(bool available);
    void setIsHomebrewAvailable(bool available);
    void setHiddenSystemCategoryCount(int count);
    void setSelectedSystemCategory(std::optional<FileCategory> category);
    void setAllApps(const QList<AppInfo> &apps);
    void setFilteredApps(const QList<AppInfo> &apps);
    void setAllNPMPackages(const QList<NPMPackage> &packages);
    void setFilteredNPMPackages(const QList<NPMPackage> &packages);
    void setAllHomebrewPackages(const QList<HomebrewPackage> &packages);
    void setFilteredHomebrewPackages(const QList<HomebrewPackage> &packages);
    void setFileGroups(const QList<FileGroup> &groups, const QSet<QString> &directoryPaths = {});
    void publishSelection(const QList<FileGroup> &groups);
    void setSystemDataGroups(const SystemDataResult &result, const QSet<QString> &directoryPaths);
    void updateRowSelection();
    void settleScanning();
    void updateLoadingList();

    void startItemScan(const Item &item);
    void applyRemovalOutcome(quint64 generation, const RemovalPlan &plan,
                             const RemovalReport &outcome);
    void dropUninstalledItem(const RemovalPlan &plan);
    RemovalPlan currentRemovalPlan() const;
    static QString removalSummary(const RemovalReport &outcome);
    void offerPutBack(const QList<TrashedItem> &items);
    void applyPutBack(quint64 generation, const PutBack::Report &report);
    void loadFirstApplications();
    void applyApplications(const QList<AppInfo> &apps);
    // The group of that category, shown or hidden; nothing when the scan did not keep it.
    const FileGroup *systemDataGroup(FileCategory category) const;
    // That category's group as the detail pane opens it: one copy, ticked as a System Data
    // category opens (FileSelection::tickOpenedSystemCategory).
    QList<FileGroup> openedSystemCategory(std::optional<FileCategory> category) const;
    // Categories measured so far by the running scan: rows only, the scan goes on.
    void applySystemDataPartial(const SystemDataResult &partial,
                                const QSet<QString> &directoryPaths);
    struct OpenedFolder
    {
        QString path;
        QList<FileGroup> parentGroups; // the detail pane's files when it was opened
        QSet<QString> parentDirectories;
    };
    void setOpenedFolders(const QList<OpenedFolder> &trail);
    quint64 beginItemWork();
    template <typename Work, typename Apply>
    void startLoad(SidebarSection section, Work work, Apply apply);
    ScanProgress progressReporter(quint64 generation, bool systemData);
    template <typename Record> void adoptReloadedRecord(const QList<Record> &records);

    FileScanner m_scanner;

    SidebarSection m_currentSection = SidebarSection::applications;
    QList<AppInfo> m_allApps;
    QList<AppInfo> m_filteredApps;
    QList<NPMPackage> m_allNPMPackages;
    QList<NPMPackage> m_filteredNPMPackages;
    QHash<QUuid, QString> m_npmIconSources;
    QList<HomebrewPackage> m_allHomebrewPackages;
    QList<HomebrewPackage> m_filteredHomebrewPackages;
    QHash<QUuid, QString> m_homebrewIconSources;
    QString m_searchQuery;
    SelectedItem m_selectedItem;
    QList<FileGroup> m_fileGroups;
    QSet<QString> m_fileGroupDirectories;
    QList<OpenedFolder> m_openedFolders;
    bool m_isScanning = false;
    bool m_isLoadingList = false;
    QString m_scanProgressText;
    std::optional<QString> m_errorMessage;
    bool m_showErrorAlert = false;
    bool m_showDeleteConfirmation = false;
    std::optional<QString> m_lastDeleteSummary;
    QList<TrashedItem> m_putBackItems;
    bool m_sortBySize = false;
    qint64 m_npmCacheSize = 0;
    qint64 m_homebrewCacheSize = 0;
    bool m_isNPMAvailable = true;
    bool m_isHomebrewAvailable = true;
    QList<FileGroup> m_systemDataGroups;
    QSet<QString> m_systemDataDirectories;
    int m_hiddenSystemCategoryCount = 0;
    QList<FileGroup> m_hiddenSystemDataGroups;
    bool m_showHiddenSystemCategories = false;
    std::optional<FileCategory> m_selectedSystemCategory;

    // Bumped by every item scan, removal and change of section: older item scans are dropped.
    quint64 m_itemGeneration = 0;
    int m_pendingItemWork = 0;
    int m_pendingSystemScans = 0;
    // Per section: the newest load started, and how many loads are running.
    QHash<int, quint64> m_loadGeneration;
    QHash<int, int> m_pendingLoads;
    int m_pendingOtherWork = 0;

    AppListModel *m_filteredAppsModel;
    AppListModel *m_userApplicationsModel;
    AppListModel *m_systemApplicationsModel;
    NPMPackageListModel *m_filteredNPMPackagesModel;
    HomebrewPackageListModel *m_filteredHomebrewPackagesModel;
    FileGroupListModel *m_fileGroupsModel;
    FileGroupListModel *m_systemDataGroupsModel;
    FileGroupListModel *m_hiddenSystemDataGroupsModel;
    HomeCoverage *m_homeCoverage;

    // Declared last: destroyed first, cancelling every job and waiting for the running ones.
    JobRunner m_jobs;
};
