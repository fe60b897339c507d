#pragma once

#include "model/AppInfo.h"
#include "model/AssociatedFile.h"
#include "model/FileGroup.h"
#include "model/HomebrewPackage.h"
#include "model/LeftoverRow.h"
#include "model/NPMPackage.h"
#include "scanner/FormerProgramsFinder.h"
#include "scanner/HomeSurveyor.h"
#include "scanner/Machine.h"
#include "scanner/NameRule.h"
#include "scanner/ScanProgress.h"
#include "scanner/SearchTerms.h"
#include "scanner/SystemDataScanner.h"
#include "scanner/ToolRunner.h"
#include "scanner/TrashMover.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>
#include <optional>

// All disk and process work of the program, as one entry point: each operation forwards to the
// scanner of its concern (ApplicationListing, DesktopApplications, LeftoverFinder, the package
// sources, SizeMeter, TrashMover, ApplicationRemoval, SystemDataScanner and its steps), all over
// one Machine. Every operation is synchronous, never fails (what cannot be read counts as
// nothing) and keeps no state between calls, so one scanner may be used from any thread. Every
// fixed place is resolved through places().
class FileScanner
{
public:
    explicit FileScanner(Places places = Places(), FileManager fileManager = FileManager());
    explicit FileScanner(Machine machine) : m_machine(std::move(machine)) {}

    const Machine &machine() const { return m_machine; }
    const Places &places() const { return m_machine.places(); }
    const FileManager &fileManager() const { return m_machine.fileManager(); }

    // Once flag is true, long operations (walks, searches, the System Data scan) stop soon and
    // return what they had: their results are then incomplete and meant to be dropped. Copies of
    // this scanner share the flag.
    void setCancellationFlag(std::shared_ptr<const std::atomic_bool> flag)
    {
        m_machine.setCancellationFlag(std::move(flag));
    }
    bool isCancelled() const { return m_machine.isCancelled(); }

    // How long a tool that only answers a question (dpkg-query, journalctl, docker, flatpak
    // list, snap list, npm root) may run before it is killed; 0: no limit. Default 30 s.
    void setQueryTimeLimit(int milliseconds) { m_machine.setQueryTimeLimit(milliseconds); }
    int queryTimeLimit() const { return m_machine.queryTimeLimit(); }

    // --- Applications (ApplicationListing, DesktopApplications) -------------------------------
    QList<AppInfo> scanApplications() const;
    QList<AppInfo> scanDesktopApplications() const;
    // The system package owning each of the given files (SystemPackageSource).
    QHash<QString, QString> findOwningPackages(const QStringList &paths) const;
    // For each installed system package, the other binary packages of its source package as
    // search words (parsePackageFamilies), by one queryInstalledPackages call.
    QHash<QString, QStringList> findPackageFamilies() const;
    bool isUserApplication(const AppInfo &app) const;
    QList<AppInfo> scanApplicationsFolder(const QString &folder) const;
    AppInfo readAppInfo(const QString &bundlePath) const;

    // --- Leftover search (LeftoverFinder, SearchTerms) ------------------------------------------
    QList<FileGroup> findAssociatedFiles(const std::optional<QString> &bundleIdentifier,
                                         const QString &name,
                                         const std::optional<QString> &bundlePath,
                                         const QList<AppInfo> &installed = {},
                                         const ScanProgress &progress = {}) const;
    QList<FileGroup> findApplicationFiles(const AppInfo &app, const QList<AppInfo> &installed = {},
                                          const ScanProgress &progress = {}) const;
    // The terms of buildSearchTerms plus, for a desktop application, its other names.
    SearchTerms buildSearchTerms(const AppInfo &app) const;
    SearchTerms buildSearchTerms(const std::optional<QString> &bundleIdentifier,
                                 const QString &name,
                                 const std::optional<QString> &bundlePath) const;
    static void addSearchTerm(const QString &candidate, QSet<QString> &seen, QStringList &list);
    // TermMatcher's rule: whole word up to 2 characters, word start up to 5, else containment.
    static bool matchesTerm(const QString &fileName, const QString &term);
    QList<AssociatedFile> scanPreferencesFolder(const QString &folder,
                                                const SearchTerms &terms) const;
    QList<AssociatedFile> scanHomeDotEntries(const SearchTerms &terms) const;
    QList<FileGroup> findNamedLocations(const QString &name) const;
    QStringList namedLocationFolders() const;
    QList<AssociatedFile> findEntriesContaining(const QString &folder, const QString &name,
                                                FileCategory category,
                                                const std::optional<QString> &excludedName,
                                                NameRule rule) const;
    static QList<FileGroup> mergeFileGroups(const QList<FileGroup> &named,
                                            const QList<FileGroup> &categoryGroups);

