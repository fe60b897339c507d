// The view model's selected item: its scan, the ticks of its files and their removal.
#include "viewmodel/ContentViewModel.h"

#include "model/ByteCountFormat.h"
#include "viewmodel/FileSelection.h"
#include "viewmodel/ItemScan.h"
#include "viewmodel/RemovalJob.h"

#include <QTimer>

namespace {

// The selected item's record when the item is of the shown section.
template <typename Record>
std::optional<Record> shownAs(const std::optional<Item> &item, SidebarSection shown)
{
    if (!item || item->section() != shown)
        return std::nullopt;
    if (const Record *record = item->as<Record>())
        return *record;
    return std::nullopt;
}

} // namespace

struct ContentViewModel::ScanOutcome
{
    QList<FileGroup> groups;
    QSet<QString> directoryPaths;
};

void ContentViewModel::setSelectedItem(const SelectedItem &item)
{
    m_selectedItem = item;
    // Whatever was being searched belongs to the previous pick.
    ++m_itemGeneration;
    updateRowSelection();
    emit selectedItemChanged();
}

std::optional<AppInfo> ContentViewModel::selectedApp() const
{
    return shownAs<AppInfo>(m_selectedItem, m_currentSection);
}

std::optional<NPMPackage> ContentViewModel::selectedNPMPackage() const
{
    return shownAs<NPMPackage>(m_selectedItem, m_currentSection);
}

std::optional<HomebrewPackage> ContentViewModel::selectedHomebrewPackage() const
{
    return shownAs<HomebrewPackage>(m_selectedItem, m_currentSection);
}

void ContentViewModel::selectApplication(const QString &path)
{
    for (const AppInfo &app : std::as_const(m_allApps)) {
        if (app.path == path) {
            setSelectedItem(app);
            scanSelectedApp();
            return;
        }
    }
}

void ContentViewModel::selectNPMPackage(const QString &name)
{
    for (const NPMPackage &package : std::as_const(m_allNPMPackages)) {
        if (package.name == name) {
            setSelectedItem(package);
            scanNPMPackageFiles(package);
            return;
        }
    }
}

void ContentViewModel::selectHomebrewPackage(const QString &name, const QString &typeName)
{
    const auto type = homebrewPackageTypeFromDisplayName(typeName);
    if (!type)
        return;
    for (const HomebrewPackage &package : std::as_const(m_allHomebrewPackages)) {
        if (package.name == name && package.type == *type) {
            setSelectedItem(package);
            scanHomebrewPackageFiles(package);
            return;
        }
    }
}

// Marks the start of an item scan or removal: drops older scans, isScanning true.
quint64 ContentViewModel::beginItemWork()
{
    ++m_pendingItemWork;
    setScanProgressText(QString());
    setIsScanning(true);
    return ++m_itemGeneration;
}

void ContentViewModel::startItemScan(const Item &item)
{
    const quint64 generation = beginItemWork();
    setFileGroups({});
    setLastDeleteSummary(std::nullopt);

    const FileScanner scanner = m_scanner;
    const ScanProgress progress = progressReporter(generation, false);
    m_jobs.run(
        JobRunner::Queue::serial, this,
        // The other installed applications: what belongs more specifically to one of them is
        // not offered for an application.
        [scanner, item, installed = m_allApps, progress] {
            const QList<FileGroup> groups = ItemScan::scanItem(scanner, item, installed, progress);
            return ScanOutcome{groups,
                               FileSelection::directoryPaths(groups, scanner.fileManager())};
        },
        [this, generation](const ScanOutcome &outcome) {
            --m_pendingItemWork;
            if (generation == m_itemGeneration)
                setFileGroups(outcome.groups, outcome.directoryPaths);
            settleScanning();
        });
}

void ContentViewModel::scanSelectedApp()
{
    const std::optional<AppInfo> app = selectedApp();
    if (!app) {
        settleScanning();
        return;
    }
    startItemScan(*app);
}

void ContentViewModel::scanNPMPackageFiles(const NPMPackage &package)
{
    startItemScan(package);
}

void ContentViewModel::scanHomebrewPackageFiles(const HomebrewPackage &package)
{
    startItemScan(package);
}

void ContentViewModel::toggleFile(const QUuid &fileId)
{
    QList<FileGroup> groups = m_fileGroups;
    if (FileSelection::toggleFile(groups, fileId))
        publishSelection(groups);
}

void ContentViewModel::toggleFile(const QString &fileId)
{
    toggleFile(QUuid::fromString(fileId));
}

void ContentViewModel::setGroupSelection(const QUuid &groupId, bool selected)
{
    QList<FileGroup> groups = m_fileGroups;
    if (FileSelection::setGroupSelection(groups, groupId, selected))
        publishSelection(groups);
}

void ContentViewModel::setGroupSelection(const QString &groupId, bool selected)
{
    setGroupSelection(QUuid::fromString(groupId), selected);
}

void ContentViewModel::setAllSelected(bool selected)
{
    QList<FileGroup> groups = m_fileGroups;
    FileSelection::selectEveryFile(groups, selected);
    publishSelection(groups);
}

void ContentViewModel::syncDownloadCacheSelection()
{
    QList<FileGroup> groups = m_fileGroups;
    FileSelection::syncDownloadCache(groups);
    publishSelection(groups);
}

QList<AssociatedFile> ContentViewModel::selectedFiles() const
{
    return FileSelection::selectedFiles(m_fileGroups);
}

int ContentViewModel::totalSelectedCount() const
{
    return FileSelection::selectedCount(m_fileGroups);
}

