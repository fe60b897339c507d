#include "viewmodel/ContentViewModel.h"

#include "model/ByteCountFormat.h"
#include "scanner/ItemIcons.h"
#include "viewmodel/AppListModel.h"
#include "viewmodel/FileGroupListModel.h"
#include "viewmodel/HomebrewPackageListModel.h"
#include "viewmodel/NPMPackageListModel.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QPointer>
#include <QTextBoundaryFinder>
#include <QTimer>

#include <algorithm>

namespace {

const QString kSeparator = QStringLiteral(" \u00B7 ");

// How often a running scan may tell the window what it measures: often enough to look alive,
// rarely enough not to flood the GUI thread with events.
constexpr qint64 kProgressIntervalMs = 100;

constexpr int kSummaryLifetimeMs = 3000;

bool isPackageFile(const AssociatedFile &file)
{
    return isRemovedByPackageManager(file.category);
}

bool isSystemDataWarningCategory(FileCategory category)
{
    return category == FileCategory::deviceBackups ||
           category == FileCategory::timeMachineSnapshots || category == FileCategory::dockerData;
}

QSet<QString> directoryPathsOf(const QList<FileGroup> &groups, const FileManager &fileManager)
{
    QSet<QString> paths;
    for (const FileGroup &group : groups) {
        for (const AssociatedFile &file : group.files) {
            if (fileManager.isDirectory(file.path))
                paths.insert(file.path);
        }
    }
    return paths;
}

// Ticks or clears one file; a file that cannot be removed is never ticked.
void select(AssociatedFile &file, bool selected)
{
    file.isSelected = selected && file.isRemovable();
}

void selectEveryFile(QList<FileGroup> &groups, bool selected)
{
    for (FileGroup &group : groups) {
        for (AssociatedFile &file : group.files)
            select(file, selected);
    }
}

void syncDownloadCache(QList<FileGroup> &groups)
{
    auto cache = std::find_if(groups.begin(), groups.end(), [](const FileGroup &group) {
        return group.category == FileCategory::homebrewCache;
    });
    if (cache == groups.end())
        return;
    bool anyPackageFileSelected = false;
    for (const FileGroup &group : groups) {
        if (group.category != FileCategory::homebrewCellar &&
            group.category != FileCategory::homebrewCaskroom)
            continue;
        for (const AssociatedFile &file : group.files)
            anyPackageFileSelected = anyPackageFileSelected || file.isSelected;
    }
    for (AssociatedFile &file : cache->files)
        select(file, anyPackageFileSelected);
}

bool sameSelection(const QList<FileGroup> &a, const QList<FileGroup> &b)
{
    if (a.size() != b.size())
        return false;
    for (int g = 0; g < a.size(); ++g) {
        if (a.at(g).files.size() != b.at(g).files.size())
            return false;
        for (int f = 0; f < a.at(g).files.size(); ++f) {
            if (a.at(g).files.at(f).isSelected != b.at(g).files.at(f).isSelected)
                return false;
        }
    }
    return true;
}

QStringList graphemes(const QString &text)
{
    QStringList result;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype start = 0;
    while (finder.toNextBoundary() != -1) {
        const qsizetype end = finder.position();
        result.append(text.mid(start, end - start));
        start = end;
    }
    return result;
}

template <typename Package>
QList<Package> filterPackages(const QList<Package> &packages, const QString &query)
{
    if (query.isEmpty())
        return packages;
    const QString q = query.toLower();
    QList<Package> result;
    for (const Package &package : packages) {
        if (package.name.toLower().contains(q))
            result.append(package);
    }
    return result;
}

} // namespace

struct ContentViewModel::ScanOutcome
{
    QList<FileGroup> groups;
    QSet<QString> directoryPaths;
};

struct ContentViewModel::RemovalOutcome
{
    QStringList successes;
    QStringList errors;
    qint64 npmCacheSize = 0;
    qint64 homebrewCacheSize = 0;
    bool hasPackageFiles = false;
    SidebarSection section = SidebarSection::applications;
    // The application the removal was confirmed for, and whether its bundle is still there.
    std::optional<AppInfo> app;
    bool appBundleExists = true;
};

