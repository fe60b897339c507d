#include "scanner/FileScanner.h"

#include "model/MediumDate.h"
#include "model/SystemDataThreshold.h"
#include "scanner/FoundFile.h"
#include "scanner/PropertyList.h"
#include "scanner/SizeLedger.h"

#include <QLocale>

#include <algorithm>
#include <utility>

namespace {

// Cache and log entries must be larger than these to be listed at all.
constexpr qint64 kCacheEntryMinimum = 10LL * 1024 * 1024;
constexpr qint64 kLogEntryMinimum = 1024LL * 1024;

struct XcodeLocation
{
    const char *place;
    FileCategory category;
};

const XcodeLocation kXcodeLocations[] = {
    {"Library/Developer/Xcode/DerivedData", FileCategory::xcodeDerivedData},
    {"Library/Developer/Xcode/iOS DeviceSupport", FileCategory::xcodeDeviceSupport},
    {"Library/Developer/Xcode/watchOS DeviceSupport", FileCategory::xcodeDeviceSupport},
    {"Library/Developer/Xcode/tvOS DeviceSupport", FileCategory::xcodeDeviceSupport},
    {"Library/Developer/CoreSimulator/Devices", FileCategory::xcodeSimulators},
    {"Library/Developer/Xcode/Archives", FileCategory::xcodeArchives},
};

const QString kDeviceBackups = QStringLiteral("Library/Application Support/MobileSync/Backup");
const QString kBackupNameKey = QStringLiteral("Product Name");
const QString kBackupNameFallback = QStringLiteral("iOS Device");
const QString kSnapshotTool = QStringLiteral("/usr/bin/tmutil");
const QString kSnapshotPrefix = QStringLiteral("com.apple.TimeMachine.");
const QString kDockerData = QStringLiteral("Library/Containers/com.docker.docker/Data");
const QString kOrbStackData = QStringLiteral(".orbstack");
const QString kCaches = QStringLiteral("Library/Caches");
const QStringList kExcludedCacheFolders = {QStringLiteral("Homebrew"), QStringLiteral("CocoaPods"),
                                           QStringLiteral("pip")};
const QString kLogs = QStringLiteral("Library/Logs");
const QString kDiagnosticReportsName = QStringLiteral("DiagnosticReports");
const QString kDiagnosticReports = QStringLiteral("Library/Logs/DiagnosticReports");

QString lastComponent(const QString &path)
{
    return path.section(QLatin1Char('/'), -1);
}

void report(const ScanProgress &progress, const QString &what)
{
    if (progress)
        progress(what);
}

// What moving one entry to the Trash frees. An entry that is a symbolic link (a DerivedData
// folder kept on another disk) is moved as the link, so it is measured as the link, and a link
// to "/" never walks the disk. A plain file counts 0, as it always has here.
qint64 measureEntry(const FileScanner &scanner, const QString &path, const ScanProgress &progress)
{
    if (scanner.fileManager().isSymbolicLink(path))
        return scanner.fileManager().fileSize(path).value_or(0);
    return scanner.sizeOfDirectory(path, progress);
}

void sortLargestFirst(QList<AssociatedFile> &files)
{
    std::stable_sort(
        files.begin(), files.end(),
        [](const AssociatedFile &a, const AssociatedFile &b) { return a.size > b.size; });
}

} // namespace

SystemDataResult FileScanner::scanSystemData(const ScanProgress &progress,
                                             const SystemDataListener &listener) const
{
    // The steps measure through a scanner that keeps what they measured, for the home's walk.
    FileScanner scanner = *this;
    scanner.m_ledger = std::make_shared<SizeLedger>(m_places.home(), listener.measuredBytes);

    // The folders whose entries the steps measure one at a time: each measured in one parallel
    // walk rather than in one short walk per entry.
    for (const QString &folder : {m_places.inHome(kCaches), m_places.inHome(kLogs),
                                  m_places.inHome(kDeviceBackups), m_places.cacheHome()})
        scanner.measureEntriesAhead(folder);

    QList<FileGroup> all;
    // A category both machines have (caches) stays one group. Each step's categories are shown
    // as soon as it is done.
    const auto add = [&all, &listener](const QList<FileGroup> &groups) {
        for (const FileGroup &group : groups) {
            auto same = std::find_if(all.begin(), all.end(), [&](const FileGroup &g) {
                return g.category == group.category;
            });
            if (same == all.end())
                all.append(group);
            else
                same->files.append(group.files);
        }
        if (listener.partialResult && !groups.isEmpty())
            listener.partialResult(arrangeSystemData(all));
    };
    if (scanner.isXcodeInstalled())
        add(scanner.scanXcodeData(progress));
    if (const std::optional<QList<FileGroup>> backups = scanner.scanDeviceBackups(progress))
        add(*backups);
    if (std::optional<FileGroup> snapshots = scanner.scanLocalSnapshots())
        add({*snapshots});
    if (scanner.isDockerInstalled())
        add(scanner.scanContainerData(progress));
    if (const std::optional<QList<FileGroup>> cachesAndLogs = scanner.scanCachesAndLogs(progress))
        add(*cachesAndLogs);
    add(scanner.scanToolchains(progress));
    add(scanner.scanLinuxSystemData(progress));

    const HomeSurvey survey = scanner.surveyHome(all, progress);
    add(survey.groups);
    SystemDataResult result = arrangeSystemData(all);
    result.homeSize = survey.homeSize;
    result.accountedSize = survey.accountedSize;
    return result;
}