    // --- Leftovers of programs that are gone ------------------------------------------------
    // Every entry of the searched places (the Library folders, the XDG homes, ~/.var/app, ~/snap,
    // autostart entries, user units, user desktop entries, launch agents, home dot entries) that
    // no installed application, package, Flatpak, Snap or program on PATH claims, nor the
    // desktop or the system itself (see LeftoverClaims), nor a name the user keeps (kept); joined
    // by name (leftoverKey) into one row per probable former program, measured, nothing ticked.
    // Certain rows (an entry points at something gone, see goneTarget) first, then by size.
    // partialRows, when given, is told the rows judged so far, in that order, while the rest are
    // measured (from the scanning threads, at most every 100 ms); the result has every row.
    QList<LeftoverRow> findLeftovers(const QStringList &kept, const ScanProgress &progress = {},
                                     const PartialLeftoverRows &partialRows = {}) const;

    // --- npm (NPMSource) -------------------------------------------------------------------------
    bool isNPMAvailable() const;
    std::optional<QString> npmExecutable() const;
    std::optional<QString> npmReportedRoot() const;
    std::optional<QString> globalNodeModulesURL() const;
    QList<NPMPackage> listNPMPackages() const;
    qint64 npmCacheSize() const;
    QList<FileGroup> findNPMGlobalFiles(const QString &packageName) const;
    QList<FileGroup> findNPMNamedFiles(const QString &packageName) const;

    // --- Homebrew (HomebrewSource) -------------------------------------------------------------
    QString homebrewPrefix() const;
    bool isHomebrewAvailable() const;
    QList<HomebrewPackage> listHomebrewPackages() const;
    bool isInstalledOnRequest(const QString &formulaFolder) const;
    qint64 homebrewCacheSize() const;
    QList<FileGroup> findHomebrewStoreFiles(const QString &packageName) const;
    QList<FileGroup> findHomebrewSupportFiles(const QString &packageName) const;

    // --- Sizes (SizeMeter) -----------------------------------------------------------------------
    qint64 sizeOfItem(const QString &path) const;
    qint64 sizeOfDirectory(const QString &path, const ScanProgress &progress = {}) const;
    qint64 sizeOfFile(const QString &path) const;
    qint64 sizeOfFoundItem(const QString &path) const;

    // --- Removal (TrashMover, the package sources, ApplicationRemoval, ToolRunner) -------------
    TrashResult moveFilesToTrash(const QList<AssociatedFile> &files,
                                 const TrashObserver &observer = {}) const;
    PutBackResult putBackFromTrash(const QList<TrashedItem> &items) const;
    UninstallResult uninstallHomebrewPackage(const QString &name, bool isCask) const;
    UninstallResult uninstallNPMPackage(const QString &name) const;
    UninstallResult uninstallFlatpak(const QString &flatpakID, bool userInstallation) const;
    UninstallResult uninstallSnap(const QString &snapName) const;
    std::optional<QString> uninstallCommandText(const AppInfo &app) const;
    UninstallResult uninstallApplication(const AppInfo &app) const;
    UninstallResult removeWithCommand(const AssociatedFile &file) const;
    QString systemPackageRemovalCommand(const AppInfo &app) const;
    CommandResult runCommand(const QString &executable, const QStringList &arguments) const;
    CommandResult runQuery(const QString &executable, const QStringList &arguments) const;
    std::optional<QString> runCommandForOutput(const QString &executable,
                                               const QStringList &arguments) const;
    QStringList toolEnvironment() const;
    std::optional<QString> locateTool(const QString &name) const;

    // --- System data (SystemDataScanner, its steps, HomeSurveyor) -------------------------------
    SystemDataResult scanSystemData(const ScanProgress &progress = {},
                                    const SystemDataListener &listener = {}) const;
    static SystemDataResult arrangeSystemData(const QList<FileGroup> &all);
    bool isXcodeInstalled() const;
    bool isDockerInstalled() const;
    QList<FileGroup> scanXcodeData(const ScanProgress &progress = {}) const;
    std::optional<QList<FileGroup>> scanDeviceBackups(const ScanProgress &progress = {}) const;
    std::optional<FileGroup> scanLocalSnapshots() const;
    QList<FileGroup> scanContainerData(const ScanProgress &progress = {}) const;
    std::optional<QList<FileGroup>> scanCachesAndLogs(const ScanProgress &progress = {}) const;
    QList<FileGroup> scanLinuxSystemData(const ScanProgress &progress = {}) const;
    QList<FileGroup> scanToolchains(const ScanProgress &progress = {}) const;
    QList<AssociatedFile> scanSystemCommandCaches(const ScanProgress &progress = {}) const;
    HomeSurvey surveyHome(const QList<FileGroup> &named, const ScanProgress &progress = {}) const;
    QList<AssociatedFile> largestChildren(const QString &folder, int limit) const;

private:
    Machine m_machine;
};
