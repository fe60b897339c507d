#pragma once

#include "model/AppInfo.h"
#include "model/AssociatedFile.h"
#include "model/FileGroup.h"
#include "model/HomebrewPackage.h"
#include "model/LeftoverRow.h"
#include "model/NPMPackage.h"
#include "scanner/FileManager.h"
#include "scanner/Places.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

// Told what is being measured or searched now (a folder's path), for a progress line. May be
// called from the scanning thread; must be cheap.
using ScanProgress = std::function<void(const QString &what)>;

struct SearchTerms
{
    QStringList terms;           // whole-name terms, insertion order, own letter case
    QStringList identifierParts; // words of the bundle identifier
    QStringList wholeNames;      // matched only as a whole name (an identifier of < 3 components)
    QStringList sharedParts;     // identifier parts many programs share (see SharedWords)
};

// How a package search matches an entry's name: by plain containment (the package stores, whose
// entries only the package manager removes), or as a word (see TermMatcher) where what is found
// goes to the Trash.
enum class NameRule
{
    containment,
    word,
};

struct TrashFailure
{
    AssociatedFile file;
    QString error; // readable reason
};

struct TrashResult
{
    int moved = 0;
    QList<TrashFailure> failures; // in input order
    QList<TrashedItem> trashed;   // where what went to the Trash is, in input order
    int notTried = 0;             // the last ones, left in place when a stop was asked for
};

// Told of each item moveFilesToTrash moves: claimed once its name in the Trash is taken and
// before it moves (an answer other than empty leaves it in place, with that answer as its
// failure; the platform's Trash on macOS claims nothing), trashed once it is in the Trash at a
// place that is known.
struct TrashObserver
{
    Trash::ClaimCheck claimed;
    std::function<void(const TrashedItem &)> trashed;
};

struct PutBackFailure
{
    TrashedItem item;
    QString error; // readable reason
};

struct PutBackResult
{
    QList<TrashedItem> restored;    // with the place each went back to as originalPath
    QList<PutBackFailure> failures; // in input order
};

struct UninstallResult
{
    bool succeeded = false;
    std::optional<QString> output;
};

struct CommandResult
{
    std::optional<QString> output; // both streams; nothing when not valid UTF-8 or not started
    int status = -1;               // -1 when the tool could not be started
    bool timedOut = false;         // killed when the query time limit ran out
};

struct SystemDataResult
{
    QList<FileGroup> groups;       // shown categories, largest first
    int hiddenCount = 0;           // categories found but under the display threshold
    QList<FileGroup> hiddenGroups; // those categories, largest first
    // The home folder's size as the size walk counts (every path, folders' own blocks not), and
    // how much of it the groups (shown and hidden) hold; both 0 until the home has been walked.
    qint64 homeSize = 0;
    qint64 accountedSize = 0;
};

// What a System Data scan tells while it runs, from the scanning thread.
struct SystemDataListener
{
    // The categories measured so far, arranged as the result will be (after each step).
    std::function<void(const SystemDataResult &)> partialResult;
    // Where the bytes of the home measured so far add up; a scan measures each byte of the home
    // once, so this ends at the home's size.
    std::shared_ptr<std::atomic<qint64>> measuredBytes;
};

// The walk of the whole home that closes a System Data scan (FileScanner::surveyHome).
struct HomeSurvey
{
    QList<FileGroup> groups; // Your Files and Large Folders, each when it holds anything
    qint64 homeSize = 0;
    qint64 accountedSize = 0; // of the named groups, Your Files and the Large Folders listed
};

class SizeLedger;

// All disk and process work of the program. Every operation is synchronous, never fails (what
// cannot be read counts as nothing) and keeps no state between calls, so one scanner may be used
// from any thread. Every fixed place is resolved through places().
class FileScanner
{
public:
    explicit FileScanner(Places places = Places(), FileManager fileManager = FileManager());

    const Places &places() const { return m_places; }
    const FileManager &fileManager() const { return m_fileManager; }

    // Once flag is true, long operations (walks, searches, the System Data scan) stop soon and
    // return what they had: their results are then incomplete and meant to be dropped. Copies of
    // this scanner share the flag.
    void setCancellationFlag(std::shared_ptr<const std::atomic_bool> flag)
    {
        m_cancelled = std::move(flag);
    }
    bool isCancelled() const { return m_cancelled && m_cancelled->load(std::memory_order_relaxed); }

