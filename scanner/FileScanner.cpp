// Each operation hands over to the scanner of its concern.

#include "scanner/FileScanner.h"

#include "scanner/ApplicationListing.h"
#include "scanner/ApplicationRemoval.h"
#include "scanner/DesktopApplications.h"
#include "scanner/FlatpakSource.h"
#include "scanner/HomebrewSource.h"
#include "scanner/LeftoverFinder.h"
#include "scanner/LeftoverSearch.h"
#include "scanner/LinuxSystemData.h"
#include "scanner/NPMSource.h"
#include "scanner/SizeMeter.h"
#include "scanner/SnapSource.h"
#include "scanner/SystemCommandCaches.h"
#include "scanner/SystemPackageSource.h"
#include "scanner/TermMatcher.h"
#include "scanner/ToolchainScanner.h"

FileScanner::FileScanner(Places places, FileManager fileManager)
    : m_machine(std::move(places), std::move(fileManager))
{}

// --- Applications ------------------------------------------------------------------------------

QList<AppInfo> FileScanner::scanApplications() const
{
    return ApplicationListing(m_machine).scanApplications();
}

QList<AppInfo> FileScanner::scanDesktopApplications() const
{
    return DesktopApplications(m_machine).scanDesktopApplications();
}

QHash<QString, QString> FileScanner::findOwningPackages(const QStringList &paths) const
{
    return SystemPackageSource(m_machine).owningPackages(paths);
}

QHash<QString, QStringList> FileScanner::findPackageFamilies() const
{
    return SystemPackageSource(m_machine).packageFamilies();
}

bool FileScanner::isUserApplication(const AppInfo &app) const
{
    return ApplicationListing(m_machine).isUserApplication(app);
}

QList<AppInfo> FileScanner::scanApplicationsFolder(const QString &folder) const
{
    return ApplicationListing(m_machine).scanApplicationsFolder(folder);
}

AppInfo FileScanner::readAppInfo(const QString &bundlePath) const
{
    return ApplicationListing(m_machine).readAppInfo(bundlePath);
}

// --- Leftover search ---------------------------------------------------------------------------

QList<FileGroup> FileScanner::findAssociatedFiles(const std::optional<QString> &bundleIdentifier,
                                                  const QString &name,
                                                  const std::optional<QString> &bundlePath,
                                                  const QList<AppInfo> &installed,
                                                  const ScanProgress &progress) const
{
    return LeftoverFinder(m_machine).findAssociatedFiles(bundleIdentifier, name, bundlePath,
                                                         installed, progress);
}

QList<FileGroup> FileScanner::findApplicationFiles(const AppInfo &app,
                                                   const QList<AppInfo> &installed,
                                                   const ScanProgress &progress) const
{
    return LeftoverFinder(m_machine).findApplicationFiles(app, installed, progress);
}

QList<LeftoverRow> FileScanner::findLeftovers(const QStringList &kept, const ScanProgress &progress,
                                              const PartialLeftoverRows &partialRows) const
{
    return FormerProgramsFinder(m_machine).findLeftovers(kept, progress, partialRows);
}

SearchTerms FileScanner::buildSearchTerms(const AppInfo &app) const
{
    return searchTermsFor(app);
}

SearchTerms FileScanner::buildSearchTerms(const std::optional<QString> &bundleIdentifier,
                                          const QString &name,
                                          const std::optional<QString> &bundlePath) const
{
    return searchTermsFor(bundleIdentifier, name, bundlePath);
}

void FileScanner::addSearchTerm(const QString &candidate, QSet<QString> &seen, QStringList &list)
{
    ::addSearchTerm(candidate, seen, list);
}

bool FileScanner::matchesTerm(const QString &fileName, const QString &term)
{
    return TermMatcher(term).matches(fileName);
}

QList<AssociatedFile> FileScanner::scanPreferencesFolder(const QString &folder,
                                                         const SearchTerms &terms) const
{
    return LeftoverFinder(m_machine).scanPreferencesFolder(folder, terms);
}

QList<AssociatedFile> FileScanner::scanHomeDotEntries(const SearchTerms &terms) const
{
    return LeftoverFinder(m_machine).scanHomeDotEntries(terms);
}

QList<FileGroup> FileScanner::findNamedLocations(const QString &name) const
{
    return LeftoverFinder(m_machine).findNamedLocations(name);
}