SystemDataResult FileScanner::arrangeSystemData(const QList<FileGroup> &all)
{
    SystemDataResult result;
    for (const FileGroup &group : all) {
        // Snapshots are listed, never measured, so their total of 0 must not hide them.
        if (group.totalSize() < kSystemDataDisplayThreshold &&
            group.category != FileCategory::timeMachineSnapshots)
            result.hiddenGroups.append(group);
        else
            result.groups.append(group);
    }
    result.hiddenCount = int(result.hiddenGroups.size());
    const auto largestFirst = [](const FileGroup &a, const FileGroup &b) {
        return a.totalSize() > b.totalSize();
    };
    std::stable_sort(result.groups.begin(), result.groups.end(), largestFirst);
    std::stable_sort(result.hiddenGroups.begin(), result.hiddenGroups.end(), largestFirst);
    return result;
}

bool FileScanner::isXcodeInstalled() const
{
    return m_fileManager.fileExists(m_places.onSystem(QStringLiteral("/Applications/Xcode.app"))) ||
           m_fileManager.fileExists(m_places.inHome(QStringLiteral("Applications/Xcode.app")));
}

bool FileScanner::isDockerInstalled() const
{
    return m_fileManager.fileExists(
               m_places.onSystem(QStringLiteral("/Applications/Docker.app"))) ||
           m_fileManager.fileExists(
               m_places.inHome(QStringLiteral("Library/Containers/com.docker.docker")));
}

QList<FileGroup> FileScanner::scanXcodeData(const ScanProgress &progress) const
{
    QList<FileGroup> groups;
    for (const XcodeLocation &location : kXcodeLocations) {
        if (isCancelled())
            break;
        const QString place = m_places.inHome(QString::fromLatin1(location.place));
        if (!m_fileManager.fileExists(place))
            continue;
        report(progress, place);
        const qint64 size = measureEntry(*this, place, progress);
        if (size <= 0)
            continue;
        const AssociatedFile entry =
            foundFile(m_fileManager, place, lastComponent(place), location.category, size);
        auto group = std::find_if(groups.begin(), groups.end(), [&](const FileGroup &g) {
            return g.category == location.category;
        });
        if (group == groups.end())
            groups.append(FileGroup(location.category, {entry}));
        else
            group->files.append(entry);
    }
    for (FileGroup &group : groups)
        sortLargestFirst(group.files);
    return groups;
}

std::optional<QList<FileGroup>> FileScanner::scanDeviceBackups(const ScanProgress &progress) const
{
    const QString folder = m_places.inHome(kDeviceBackups);
    if (!m_fileManager.fileExists(folder))
        return QList<FileGroup>();
    const std::optional<QStringList> entries = m_fileManager.contentsOfDirectory(folder);
    if (!entries)
        return std::nullopt;

    const QLocale locale;
    const QString dateFormat = mediumDateFormat(locale);
    QList<AssociatedFile> backups;
    for (const QString &entry : *entries) {
        if (isCancelled())
            break;
        bool isDirectory = false;
        if (!m_fileManager.fileExists(entry, &isDirectory) || !isDirectory)
            continue;
        report(progress, entry);
        const qint64 size = measureEntry(*this, entry, progress);

        QString name = kBackupNameFallback;
        const std::optional<QByteArray> bytes = m_fileManager.readFile(
            entry + QStringLiteral("/Info.plist"), PropertyList::kMaxInputBytes);
        const std::optional<PropertyList::TopLevelDictionary> info =
            bytes ? PropertyList::readTopLevelDictionary(*bytes) : std::nullopt;
        if (info) {
            name = info->string(kBackupNameKey).value_or(kBackupNameFallback);
            if (const std::optional<QDateTime> modified = m_fileManager.modificationDate(entry);
                modified && modified->isValid()) {
                name += QStringLiteral(" (") + locale.toString(modified->date(), dateFormat) +
                        QLatin1Char(')');
            }
        }
        backups.append(foundFile(m_fileManager, entry, name, FileCategory::deviceBackups, size));
    }
    if (backups.isEmpty())
        return QList<FileGroup>();
    return QList<FileGroup>{FileGroup(FileCategory::deviceBackups, backups)};
}