    // How long a tool that only answers a question (dpkg-query, journalctl, docker, flatpak
    // list, snap list, npm root) may run before it is killed; 0: no limit. Default 30 s.
    void setQueryTimeLimit(int milliseconds) { m_queryTimeLimitMs = milliseconds; }
    int queryTimeLimit() const { return m_queryTimeLimitMs; }

    // --- Applications ------------------------------------------------------------------------
    // ~/Applications then /Applications, then the desktop applications, all sorted by name
    // (localized, case-insensitive, stable).
    QList<AppInfo> scanApplications() const;
    // The applications the desktop entries describe (see DesktopApplicationPlaces for the
    // folders and their precedence), plus the AppImages in ~/Applications and ~/.local/bin: one
    // row per application: the entries of one origin (a Flatpak, a Snap, a package, the user's
    // own files) that start one program in a mode of its own fold, and an entry that starts
    // another application (a web application, a game) is a row of its own. An entry that is
    // hidden, not shown (NoDisplay), not of type Application, without a Name, unreadable, or
    // whose TryExec program is missing gives none; the user's entry with the same desktop-file
    // id takes the place of the system one. The owning packages of the system entries are found
    // with one query (findOwningPackages).
    QList<AppInfo> scanDesktopApplications() const;
    // The system package owning each of the given files (machine places), by one
    // "dpkg-query -S" call, else one "rpm -qf" call; files no package owns are left out.
    // Nothing when neither tool is there, fails to answer or runs out of time.
    QHash<QString, QString> findOwningPackages(const QStringList &paths) const;
    // For each installed system package, the other binary packages of its source package as
    // search words (parsePackageFamilies), by one queryInstalledPackages call.
    QHash<QString, QStringList> findPackageFamilies() const;
    // Listed under "User Applications" (else "Applications").
    bool isUserApplication(const AppInfo &app) const;
    // The ".app" entries directly inside one folder, in listing order.
    QList<AppInfo> scanApplicationsFolder(const QString &folder) const;
    // Always a record: a missing or broken property list gives the file name and no identifier.
    AppInfo readAppInfo(const QString &bundlePath) const;

    // --- Leftover search ---------------------------------------------------------------------
    // Bundle group first, then the named places, then the category folders in category order.
    // installed: every installed application (the chosen one may be among them); a file that
    // another one's terms match more specifically than the chosen one's is left out. Each file
    // carries the identity it had when found; one whose name is not exact is unremovable.
    QList<FileGroup> findAssociatedFiles(const std::optional<QString> &bundleIdentifier,
                                         const QString &name,
                                         const std::optional<QString> &bundlePath,
                                         const QList<AppInfo> &installed = {},
                                         const ScanProgress &progress = {}) const;
    // Any application: a bundle as findAssociatedFiles does; a desktop application also by its
    // desktop-file id, Exec program, StartupWMClass, Flatpak id and Snap name, in the XDG
    // folders, ~/.var/app, ~/snap, autostart entries, user units, the user's desktop entries and
    // icons, and the AppImage or home-installed program itself with the other entries that start
    // it, when no other application uses it. A system package's own files (its entry, its
    // program), an interpreter or launcher, and anything in a Trash are never offered.
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
    QList<AssociatedFile> scanCategoryFolder(const QString &folder, const SearchTerms &terms,
                                             FileCategory category) const;
    QList<AssociatedFile> scanPreferencesFolder(const QString &folder,
                                                const SearchTerms &terms) const;
    QList<AssociatedFile> scanHomeDotEntries(const SearchTerms &terms) const;
    // Places named after the item (~/.name, ~/.config/name, ..., matching launch agents).
    // A name that could leave its folder gives nothing.
    QList<FileGroup> findNamedLocations(const QString &name) const;
    // The folders findNamedLocations looks in (the home for ~/.name, ~/.config, ...,
    // ~/Library/LaunchAgents): what it finds lies directly inside one of them.
    QStringList namedLocationFolders() const;
    // Entries of folder whose names hold name under rule (in any letter case), except
    // excludedName. With NameRule::word "gh" finds "gh-2.40", not "ghostty", and "git" finds
    // "git-lfs", not "libgit2"; with NameRule::containment "git" finds "libgit2" too.
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
    QList<LeftoverRow> findLeftovers(const QStringList &kept,
                                     const ScanProgress &progress = {}) const;