qint64 ContentViewModel::totalSelectedSize() const
{
    return FileSelection::selectedSize(m_fileGroups);
}

QString ContentViewModel::totalSelectedSizeText() const
{
    return formatByteCount(totalSelectedSize());
}

qint64 ContentViewModel::fileGroupsTotalSize() const
{
    return FileSelection::totalSize(m_fileGroups);
}

QString ContentViewModel::fileGroupsTotalSizeText() const
{
    return formatByteCount(fileGroupsTotalSize());
}

int ContentViewModel::fileGroupsFileCount() const
{
    return FileSelection::fileCount(m_fileGroups);
}

bool ContentViewModel::hasPackageFiles() const
{
    return FileSelection::hasPackageFiles(m_fileGroups);
}

QString ContentViewModel::deleteButtonTitle() const
{
    return removalButtonTitle(currentRemovalPlan());
}

// The removal of the current ticks, as the confirmation describes it.
RemovalPlan ContentViewModel::currentRemovalPlan() const
{
    return planRemoval(m_scanner, selectedFiles(), m_currentSection, m_selectedItem);
}

QString ContentViewModel::deleteConfirmationMessage() const
{
    // Only the dialog's text asks whether the application runs: the user's processes are read
    // in a few milliseconds, and the removal itself goes ahead once they confirm.
    RemovalPlan plan = currentRemovalPlan();
    checkRunning(m_scanner, plan);
    return confirmationMessage(plan, selectedFiles());
}

void ContentViewModel::deleteSelected()
{
    if (selectedFiles().isEmpty())
        return;
    // The removal works on what the user confirmed, whatever is picked while it waits its turn.
    const RemovalPlan plan = currentRemovalPlan();
    const quint64 generation = beginItemWork();
    const FileScanner scanner = m_scanner;
    m_jobs.run(
        JobRunner::Queue::serial, this, [scanner, plan] { return runRemoval(scanner, plan); },
        [this, generation, plan](const RemovalReport &report) {
            applyRemovalOutcome(generation, plan, report);
        });
}

// Takes an item its package manager just removed out of the lists.
void ContentViewModel::dropUninstalledItem(const RemovalPlan &plan)
{
    // Its row goes at once: the reload that follows takes a moment, and the row must not be
    // picked again meanwhile.
    const auto without = [](auto list, const auto &item) {
        list.removeAll(item);
        return list;
    };
    if (!plan.uninstallsItem)
        return;
    if (const auto *package = plan.item->as<HomebrewPackage>()) {
        setAllHomebrewPackages(without(m_allHomebrewPackages, *package));
        setFilteredHomebrewPackages(without(m_filteredHomebrewPackages, *package));
    } else if (const auto *package = plan.item->as<NPMPackage>()) {
        setAllNPMPackages(without(m_allNPMPackages, *package));
        setFilteredNPMPackages(without(m_filteredNPMPackages, *package));
    } else if (const AppInfo *app = plan.app()) {
        setAllApps(without(m_allApps, *app));
        setFilteredApps(without(m_filteredApps, *app));
    }
}

void ContentViewModel::applyRemovalOutcome(quint64 generation, const RemovalPlan &plan,
                                           const RemovalReport &outcome)
{
    --m_pendingItemWork;
    if (!outcome.errors.isEmpty()) {
        setErrorMessage(outcome.errors.join(u'\n'));
        setShowErrorAlert(true);
    }
    const bool sameSection = plan.section == m_currentSection;
    // When the user picked something else meanwhile, the detail pane belongs to that pick: only
    // the lists are refreshed, and the result line is not shown under the other item.
    const bool current = sameSection && generation == m_itemGeneration;
    const bool bundleGone = plan.app() && !outcome.appBundleExists;
    if (!outcome.successes.isEmpty() && current)
        showDeleteSummary(removalSummary(outcome));
    setNPMCacheSize(outcome.npmCacheSize);
    setHomebrewCacheSize(outcome.homebrewCacheSize);
    const std::optional<QString> saved = m_lastDeleteSummary;
    if (outcome.uninstalled)
        dropUninstalledItem(plan);

    if (plan.hasPackageFiles) {
        if (sameSection) {
            switch (m_currentSection) {
            case SidebarSection::npm:
                loadNPMPackages();
                break;
            case SidebarSection::homebrew:
                loadHomebrewPackages();
                break;
            case SidebarSection::applications:
                if (bundleGone)
                    loadApplications();
                break;
            case SidebarSection::systemData:
                startSystemDataScan();
                break;
            }
        }
        if (current) {
            setSelectedItem(std::nullopt);
            setFileGroups({});
        }
    } else if (current) {
        switch (m_currentSection) {
        case SidebarSection::applications:
            if (bundleGone) {
                loadApplications();
                setSelectedItem(std::nullopt);
                setFileGroups({});
            } else {
                scanSelectedApp();
            }
            break;
        case SidebarSection::npm:
            if (const auto package = selectedNPMPackage())
                scanNPMPackageFiles(*package);
            break;
        case SidebarSection::homebrew:
            if (const auto package = selectedHomebrewPackage())
                scanHomebrewPackageFiles(*package);
            break;
        case SidebarSection::systemData:
            startSystemDataScan();
            break;
        }
    } else if (sameSection && m_currentSection == SidebarSection::applications && bundleGone) {
        loadApplications();
    }
    settleScanning();
    setLastDeleteSummary(saved);
    offerPutBack(outcome.trashed);
}