QStringList FileScanner::namedLocationFolders() const
{
    return LeftoverFinder(m_machine).namedLocationFolders();
}

QList<AssociatedFile> FileScanner::findEntriesContaining(const QString &folder, const QString &name,
                                                         FileCategory category,
                                                         const std::optional<QString> &excludedName,
                                                         NameRule rule) const
{
    return LeftoverFinder(m_machine).findEntriesContaining(folder, name, category, excludedName,
                                                           rule);
}

QList<FileGroup> FileScanner::mergeFileGroups(const QList<FileGroup> &named,
                                              const QList<FileGroup> &categoryGroups)
{
    return ::mergeFileGroups(named, categoryGroups);
}

// --- npm ---------------------------------------------------------------------------------------

bool FileScanner::isNPMAvailable() const
{
    return NPMSource(m_machine).isAvailable();
}

std::optional<QString> FileScanner::npmExecutable() const
{
    return NPMSource(m_machine).executable();
}

std::optional<QString> FileScanner::npmReportedRoot() const
{
    return NPMSource(m_machine).reportedRoot();
}

std::optional<QString> FileScanner::globalNodeModulesURL() const
{
    return NPMSource(m_machine).globalNodeModules();
}

QList<NPMPackage> FileScanner::listNPMPackages() const
{
    return NPMSource(m_machine).list();
}

qint64 FileScanner::npmCacheSize() const
{
    return NPMSource(m_machine).cacheSize();
}

QList<FileGroup> FileScanner::findNPMGlobalFiles(const QString &packageName) const
{
    return NPMSource(m_machine).findGlobalFiles(packageName);
}

QList<FileGroup> FileScanner::findNPMNamedFiles(const QString &packageName) const
{
    return NPMSource(m_machine).findNamedFiles(packageName);
}

// --- Homebrew ----------------------------------------------------------------------------------

QString FileScanner::homebrewPrefix() const
{
    return HomebrewSource(m_machine).prefix();
}

bool FileScanner::isHomebrewAvailable() const
{
    return HomebrewSource(m_machine).isAvailable();
}

QList<HomebrewPackage> FileScanner::listHomebrewPackages() const
{
    return HomebrewSource(m_machine).list();
}

bool FileScanner::isInstalledOnRequest(const QString &formulaFolder) const
{
    return HomebrewSource(m_machine).isInstalledOnRequest(formulaFolder);
}

qint64 FileScanner::homebrewCacheSize() const
{
    return HomebrewSource(m_machine).cacheSize();
}

QList<FileGroup> FileScanner::findHomebrewStoreFiles(const QString &packageName) const
{
    return HomebrewSource(m_machine).findStoreFiles(packageName);
}

QList<FileGroup> FileScanner::findHomebrewSupportFiles(const QString &packageName) const
{
    return HomebrewSource(m_machine).findSupportFiles(packageName);
}

// --- Sizes -------------------------------------------------------------------------------------

qint64 FileScanner::sizeOfItem(const QString &path) const
{
    return SizeMeter(m_machine).sizeOfItem(path);
}

qint64 FileScanner::sizeOfDirectory(const QString &path, const ScanProgress &progress) const
{
    return SizeMeter(m_machine).sizeOfDirectory(path, progress);
}

qint64 FileScanner::sizeOfFile(const QString &path) const
{
    return SizeMeter(m_machine).sizeOfFile(path);
}

qint64 FileScanner::sizeOfFoundItem(const QString &path) const
{
    return SizeMeter(m_machine).sizeOfFoundItem(path);
}

// --- Removal -----------------------------------------------------------------------------------

TrashResult FileScanner::moveFilesToTrash(const QList<AssociatedFile> &files,
                                          const TrashObserver &observer) const
{
    return TrashMover(m_machine).moveFilesToTrash(files, observer);
}

PutBackResult FileScanner::putBackFromTrash(const QList<TrashedItem> &items) const
{
    return TrashMover(m_machine).putBackFromTrash(items);
}

UninstallResult FileScanner::uninstallHomebrewPackage(const QString &name, bool isCask) const
{
    return HomebrewSource(m_machine).uninstall({name, isCask});
}

UninstallResult FileScanner::uninstallNPMPackage(const QString &name) const
{
    return NPMSource(m_machine).uninstall({name});
}