    // --- npm -----------------------------------------------------------------------------------
    bool isNPMAvailable() const;
    // The npm whose global packages the list shows, and which uninstalls them: the Homebrew one,
    // the /usr/local one, /usr/bin/npm, ~/.npm-global/bin/npm, else the one "which" finds (a
    // version manager's, not tested for existence); nothing when none is found.
    std::optional<QString> npmExecutable() const;
    // The global folder as "npm root -g" reports it, for an npm other than the Homebrew or
    // /usr/local one (/usr/bin/npm, ~/.npm-global/bin/npm, else the one "which" finds: a version
    // manager's); nothing when it does not answer with an existing folder in time.
    std::optional<QString> npmReportedRoot() const;
    // npm's reported global folder, else the first existing fixed one; nothing without npm.
    std::optional<QString> globalNodeModulesURL() const;
    QList<NPMPackage> listNPMPackages() const;
    qint64 npmCacheSize() const;
    QList<FileGroup> findNPMGlobalFiles(const QString &packageName) const;
    QList<FileGroup> findNPMNamedFiles(const QString &packageName) const;

    // --- Homebrew ------------------------------------------------------------------------------
    // The first of /opt/homebrew, /home/linuxbrew/.linuxbrew and ~/.linuxbrew that holds
    // bin/brew, else the first that exists, else /opt/homebrew.
    QString homebrewPrefix() const;
    bool isHomebrewAvailable() const;
    QList<HomebrewPackage> listHomebrewPackages() const;
    bool isInstalledOnRequest(const QString &formulaFolder) const;
    qint64 homebrewCacheSize() const;
    QList<FileGroup> findHomebrewStoreFiles(const QString &packageName) const;
    QList<FileGroup> findHomebrewSupportFiles(const QString &packageName) const;

    // --- Sizes ---------------------------------------------------------------------------------
    // 0 when nothing exists; a folder's (or a link to a folder's) contents; else the file's length.
    qint64 sizeOfItem(const QString &path) const;
    // Allocated size of everything below the folder (logical length where no allocation is
    // known); links below the top are not followed; unreadable parts count 0. 0 for a non-folder.
    // progress is told, now and then, the top-level subfolder being measured.
    qint64 sizeOfDirectory(const QString &path, const ScanProgress &progress = {}) const;
    // The logical length of one item; 0 when it cannot be read.
    qint64 sizeOfFile(const QString &path) const;
    // What moving one found item to the Trash frees: a symbolic link is measured as the link
    // itself (only the link is moved, and a link to "/" must not walk the disk); anything else
    // as sizeOfItem.
    qint64 sizeOfFoundItem(const QString &path) const;

    // --- Removal -------------------------------------------------------------------------------
    // One file at a time, going on past failures; "/", the home folder and unremovable files are
    // refused, and a file with a recorded identity is moved only while it is still that item.
    // When the cancellation flag is set, the item being moved finishes and the rest are left.
    TrashResult moveFilesToTrash(const QList<AssociatedFile> &files,
                                 const TrashObserver &observer = {}) const;
    // Moves items of the user's Trash back to where their ".trashinfo" records say they came
    // from, one at a time, never over anything (see TrashRestore).
    PutBackResult putBackFromTrash(const QList<TrashedItem> &items) const;
    UninstallResult uninstallHomebrewPackage(const QString &name, bool isCask) const;
    // "npm uninstall -g <name>" through npmExecutable(); not found names where npm was looked for.
    UninstallResult uninstallNPMPackage(const QString &name) const;
    // "flatpak uninstall --noninteractive --user|--system <id>" through /usr/bin/flatpak.
    UninstallResult uninstallFlatpak(const QString &flatpakID, bool userInstallation) const;
    // "snap remove <name>" through /usr/bin/snap.
    UninstallResult uninstallSnap(const QString &snapName) const;
    // The command removing the application runs, as shown to the user ("flatpak uninstall
    // --noninteractive --user org.x.Y"); nothing when nothing runs (bundles, AppImages and
    // home-installed entries go to the Trash as files; system packages are never removed).
    std::optional<QString> uninstallCommandText(const AppInfo &app) const;
    // Runs the removal of the application's kind: Flatpak and Snap through their tool. Bundles,
    // AppImages and home-installed entries have nothing to run (not succeeded: their files go
    // through moveFilesToTrash); a system package fails with the command that would remove it.
    // Nothing runs in either case.
    UninstallResult uninstallApplication(const AppInfo &app) const;
    // Runs the file's removalCommand, within a time limit long enough for an uninstall. Not
    // succeeded, with the reason, when it has none, the tool is gone or the tool fails.
    UninstallResult removeWithCommand(const AssociatedFile &file) const;
    // "sudo apt remove <package>" ("sudo dnf remove" where rpm is the package tool) for a system
    // package with a known owner; empty otherwise. Verlo never runs it.
    QString systemPackageRemovalCommand(const AppInfo &app) const;
    CommandResult runCommand(const QString &executable, const QStringList &arguments) const;
    // As runCommand, within queryTimeLimit().
    CommandResult runQuery(const QString &executable, const QStringList &arguments) const;
    std::optional<QString> runCommandForOutput(const QString &executable,
                                               const QStringList &arguments) const;
    // Exactly PATH and HOME, as "NAME=value" pairs.
    QStringList toolEnvironment() const;
    // The tool's path as "which" prints it, trimmed; nothing when not found.
    std::optional<QString> locateTool(const QString &name) const;