ContentViewModel::ContentViewModel(FileScanner scanner, QObject *parent)
    : QObject(parent), m_scanner(std::move(scanner)), m_filteredAppsModel(new AppListModel(this)),
      m_userApplicationsModel(new AppListModel(this)),
      m_systemApplicationsModel(new AppListModel(this)),
      m_filteredNPMPackagesModel(new NPMPackageListModel(this)),
      m_filteredHomebrewPackagesModel(new HomebrewPackageListModel(this)),
      m_fileGroupsModel(new FileGroupListModel(this)),
      m_systemDataGroupsModel(new FileGroupListModel(this))
{
    // One serial worker keeps item scans and removals in the order the user started them.
    m_serialPool.setMaxThreadCount(1);
    m_systemDataPool.setMaxThreadCount(1);
    m_loadPool.setMaxThreadCount(2);

    // The first window opens with the application list filled.
    const QList<AppInfo> apps = m_scanner.scanApplications();
    setAllApps(apps);
    setFilteredApps(apps);
    measureToolAvailability();
}

ContentViewModel::~ContentViewModel()
{
    // Work in flight only reaches this object through queued calls, which Qt drops once it is
    // gone; waiting here keeps a half-done removal from being cut off at quit.
    m_serialPool.waitForDone();
    m_systemDataPool.waitForDone();
    m_loadPool.waitForDone();
}

template <typename Work, typename Apply>
void ContentViewModel::runOn(QThreadPool &pool, Work work, Apply apply)
{
    const QPointer<ContentViewModel> guard(this);
    ContentViewModel *self = this;
    pool.start([guard, self, work, apply]() {
        auto result = work();
        QMetaObject::invokeMethod(
            self,
            [guard, apply, result]() {
                if (guard)
                    apply(result);
            },
            Qt::QueuedConnection);
    });
}

template <typename Work, typename Apply>
void ContentViewModel::startLoad(SidebarSection section, Work work, Apply apply)
{
    const int key = int(section);
    const quint64 generation = ++m_loadGeneration[key];
    ++m_pendingLoads[key];
    updateLoadingList();
    runOn(m_loadPool, work, [this, key, generation, apply](const auto &result) {
        --m_pendingLoads[key];
        if (generation == m_loadGeneration.value(key))
            apply(result);
        updateLoadingList();
    });
}

// --- Section, lists and search -------------------------------------------------------------------

QList<AppInfo> ContentViewModel::userApplications() const
{
    const QString prefix = m_scanner.places().inHome(QStringLiteral("Applications")) + u'/';
    QList<AppInfo> result;
    for (const AppInfo &app : m_filteredApps) {
        if (app.path.startsWith(prefix))
            result.append(app);
    }
    return result;
}

QList<AppInfo> ContentViewModel::systemApplications() const
{
    const QString prefix = m_scanner.places().onSystem(QStringLiteral("/Applications")) + u'/';
    QList<AppInfo> result;
    for (const AppInfo &app : m_filteredApps) {
        if (app.path.startsWith(prefix))
            result.append(app);
    }
    return result;
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
        [this](const QList<AppInfo> &apps) {
            adoptReloadedRecord(apps);
            setAllApps(apps);
            // The search field keeps its text across reloads; the list must keep matching it.
            const bool filter =
                m_currentSection == SidebarSection::applications && !m_searchQuery.isEmpty();
            setFilteredApps(filter ? filterApplications(apps, m_searchQuery) : apps);
        });
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
            setFilteredNPMPackages(filter ? filterPackages(loaded.packages, m_searchQuery)
                                          : loaded.packages);
            setNpmCacheSize(loaded.cacheSize);
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
            setFilteredHomebrewPackages(filter ? filterPackages(loaded.packages, m_searchQuery)
                                               : loaded.packages);
            setHomebrewCacheSize(loaded.cacheSize);
        });
}

