// The view model's selected item: its pick, its scan, its header, and what follows its removal.
#include "viewmodel/ContentViewModel.h"

#include "model/TextSeparator.h"
#include "viewmodel/AppSubtitle.h"
#include "viewmodel/FileSelection.h"
#include "viewmodel/ItemScan.h"

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

// --- Selection and item scans ------------------------------------------------------------------

void ContentViewModel::setSelectedItem(const SelectedItem &item)
{
    m_selectedItem = item;
    // Whatever was being searched belongs to the previous pick.
    m_activity->supersede();
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

std::optional<LeftoverRow> ContentViewModel::selectedLeftover() const
{
    return shownAs<LeftoverRow>(m_selectedItem, m_currentSection);
}

void ContentViewModel::updateRowSelection()
{
    const auto app = selectedApp();
    m_applications->setSelectedId(app ? app->id : QUuid());
    const auto npm = selectedNPMPackage();
    m_npm->setSelectedId(npm ? npm->id : QUuid());
    const auto brew = selectedHomebrewPackage();
    m_homebrew->setSelectedId(brew ? brew->id : QUuid());
    const auto leftover = selectedLeftover();
    m_leftovers->setSelectedName(leftover ? leftover->name : QString());
}

void ContentViewModel::selectApplication(const QString &path)
{
    if (const auto app = m_applications->find(path)) {
        setSelectedItem(*app);
        scanSelectedApp();
    }
}

void ContentViewModel::selectNPMPackage(const QString &name)
{
    if (const auto found = m_npm->find(name)) {
        const NPMPackage package = std::get<NPMPackage>(*found);
        setSelectedItem(package);
        scanNPMPackageFiles(package);
    }
}

void ContentViewModel::selectHomebrewPackage(const QString &name, const QString &typeName)
{
    if (const auto found = m_homebrew->find(name, typeName)) {
        const HomebrewPackage package = std::get<HomebrewPackage>(*found);
        setSelectedItem(package);
        scanHomebrewPackageFiles(package);
    }
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

void ContentViewModel::startItemScan(const Item &item)
{
    // The other installed applications: what belongs more specifically to one of them is not
    // offered for an application.
    m_detail->startScan(
        [item, installed = allApps()](const FileScanner &scanner, const ScanProgress &progress) {
            return ItemScan::scanItem(scanner, item, installed, progress);
        });
}

void ContentViewModel::rescanSelectedItem()
{
    if (m_selectedItem && m_selectedItem->section() == m_currentSection)
        startItemScan(*m_selectedItem);
}

QString ContentViewModel::selectedItemKind() const
{
    if (selectedApp())
        return QStringLiteral("app");
    if (selectedNPMPackage())
        return QStringLiteral("npm");
    if (selectedHomebrewPackage())
        return QStringLiteral("brew");
    if (selectedLeftover())
        return QStringLiteral("leftover");
    return {};
}

DetailHeader ContentViewModel::selectedItemHeader() const
{
    if (const auto app = selectedApp()) {
        return {app->name, appSubtitle(*app), app->icon ? app->icon->toSource() : QString(),
                QStringLiteral("app.fill")};
    }
    const auto versionText = [](const std::optional<QString> &version) {
        return version ? QStringLiteral("v") + *version : QString();
    };
    if (const auto package = selectedNPMPackage()) {
        return {package->name, versionText(package->version), m_npm->iconSourceOf(package->id),
                QStringLiteral("terminal.fill")};
    }
    if (const auto package = selectedHomebrewPackage()) {
        return {package->name,
                package->version ? versionText(package->version) : displayName(package->type),
                m_homebrew->iconSourceOf(package->id),
                package->type == HomebrewPackageType::cask ? QStringLiteral("shippingbox.fill")
                                                           : QStringLiteral("terminal.fill")};
    }
    if (const auto row = selectedLeftover())
        return LeftoversSection::headerOf(*row);
    return {};
}

QList<NPMPackage> ContentViewModel::allNPMPackages() const
{
    return packagesOf<NPMPackage>(m_npm->allPackages());
}

QList<NPMPackage> ContentViewModel::filteredNPMPackages() const
{
    return packagesOf<NPMPackage>(m_npm->filteredPackages());
}

QList<HomebrewPackage> ContentViewModel::allHomebrewPackages() const
{
    return packagesOf<HomebrewPackage>(m_homebrew->allPackages());
}

QList<HomebrewPackage> ContentViewModel::filteredHomebrewPackages() const
{
    return packagesOf<HomebrewPackage>(m_homebrew->filteredPackages());
}

qint64 ContentViewModel::totalSelectedSize() const
{
    return FileSelection::selectedSize(fileGroups());
}

// --- Removal and Put Back ----------------------------------------------------------------------

RemovalPlan ContentViewModel::removalPlan(const QList<AssociatedFile> &selected) const
{
    return planRemoval(m_scanner, selected, m_currentSection, m_selectedItem);
}

// Takes an item its package manager just removed out of the lists: its row goes at once, as
// the reload that follows takes a moment and the row must not be picked again meanwhile.
void ContentViewModel::dropUninstalledItem(const RemovalPlan &plan)
{
    if (!plan.uninstallsItem)
        return;
    if (const auto *package = plan.item->as<HomebrewPackage>())
        m_homebrew->drop(*package);
    else if (const auto *package = plan.item->as<NPMPackage>())
        m_npm->drop(*package);
    else if (const AppInfo *app = plan.app())
        m_applications->drop(*app);
}

void ContentViewModel::applyRemovalOutcome(quint64 generation, const RemovalPlan &plan,
                                           const RemovalReport &outcome)
{
    showErrors(outcome.errors);
    const bool sameSection = plan.section == m_currentSection;
    // When the user picked something else meanwhile, the detail pane belongs to that pick: only
    // the lists are refreshed, and the result line is not shown under the other item.
    const bool current = sameSection && m_activity->isCurrent(generation);
    const bool bundleGone = plan.app() && !outcome.appBundleExists;
    if (!outcome.successes.isEmpty() && current)
        m_removal->showDeleteSummary(RemovalPane::removalSummary(outcome));
    m_npm->setCacheSize(outcome.npmCacheSize);
    m_homebrew->setCacheSize(outcome.homebrewCacheSize);
    const std::optional<QString> saved = m_removal->lastDeleteSummary();
    if (outcome.uninstalled)
        dropUninstalledItem(plan);

    const bool applications = m_currentSection == SidebarSection::applications;
    if (plan.hasPackageFiles) {
        // The package's own files went with its uninstall: its list (applications only when
        // the bundle went) is loaded again and the pick ends.
        if (sameSection && (!applications || bundleGone))
            loadCurrentSection();
        if (current) {
            setSelectedItem(std::nullopt);
            m_detail->setFileGroups({});
        }
    } else if (current) {
        if (applications && bundleGone) {
            loadCurrentSection();
            setSelectedItem(std::nullopt);
            m_detail->setFileGroups({});
        } else if (m_currentSection == SidebarSection::systemData) {
            loadCurrentSection();
        } else if (m_currentSection == SidebarSection::leftovers) {
            // The row goes with the reload when all its files went.
            loadCurrentSection();
            rescanSelectedItem();
        } else {
            rescanSelectedItem();
        }
    } else if (sameSection &&
               ((applications && bundleGone) || m_currentSection == SidebarSection::leftovers)) {
        loadCurrentSection();
    }
    settleScanning();
    m_removal->setLastDeleteSummary(saved);
    m_removal->offerPutBack(outcome.trashed);
}

void ContentViewModel::applyPutBack(quint64 generation, const PutBack::Report &report)
{
    showErrors(report.errors);
    // What came back shows again: the section's list, and the item when nothing else was picked
    // meanwhile.
    loadCurrentSection();
    if (m_activity->isCurrent(generation))
        rescanSelectedItem();
    settleScanning();
    if (report.successes.isEmpty())
        m_removal->setLastDeleteSummary(std::nullopt);
    else
        m_removal->showDeleteSummary(report.successes.join(kTextSeparator));
}

// --- System Data -------------------------------------------------------------------------------

void ContentViewModel::applySystemDataResult(const SystemDataResult &result,
                                             const QSet<QString> &directoryPaths)
{
    m_systemData->applyResult(result, directoryPaths);
}

// After a scan: the opened category shows its new files. Outside the section the detail pane
// shows another item's files; they are not the scan's to clear.
void ContentViewModel::openSystemCategoryFiles(const QSet<QString> &directoryPaths)
{
    if (m_currentSection == SidebarSection::systemData)
        m_detail->setFileGroups(m_systemData->openedCategory(m_systemData->selectedCategory()),
                                directoryPaths);
    settleScanning();
}

DetailHeader ContentViewModel::selectedSystemCategoryHeader() const
{
    return m_systemData->selectedCategoryHeader();
}

void ContentViewModel::selectSystemCategory(FileCategory category)
{
    if (isScanning())
        return;
    m_systemData->setSelectedCategory(category);
    m_detail->setFileGroups(m_systemData->openedCategory(category), m_systemData->directories());
}

void ContentViewModel::showSystemCategory(Category::Value category)
{
    selectSystemCategory(Category::toFileCategory(category));
}