std::optional<FileGroup> FileScanner::scanLocalSnapshots() const
{
    const std::optional<QString> output =
        runCommandForOutput(m_places.onSystem(kSnapshotTool),
                            {QStringLiteral("listlocalsnapshots"), QStringLiteral("/")});
    if (!output || output->isEmpty())
        return std::nullopt;

    QList<AssociatedFile> snapshots;
    for (const QString &rawLine : output->split(QLatin1Char('\n'))) {
        const QString line = rawLine.trimmed();
        if (!line.startsWith(kSnapshotPrefix))
            continue;
        // A snapshot is not a file: its entry stands on the machine's real root, which the
        // Trash refuses, whatever machine the scanner was pointed at.
        snapshots.append(AssociatedFile(
            QStringLiteral("/"), QStringLiteral("Snapshot ") + line.mid(kSnapshotPrefix.size()),
            FileCategory::timeMachineSnapshots, 0));
    }
    if (snapshots.isEmpty())
        return std::nullopt;
    return FileGroup(FileCategory::timeMachineSnapshots, snapshots);
}

QList<FileGroup> FileScanner::scanContainerData(const ScanProgress &progress) const
{
    QList<FileGroup> groups;
    const std::pair<QString, QString> places[] = {
        {m_places.inHome(kDockerData), QStringLiteral("Docker")},
        {m_places.inHome(kOrbStackData), QStringLiteral("OrbStack")},
    };
    for (const auto &[place, name] : places) {
        if (isCancelled())
            break;
        if (!m_fileManager.fileExists(place))
            continue;
        report(progress, place);
        const qint64 size = measureEntry(*this, place, progress);
        if (size <= 0)
            continue;
        const AssociatedFile entry =
            foundFile(m_fileManager, place, name, FileCategory::dockerData, size);
        if (groups.isEmpty())
            groups.append(FileGroup(FileCategory::dockerData, {entry}));
        else
            groups.first().files.append(entry);
    }
    return groups;
}

std::optional<QList<FileGroup>> FileScanner::scanCachesAndLogs(const ScanProgress &progress) const
{
    QList<FileGroup> groups;

    // Entries of one folder larger than minimum, largest first; nothing when it cannot be listed.
    const auto scanFolder = [&](const QString &folder, const QStringList &skipped, qint64 minimum,
                                FileCategory category) -> std::optional<QList<AssociatedFile>> {
        const std::optional<QStringList> entries = m_fileManager.contentsOfDirectory(folder);
        if (!entries)
            return std::nullopt;
        QList<AssociatedFile> listed;
        for (const QString &entry : *entries) {
            if (isCancelled())
                break;
            const QString name = lastComponent(entry);
            if (skipped.contains(name))
                continue;
            report(progress, entry);
            const qint64 size = measureEntry(*this, entry, progress);
            if (size > minimum)
                listed.append(foundFile(m_fileManager, entry, name, category, size));
        }
        sortLargestFirst(listed);
        return listed;
    };

    const QString caches = m_places.inHome(kCaches);
    if (m_fileManager.fileExists(caches)) {
        const std::optional<QList<AssociatedFile>> listed = scanFolder(
            caches, kExcludedCacheFolders, kCacheEntryMinimum, FileCategory::systemCaches);
        if (!listed)
            return std::nullopt;
        if (!listed->isEmpty())
            groups.append(FileGroup(FileCategory::systemCaches, *listed));
    }

    const QString logs = m_places.inHome(kLogs);
    if (m_fileManager.fileExists(logs)) {
        const std::optional<QList<AssociatedFile>> listed =
            scanFolder(logs, {kDiagnosticReportsName}, kLogEntryMinimum, FileCategory::systemLogs);
        if (!listed)
            return std::nullopt;
        if (!listed->isEmpty())
            groups.append(FileGroup(FileCategory::systemLogs, *listed));
    }

    const QString reports = m_places.inHome(kDiagnosticReports);
    if (m_fileManager.fileExists(reports)) {
        report(progress, reports);
        const qint64 size = measureEntry(*this, reports, progress);
        if (size > 0) {
            groups.append(
                FileGroup(FileCategory::diagnosticReports,
                          {foundFile(m_fileManager, reports, QStringLiteral("Diagnostic Reports"),
                                     FileCategory::diagnosticReports, size)}));
        }
    }
    return groups;
}