template <typename Record> void ContentViewModel::adoptReloadedRecord(const QList<Record> &records)
{
    const Record *selected = std::get_if<Record>(&m_selectedItem);
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

void ContentViewModel::measureToolAvailability()
{
    const FileScanner scanner = m_scanner;
    ++m_pendingOtherWork;
    runOn(
        m_loadPool,
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
    setSelectedItem(std::monostate());
    setFileGroups({});
    setSearchQuery(QString());
    setSelectedSystemCategory(std::nullopt);
    setCurrentSection(section);
    // Item scans of the old section must not fill the new section's detail pane.
    ++m_itemGeneration;
    settleScanning();
    updateLoadingList();
    loadCurrentSection();
}

void ContentViewModel::selectSection(const QString &rawValue)
{
    if (const auto section = sidebarSectionFromRawValue(rawValue))
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
        setFilteredApps(query.isEmpty() ? m_allApps : filterApplications(m_allApps, query));
        break;
    case SidebarSection::npm:
        setFilteredNPMPackages(filterPackages(m_allNPMPackages, query));
        break;
    case SidebarSection::homebrew:
        setFilteredHomebrewPackages(filterPackages(m_allHomebrewPackages, query));
        break;
    case SidebarSection::systemData:
        break;
    }
}

QList<AppInfo> ContentViewModel::filterApplications(const QList<AppInfo> &apps,
                                                    const QString &query)
{
    struct Candidate
    {
        AppInfo app;
        bool startsWithQuery;
        int score;
    };
    const QString q = query.toLower();
    QList<Candidate> kept;
    for (const AppInfo &app : apps) {
        const QString name = app.name.toLower();
        const int score = fuzzyMatchScore(name, q);
        if (name.contains(q) || score > 0)
            kept.append({app, name.startsWith(q), score});
    }
    std::stable_sort(kept.begin(), kept.end(), [](const Candidate &a, const Candidate &b) {
        if (a.startsWithQuery != b.startsWithQuery)
            return a.startsWithQuery;
        return a.score > b.score;
    });
    QList<AppInfo> result;
    result.reserve(kept.size());
    for (const Candidate &candidate : std::as_const(kept))
        result.append(candidate.app);
    return result;
}

int ContentViewModel::fuzzyMatchScore(const QString &name, const QString &q)
{
    if (q.isEmpty())
        return 0;
    const QStringList nameCharacters = graphemes(name);
    const QStringList queryCharacters = graphemes(q);
    qsizetype position = 0;
    for (const QString &character : queryCharacters) {
        while (position < nameCharacters.size() && nameCharacters.at(position) != character)
            ++position;
        if (position == nameCharacters.size())
            return 0;
        ++position;
    }
    return int(queryCharacters.size());
}

// --- Selection and item scans --------------------------------------------------------------------

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
    if (m_currentSection != SidebarSection::applications)
        return std::nullopt;
    if (const AppInfo *app = std::get_if<AppInfo>(&m_selectedItem))
        return *app;
    return std::nullopt;
}

std::optional<NPMPackage> ContentViewModel::selectedNPMPackage() const
{
    if (m_currentSection != SidebarSection::npm)
        return std::nullopt;
    if (const NPMPackage *package = std::get_if<NPMPackage>(&m_selectedItem))
        return *package;
    return std::nullopt;
}