UninstallResult FileScanner::uninstallFlatpak(const QString &flatpakID, bool userInstallation) const
{
    return FlatpakSource(m_machine).uninstall({flatpakID, false, userInstallation});
}

UninstallResult FileScanner::uninstallSnap(const QString &snapName) const
{
    return SnapSource(m_machine).uninstall({snapName});
}

std::optional<QString> FileScanner::uninstallCommandText(const AppInfo &app) const
{
    return ApplicationRemoval(m_machine).uninstallCommandText(app);
}

UninstallResult FileScanner::uninstallApplication(const AppInfo &app) const
{
    return ApplicationRemoval(m_machine).uninstallApplication(app);
}

UninstallResult FileScanner::removeWithCommand(const AssociatedFile &file) const
{
    return ApplicationRemoval(m_machine).removeWithCommand(file);
}

QString FileScanner::systemPackageRemovalCommand(const AppInfo &app) const
{
    return ApplicationRemoval(m_machine).systemPackageRemovalCommand(app);
}

CommandResult FileScanner::runCommand(const QString &executable, const QStringList &arguments) const
{
    return ToolRunner(m_machine).runCommand(executable, arguments);
}

CommandResult FileScanner::runQuery(const QString &executable, const QStringList &arguments) const
{
    return ToolRunner(m_machine).runQuery(executable, arguments);
}

std::optional<QString> FileScanner::runCommandForOutput(const QString &executable,
                                                        const QStringList &arguments) const
{
    return ToolRunner(m_machine).runCommandForOutput(executable, arguments);
}

QStringList FileScanner::toolEnvironment() const
{
    return ToolRunner(m_machine).toolEnvironment();
}

std::optional<QString> FileScanner::locateTool(const QString &name) const
{
    return ToolRunner(m_machine).locateTool(name);
}

// --- System data -------------------------------------------------------------------------------

SystemDataResult FileScanner::scanSystemData(const ScanProgress &progress,
                                             const SystemDataListener &listener) const
{
    return SystemDataScanner(m_machine).scanSystemData(progress, listener);
}

SystemDataResult FileScanner::arrangeSystemData(const QList<FileGroup> &all)
{
    return SystemDataScanner::arrangeSystemData(all);
}

bool FileScanner::isXcodeInstalled() const
{
    return SystemDataScanner(m_machine).isXcodeInstalled();
}

bool FileScanner::isDockerInstalled() const
{
    return SystemDataScanner(m_machine).isDockerInstalled();
}

QList<FileGroup> FileScanner::scanXcodeData(const ScanProgress &progress) const
{
    return SystemDataScanner(m_machine).scanXcodeData(progress);
}

std::optional<QList<FileGroup>> FileScanner::scanDeviceBackups(const ScanProgress &progress) const
{
    return SystemDataScanner(m_machine).scanDeviceBackups(progress);
}

std::optional<FileGroup> FileScanner::scanLocalSnapshots() const
{
    return SystemDataScanner(m_machine).scanLocalSnapshots();
}

QList<FileGroup> FileScanner::scanContainerData(const ScanProgress &progress) const
{
    return SystemDataScanner(m_machine).scanContainerData(progress);
}

std::optional<QList<FileGroup>> FileScanner::scanCachesAndLogs(const ScanProgress &progress) const
{
    return SystemDataScanner(m_machine).scanCachesAndLogs(progress);
}

QList<FileGroup> FileScanner::scanLinuxSystemData(const ScanProgress &progress) const
{
    return LinuxSystemData(m_machine).scanLinuxSystemData(progress);
}

QList<FileGroup> FileScanner::scanToolchains(const ScanProgress &progress) const
{
    return ToolchainScanner(m_machine).scanToolchains(progress);
}

QList<AssociatedFile> FileScanner::scanSystemCommandCaches(const ScanProgress &progress) const
{
    return SystemCommandCaches(m_machine).scanSystemCommandCaches(progress);
}

HomeSurvey FileScanner::surveyHome(const QList<FileGroup> &named,
                                   const ScanProgress &progress) const
{
    return HomeSurveyor(m_machine).surveyHome(named, progress);
}

QList<AssociatedFile> FileScanner::largestChildren(const QString &folder, int limit) const
{
    return HomeSurveyor(m_machine).largestChildren(folder, limit);
}