    // --- System data ---------------------------------------------------------------------------
    // Every category, then one walk of the rest of the home (surveyHome); the sizes measured by
    // the steps are taken by that walk as they are, so each byte of the home is measured once.
    SystemDataResult scanSystemData(const ScanProgress &progress = {},
                                    const SystemDataListener &listener = {}) const;
    // Shows the groups of at least 100 MiB (and every snapshot group), largest first and stable;
    // counts the others as hidden.
    static SystemDataResult arrangeSystemData(const QList<FileGroup> &all);
    bool isXcodeInstalled() const;
    bool isDockerInstalled() const;
    QList<FileGroup> scanXcodeData(const ScanProgress &progress = {}) const;
    // Nothing when the backups folder exists but cannot be listed.
    std::optional<QList<FileGroup>> scanDeviceBackups(const ScanProgress &progress = {}) const;
    std::optional<FileGroup> scanLocalSnapshots() const;
    QList<FileGroup> scanContainerData(const ScanProgress &progress = {}) const;
    // Nothing when the caches or logs folder exists but cannot be listed.
    std::optional<QList<FileGroup>> scanCachesAndLogs(const ScanProgress &progress = {}) const;
    // Linux: per-program caches under $XDG_CACHE_HOME, thumbnails, package and build caches,
    // Android images, rootless container storage, the user's Trash (shown, unremovable) and what
    // only a command frees (the journal, Docker, unused Flatpak runtimes, disabled Snap
    // revisions, scanSystemCommandCaches; unremovable, with the command in the reason).
    QList<FileGroup> scanLinuxSystemData(const ScanProgress &progress = {}) const;
    // Every installed version of a toolchain, environment, IDE or game in the home folder, one
    // entry each (see ToolchainSources.h), largest first: the version in use is unremovable with
    // its reason; the others carry the tool's own removal command when the tool is there.
    QList<FileGroup> scanToolchains(const ScanProgress &progress = {}) const;
    // What only a command run as root frees outside the home: the download caches of apt, dnf
    // and pacman (where the tool is installed; pacman's packages of versions no longer
    // installed), and stored core dumps (systemd's, macOS's /cores), as far as they can be read.
    // Unremovable systemManaged entries with the command in the reason; nothing when empty.
    QList<AssociatedFile> scanSystemCommandCaches(const ScanProgress &progress = {}) const;
    // One walk of the home for what the named groups leave: the user's own folders
    // (Places::userDirectories) summed as Your Files, never offered, and the largest folders
    // (and files) outside every named entry and user folder, as Large Folders, never ticked at
    // first, with their last change; with the home's size and how much of it is accounted for.
    // Sizes this scanner's ledger holds (a scan's earlier steps) are taken as they are.
    HomeSurvey surveyHome(const QList<FileGroup> &named, const ScanProgress &progress = {}) const;
    // The entries of a folder, largest first, at most limit, measured in one walk: each by the
    // allocated size of everything in it, with its last change; empty ones left out.
    QList<AssociatedFile> largestChildren(const QString &folder, int limit) const;

private:
    // The tool environment with the npm's own folder first on PATH when it is not already there:
    // npm runs through "env node", and a version manager's node sits only beside its npm.
    QStringList npmEnvironment(const QString &npm) const;
    // During a System Data scan: measures every subfolder of folder in one walk and keeps their
    // sizes in the ledger, for a step that measures them one by one.
    void measureEntriesAhead(const QString &folder) const;

    Places m_places;
    FileManager m_fileManager;
    std::shared_ptr<const std::atomic_bool> m_cancelled;
    // Set on the scanner a System Data scan works with: what its steps measured.
    std::shared_ptr<SizeLedger> m_ledger;
    int m_queryTimeLimitMs = 30000;
};