std::optional<HomebrewPackage> ContentViewModel::selectedHomebrewPackage() const
{
    if (m_currentSection != SidebarSection::homebrew)
        return std::nullopt;
    if (const HomebrewPackage *package = std::get_if<HomebrewPackage>(&m_selectedItem))
        return *package;
    return std::nullopt;
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

void ContentViewModel::selectHomebrewPackage(const QString &name, const QString &typeRaw)
{
    const auto type = homebrewPackageTypeFromRawValue(typeRaw);
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

quint64 ContentViewModel::beginItemWork()
{
    ++m_pendingItemWork;
    setScanProgressText(QString());
    setIsScanning(true);
    return ++m_itemGeneration;
}

void ContentViewModel::startItemScan(
    std::function<ScanOutcome(const FileScanner &, const ScanProgress &)> work)
{
    const quint64 generation = beginItemWork();
    setFileGroups({});
    setLastDeleteSummary(std::nullopt);

    const FileScanner scanner = m_scanner;
    const ScanProgress progress = progressReporter(generation, false);
    runOn(
        m_serialPool, [scanner, work, progress] { return work(scanner, progress); },
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
    // The other installed applications: what belongs more specifically to one of them is not
    // offered for this one.
    startItemScan([app = *app, installed = m_allApps](const FileScanner &scanner,
                                                      const ScanProgress &progress) {
        QList<FileGroup> groups = scanner.findAssociatedFiles(app.bundleIdentifier, app.name,
                                                              app.path, installed, progress);
        groups = removeMissingFiles(groups, scanner.fileManager());
        selectEveryFile(groups, false);
        return ScanOutcome{groups, directoryPathsOf(groups, scanner.fileManager())};
    });
}

void ContentViewModel::scanNPMPackageFiles(const NPMPackage &package)
{
    startItemScan([name = package.name](const FileScanner &scanner, const ScanProgress &progress) {
        progress(name);
        const QList<FileGroup> global = scanner.findNPMGlobalFiles(name);
        const QList<FileGroup> named = scanner.findNPMNamedFiles(name);
        QList<FileGroup> groups = mergeGroups(named, global);
        groups = removeMissingFiles(groups, scanner.fileManager());
        selectEveryFile(groups, true);
        return ScanOutcome{groups, directoryPathsOf(groups, scanner.fileManager())};
    });
}

void ContentViewModel::scanHomebrewPackageFiles(const HomebrewPackage &package)
{
    startItemScan([name = package.name](const FileScanner &scanner, const ScanProgress &progress) {
        progress(name);
        const QList<FileGroup> store = scanner.findHomebrewStoreFiles(name);
        const QList<FileGroup> support = scanner.findHomebrewSupportFiles(name);
        QList<FileGroup> groups = mergeGroups(support, store);
        groups = removeMissingFiles(groups, scanner.fileManager());
        selectEveryFile(groups, true);
        return ScanOutcome{groups, directoryPathsOf(groups, scanner.fileManager())};
    });
}

QList<FileGroup> ContentViewModel::mergeGroups(const QList<FileGroup> &first,
                                               const QList<FileGroup> &second)
{
    QSet<QString> seen;
    for (const FileGroup &group : first) {
        for (const AssociatedFile &file : group.files)
            seen.insert(file.path);
    }
    QList<FileGroup> result = first;
    for (const FileGroup &group : second) {
        QList<AssociatedFile> fresh;
        for (const AssociatedFile &file : group.files) {
            if (!seen.contains(file.path))
                fresh.append(file);
        }
        if (fresh.isEmpty())
            continue;
        for (const AssociatedFile &file : std::as_const(fresh))
            seen.insert(file.path);
        auto same = std::find_if(result.begin(), result.end(), [&](const FileGroup &candidate) {
            return candidate.category == group.category;
        });
        if (same != result.end())
            same->files.append(fresh);
        else
            result.append(FileGroup(group.category, fresh));
    }
    return result;
}

QList<FileGroup> ContentViewModel::removeMissingFiles(const QList<FileGroup> &groups,
                                                      const FileManager &fileManager)
{
    QList<FileGroup> result;
    for (const FileGroup &group : groups) {
        QList<AssociatedFile> kept;
        for (const AssociatedFile &file : group.files) {
            // An unremovable file stays listed with its reason; its path may not reach it.
            if (!file.isRemovable() || fileManager.fileExists(file.path))
                kept.append(file);
        }
        if (!kept.isEmpty())
            result.append(FileGroup(group.category, kept));
    }
    return result;
}

void ContentViewModel::toggleFile(const QUuid &fileId)
{
    QList<FileGroup> groups = m_fileGroups;
    for (FileGroup &group : groups) {
        for (AssociatedFile &file : group.files) {
            if (file.id != fileId)
                continue;
            if (!file.isRemovable())
                return;
            file.isSelected = !file.isSelected;
            if (group.category == FileCategory::appBundle)
                selectEveryFile(groups, file.isSelected);
            if (group.category == FileCategory::homebrewCellar ||
                group.category == FileCategory::homebrewCaskroom)
                syncDownloadCache(groups);
            publishSelection(groups);
            return;
        }
    }
}

void ContentViewModel::toggleFile(const QString &fileId)
{
    toggleFile(QUuid::fromString(fileId));
}

void ContentViewModel::setGroupSelection(const QUuid &groupId, bool selected)
{
    QList<FileGroup> groups = m_fileGroups;
    for (FileGroup &group : groups) {
        if (group.id != groupId)
            continue;
        for (AssociatedFile &file : group.files)
            select(file, selected);
        if (group.category == FileCategory::appBundle)
            selectEveryFile(groups, selected);
        if (group.category == FileCategory::homebrewCellar ||
            group.category == FileCategory::homebrewCaskroom)
            syncDownloadCache(groups);
        publishSelection(groups);
        return;
    }
}

void ContentViewModel::setGroupSelection(const QString &groupId, bool selected)
{
    setGroupSelection(QUuid::fromString(groupId), selected);
}

void ContentViewModel::setAllSelected(bool selected)
{
    QList<FileGroup> groups = m_fileGroups;
    selectEveryFile(groups, selected);
    publishSelection(groups);
}

void ContentViewModel::syncDownloadCacheSelection()
{
    QList<FileGroup> groups = m_fileGroups;
    syncDownloadCache(groups);
    publishSelection(groups);
}

QList<AssociatedFile> ContentViewModel::selectedFiles() const
{
    QList<AssociatedFile> result;
    for (const FileGroup &group : m_fileGroups) {
        for (const AssociatedFile &file : group.files) {
            if (file.isSelected)
                result.append(file);
        }
    }
    return result;
}

int ContentViewModel::totalSelectedCount() const
{
    int count = 0;
    for (const FileGroup &group : m_fileGroups)
        count += group.selectedCount();
    return count;
}

qint64 ContentViewModel::totalSelectedSize() const
{
    qint64 size = 0;
    for (const FileGroup &group : m_fileGroups)
        size += group.selectedSize();
    return size;
}

QString ContentViewModel::totalSelectedSizeText() const
{
    return formatByteCount(totalSelectedSize());
}

qint64 ContentViewModel::fileGroupsTotalSize() const
{
    qint64 size = 0;
    for (const FileGroup &group : m_fileGroups)
        size += group.totalSize();
    return size;
}

QString ContentViewModel::fileGroupsTotalSizeText() const
{
    return formatByteCount(fileGroupsTotalSize());
}

int ContentViewModel::fileGroupsFileCount() const
{
    int count = 0;
    for (const FileGroup &group : m_fileGroups)
        count += int(group.files.size());
    return count;
}

// --- Removal -------------------------------------------------------------------------------------

bool ContentViewModel::hasPackageFiles() const
{
    for (const FileGroup &group : m_fileGroups) {
        for (const AssociatedFile &file : group.files) {
            if (file.isSelected && isPackageFile(file))
                return true;
        }
    }
    return false;
}

QString ContentViewModel::deleteButtonTitle() const
{
    return hasPackageFiles() ? tr("Uninstall & Remove") : tr("Move to Trash");
}

QString ContentViewModel::deleteConfirmationMessage() const
{
    const QList<AssociatedFile> selected = selectedFiles();
    bool anyPackageFile = false;
    int trashCount = 0;
    qint64 trashSize = 0;
    bool warn = false;
    for (const AssociatedFile &file : selected) {
        if (isPackageFile(file)) {
            anyPackageFile = true;
        } else {
            ++trashCount;
            trashSize += file.size;
        }
        warn = warn || isSystemDataWarningCategory(file.category);
    }

    QStringList parts;
    if (anyPackageFile) {
        QString command;
        QString name;
        if (const auto package = selectedHomebrewPackage()) {
            command = package->type == HomebrewPackageType::cask
                          ? QStringLiteral("brew uninstall --cask")
                          : QStringLiteral("brew uninstall");
            name = package->name;
        } else if (const auto package = selectedNPMPackage()) {
            command = QStringLiteral("npm uninstall -g");
            name = package->name;
        }
        if (!command.isEmpty())
            parts.append(tr("Run \"%1 %2\"").arg(command, name));
    }
    if (trashCount > 0) {
        parts.append(tr("Move %1 item(s) (%2) to Trash")
                         .arg(QString::number(trashCount), formatByteCount(trashSize)));
    }
    const QString joined = parts.join(kSeparator);
    if (joined.isEmpty())
        return tr("No items selected.");
    QString message = tr("%1. This cannot be undone.").arg(joined);
    if (warn) {
        message += tr("\n\n\u26A0\uFE0F This includes system data that may not be "
                      "recoverable. Make sure you have backups.");
    }
    return message;
}

void ContentViewModel::deleteSelected()
{
    const QList<AssociatedFile> selected = selectedFiles();
    if (selected.isEmpty())
        return;
    QList<AssociatedFile> trashFiles;
    bool packageFiles = false;
    for (const AssociatedFile &file : selected) {
        if (isPackageFile(file))
            packageFiles = true;
        else
            trashFiles.append(file);
    }

    // The removal works on what the user confirmed, whatever is picked while it waits its turn.
    std::optional<HomebrewPackage> brewPackage;
    std::optional<NPMPackage> npmPackage;
    if (packageFiles) {
        if (m_currentSection == SidebarSection::homebrew)
            brewPackage = selectedHomebrewPackage();
        else if (m_currentSection == SidebarSection::npm)
            npmPackage = selectedNPMPackage();
    }
    const std::optional<AppInfo> app = selectedApp();
    const SidebarSection section = m_currentSection;

    const quint64 generation = beginItemWork();
    const FileScanner scanner = m_scanner;
    runOn(
        m_serialPool,
        [=] {
            RemovalOutcome outcome;
            outcome.hasPackageFiles = packageFiles;
            outcome.section = section;
            outcome.app = app;

            std::optional<UninstallResult> uninstall;
            QString name;
            if (brewPackage) {
                name = brewPackage->name;
                uninstall = scanner.uninstallHomebrewPackage(name, brewPackage->type ==
                                                                       HomebrewPackageType::cask);
            } else if (npmPackage) {
                name = npmPackage->name;
                uninstall = scanner.uninstallNPMPackage(name);
            }
            if (uninstall) {
                if (uninstall->succeeded) {
                    outcome.successes.append(tr("Uninstalled %1").arg(name));
                } else {
                    QString detail = uninstall->output.value_or(QString()).trimmed();
                    if (detail.isEmpty())
                        detail = tr("Unknown error");
                    outcome.errors.append(tr("Failed to uninstall %1:\n%2").arg(name, detail));
                }
            }

            QList<AssociatedFile> existing;
            for (const AssociatedFile &file : trashFiles) {
                if (scanner.fileManager().fileExists(file.path))
                    existing.append(file);
            }
            if (!existing.isEmpty()) {
                const TrashResult result = scanner.moveFilesToTrash(existing);
                QSet<QUuid> failed;
                QStringList failureLines;
                for (const TrashFailure &failure : result.failures) {
                    failed.insert(failure.file.id);
                    failureLines.append(failure.file.path + QStringLiteral(": ") + failure.error);
                }
                qint64 freed = 0;
                for (const AssociatedFile &file : std::as_const(existing)) {
                    if (!failed.contains(file.id))
                        freed += file.size;
                }
                if (result.moved > 0) {
                    outcome.successes.append(tr("Moved %1 item(s) to Trash").arg(result.moved) +
                                             kSeparator +
                                             tr("%1 freed").arg(formatByteCount(freed)));
                }
                if (!result.failures.isEmpty()) {
                    outcome.errors.append(
                        tr("Failed to remove %1 file(s):\n").arg(result.failures.size()) +
                        failureLines.join(u'\n'));
                }
            }

            outcome.npmCacheSize = scanner.npmCacheSize();
            outcome.homebrewCacheSize = scanner.homebrewCacheSize();
            if (app)
                outcome.appBundleExists = scanner.fileManager().fileExists(app->path);
            return outcome;
        },
        [this, generation](const RemovalOutcome &outcome) {
            applyRemovalOutcome(generation, outcome);
        });
}

void ContentViewModel::applyRemovalOutcome(quint64 generation, const RemovalOutcome &outcome)
{
    --m_pendingItemWork;
    if (!outcome.errors.isEmpty()) {
        setErrorMessage(outcome.errors.join(u'\n'));
        setShowErrorAlert(true);
    }
    if (!outcome.successes.isEmpty())
        showDeleteSummary(outcome.successes.join(kSeparator));
    setNpmCacheSize(outcome.npmCacheSize);
    setHomebrewCacheSize(outcome.homebrewCacheSize);
    const std::optional<QString> saved = m_lastDeleteSummary;

    const bool sameSection = outcome.section == m_currentSection;
    // When the user picked something else meanwhile, the detail pane belongs to that pick: only
    // the lists are refreshed.
    const bool current = sameSection && generation == m_itemGeneration;
    const bool bundleGone = outcome.app.has_value() && !outcome.appBundleExists;

    if (outcome.hasPackageFiles) {
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
            setSelectedItem(std::monostate());
            setFileGroups({});
        }
    } else if (current) {
        switch (m_currentSection) {
        case SidebarSection::applications:
            if (bundleGone) {
                loadApplications();
                setSelectedItem(std::monostate());
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
}

void ContentViewModel::showDeleteSummary(const QString &summary)
{
    setLastDeleteSummary(summary);
    QTimer::singleShot(kSummaryLifetimeMs, this, [this, summary] {
        if (m_lastDeleteSummary == summary)
            setLastDeleteSummary(std::nullopt);
    });
}

void ContentViewModel::setShowErrorAlert(bool show)
{
    assignAndNotify(m_showErrorAlert, show, &ContentViewModel::showErrorAlertChanged);
}

void ContentViewModel::setShowDeleteConfirmation(bool show)
{
    assignAndNotify(m_showDeleteConfirmation, show, &ContentViewModel::showDeleteConfirmationChanged);
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

// --- System data ---------------------------------------------------------------------------------

QString ContentViewModel::selectedSystemCategoryName() const
{
    return m_selectedSystemCategory ? caseName(*m_selectedSystemCategory) : QString();
}

QString ContentViewModel::selectedSystemCategoryTitle() const
{
    return m_selectedSystemCategory ? rawValue(*m_selectedSystemCategory) : QString();
}

QString ContentViewModel::selectedSystemCategoryIconName() const
{
    return m_selectedSystemCategory ? iconName(*m_selectedSystemCategory) : QString();
}

QString ContentViewModel::selectedSystemCategorySubtitle() const
{
    if (!m_selectedSystemCategory)
        return {};
    for (const FileGroup &group : m_systemDataGroups) {
        if (group.category != *m_selectedSystemCategory)
            continue;
        const qsizetype n = group.files.size();
        QString text = (n == 1 ? tr("%1 item") : tr("%1 items")).arg(n);
        if (group.totalSize() > 0)
            text += kSeparator + group.formattedSize();
        return text;
    }
    return {};
}

qint64 ContentViewModel::systemDataTotalSize() const
{
    qint64 size = 0;
    for (const FileGroup &group : m_systemDataGroups)
        size += group.totalSize();
    return size;
}

QString ContentViewModel::systemDataTotalSizeText() const
{
    return formatByteCount(systemDataTotalSize());
}

void ContentViewModel::startSystemDataScan()
{
    ++m_pendingSystemScans;
    setIsScanning(true);
    const FileScanner scanner = m_scanner;
    const ScanProgress progress = progressReporter(0, true);
    runOn(
        m_systemDataPool,
        [scanner, progress] {
            const SystemDataResult result = scanner.scanSystemData(progress);
            return std::pair(result, directoryPathsOf(result.groups, scanner.fileManager()));
        },
        [this](const std::pair<SystemDataResult, QSet<QString>> &outcome) {
            --m_pendingSystemScans;
            applySystemDataResult(outcome.first.groups, outcome.first.hiddenCount, outcome.second);
        });
}

void ContentViewModel::applySystemDataResult(const QList<FileGroup> &groups, int hidden)
{
    applySystemDataResult(groups, hidden, {});
}

void ContentViewModel::applySystemDataResult(const QList<FileGroup> &groups, int hidden,
                                             const QSet<QString> &directoryPaths)
{
    setSystemDataGroups(groups, directoryPaths);
    // Outside the section the detail pane shows another item's files; they are not ours to clear.
    if (m_currentSection == SidebarSection::systemData) {
        QList<FileGroup> open;
        if (m_selectedSystemCategory) {
            for (const FileGroup &group : groups) {
                if (group.category == *m_selectedSystemCategory) {
                    open.append(group);
                    selectEveryFile(open, true);
                    break;
                }
            }
        }
        setFileGroups(open, directoryPaths);
    }
    setHiddenSystemCategoryCount(hidden);
    settleScanning();
}

void ContentViewModel::selectSystemCategory(FileCategory category)
{
    if (m_isScanning)
        return;
    setSelectedSystemCategory(category);
    QList<FileGroup> open;
    for (const FileGroup &group : std::as_const(m_systemDataGroups)) {
        if (group.category == category) {
            open.append(group);
            selectEveryFile(open, true);
            break;
        }
    }
    setFileGroups(open, m_systemDataDirectories);
}

void ContentViewModel::selectSystemCategory(const QString &name)
{
    for (FileCategory category : allFileCategories()) {
        if (caseName(category) == name) {
            selectSystemCategory(category);
            return;
        }
    }
}

// --- Published state -----------------------------------------------------------------------------

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

QString ContentViewModel::selectedItemKind() const
{
    if (selectedApp())
        return QStringLiteral("app");
    if (selectedNPMPackage())
        return QStringLiteral("npm");
    if (selectedHomebrewPackage())
        return QStringLiteral("brew");
    return {};
}

QString ContentViewModel::selectedItemId() const
{
    if (const auto app = selectedApp())
        return app->id.toString(QUuid::WithoutBraces);
    if (const auto package = selectedNPMPackage())
        return package->id.toString(QUuid::WithoutBraces);
    if (const auto package = selectedHomebrewPackage())
        return package->id.toString(QUuid::WithoutBraces);
    return {};
}

QString ContentViewModel::selectedItemName() const
{
    if (const auto app = selectedApp())
        return app->name;
    if (const auto package = selectedNPMPackage())
        return package->name;
    if (const auto package = selectedHomebrewPackage())
        return package->name;
    return {};
}

QString ContentViewModel::selectedItemPath() const
{
    if (const auto app = selectedApp())
        return app->path;
    if (const auto package = selectedNPMPackage())
        return package->path;
    if (const auto package = selectedHomebrewPackage())
        return package->path;
    return {};
}

QString ContentViewModel::selectedItemVersion() const
{
    if (const auto package = selectedNPMPackage())
        return package->version.value_or(QString());
    if (const auto package = selectedHomebrewPackage())
        return package->version.value_or(QString());
    return {};
}

QString ContentViewModel::selectedItemSubtitle() const
{
    if (const auto app = selectedApp())
        return app->bundleIdentifier.value_or(QString());
    if (const auto package = selectedNPMPackage())
        return package->version ? QStringLiteral("v") + *package->version : QString();
    if (const auto package = selectedHomebrewPackage())
        return package->version ? QStringLiteral("v") + *package->version : rawValue(package->type);
    return {};
}

QString ContentViewModel::selectedItemIconSource() const
{
    if (const auto app = selectedApp())
        return app->icon ? app->icon->toSource() : QString();
    if (const auto package = selectedNPMPackage())
        return m_npmIconSources.value(package->id);
    if (const auto package = selectedHomebrewPackage())
        return m_homebrewIconSources.value(package->id);
    return {};
}

QString ContentViewModel::selectedItemSymbol() const
{
    if (selectedApp())
        return QStringLiteral("app.fill");
    if (selectedNPMPackage())
        return QStringLiteral("terminal.fill");
    if (const auto package = selectedHomebrewPackage())
        return package->type == HomebrewPackageType::cask ? QStringLiteral("shippingbox.fill")
                                                          : QStringLiteral("terminal.fill");
    return {};
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
}

void ContentViewModel::setNpmCacheSize(qint64 size)
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
    assignAndNotify(m_isHomebrewAvailable, available, &ContentViewModel::isHomebrewAvailableChanged);
}

void ContentViewModel::setHiddenSystemCategoryCount(int count)
{
    assignAndNotify(m_hiddenSystemCategoryCount, count, &ContentViewModel::hiddenSystemCategoryCountChanged);
}

void ContentViewModel::setSelectedSystemCategory(std::optional<FileCategory> category)
{
    if (category == m_selectedSystemCategory)
        return;
    m_selectedSystemCategory = category;
    m_systemDataGroupsModel->setHighlightedCategory(category);
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

void ContentViewModel::setFileGroups(const QList<FileGroup> &groups,
                                     const QSet<QString> &directoryPaths)
{
    if (groups.isEmpty() && m_fileGroups.isEmpty())
        return;
    m_fileGroups = groups;
    m_fileGroupsModel->setGroups(groups, directoryPaths);
    emit fileGroupsChanged();
    emit selectionChanged();
}

void ContentViewModel::publishSelection(const QList<FileGroup> &groups)
{
    if (sameSelection(groups, m_fileGroups))
        return;
    m_fileGroups = groups;
    m_fileGroupsModel->updateGroups(groups);
    emit selectionChanged();
}

void ContentViewModel::setSystemDataGroups(const QList<FileGroup> &groups,
                                           const QSet<QString> &directoryPaths)
{
    m_systemDataGroups = groups;
    m_systemDataDirectories = directoryPaths;
    m_systemDataGroupsModel->setGroups(groups, directoryPaths);
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
