#include "scanner/SystemDataScanner.h"

#include "model/MediumDate.h"
#include "model/SystemDataThreshold.h"
#include "scanner/FoundFile.h"
#include "scanner/HomeSurveyor.h"
#include "scanner/LinuxSystemData.h"
#include "scanner/PropertyList.h"
#include "scanner/SizeLedger.h"
#include "scanner/SizeMeter.h"
#include "scanner/ToolRunner.h"
#include "scanner/ToolchainScanner.h"

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
qint64 measureEntry(const Machine &machine, const QString &path, const ScanProgress &progress)
{
    if (machine.fileManager().isSymbolicLink(path))
        return machine.fileManager().fileSize(path).value_or(0);
    return SizeMeter(machine).sizeOfDirectory(path, progress);
}

void sortLargestFirst(QList<AssociatedFile> &files)
{
    std::stable_sort(
        files.begin(), files.end(),
        [](const AssociatedFile &a, const AssociatedFile &b) { return a.size > b.size; });
}

} // namespace

SystemDataResult SystemDataScanner::scanSystemData(const ScanProgress &progress,
                                                   const SystemDataListener &listener) const
{
    // The steps measure on a machine that keeps what they measured, for the home's walk.
    Machine machine = m_machine;
    machine.setLedger(
        std::make_shared<SizeLedger>(m_machine.places().home(), listener.measuredBytes));
    const SystemDataScanner scanner(machine);
    const HomeSurveyor surveyor(machine);

    // The folders whose entries the steps measure one at a time: each measured in one parallel
    // walk rather than in one short walk per entry.
    for (const QString &folder :
         {m_machine.places().inHome(kCaches), m_machine.places().inHome(kLogs),
          m_machine.places().inHome(kDeviceBackups), m_machine.places().cacheHome()})
        surveyor.measureEntriesAhead(folder);

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
    add(ToolchainScanner(machine).scanToolchains(progress));
    add(LinuxSystemData(machine).scanLinuxSystemData(progress));

    const HomeSurvey survey = surveyor.surveyHome(all, progress);
    add(survey.groups);
    SystemDataResult result = arrangeSystemData(all);
    result.homeSize = survey.homeSize;
    result.accountedSize = survey.accountedSize;
    return result;
}

SystemDataResult SystemDataScanner::arrangeSystemData(const QList<FileGroup> &all)
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

bool SystemDataScanner::isXcodeInstalled() const
{
    return m_machine.fileManager().fileExists(
               m_machine.places().onSystem(QStringLiteral("/Applications/Xcode.app"))) ||
           m_machine.fileManager().fileExists(
               m_machine.places().inHome(QStringLiteral("Applications/Xcode.app")));
}

bool SystemDataScanner::isDockerInstalled() const
{
    return m_machine.fileManager().fileExists(
               m_machine.places().onSystem(QStringLiteral("/Applications/Docker.app"))) ||
           m_machine.fileManager().fileExists(
               m_machine.places().inHome(QStringLiteral("Library/Containers/com.docker.docker")));
}

QList<FileGroup> SystemDataScanner::scanXcodeData(const ScanProgress &progress) const
{
    QList<FileGroup> groups;
    for (const XcodeLocation &location : kXcodeLocations) {
        if (m_machine.isCancelled())
            break;
        const QString place = m_machine.places().inHome(QString::fromLatin1(location.place));
        if (!m_machine.fileManager().fileExists(place))
            continue;
        report(progress, place);
        const qint64 size = measureEntry(m_machine, place, progress);
        if (size <= 0)
            continue;
        const AssociatedFile entry = foundFile(m_machine.fileManager(), place, lastComponent(place),
                                               location.category, size);
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

std::optional<QList<FileGroup>>
SystemDataScanner::scanDeviceBackups(const ScanProgress &progress) const
{
    const QString folder = m_machine.places().inHome(kDeviceBackups);
    if (!m_machine.fileManager().fileExists(folder))
        return QList<FileGroup>();
    const std::optional<QStringList> entries = m_machine.fileManager().contentsOfDirectory(folder);
    if (!entries)
        return std::nullopt;

    const QLocale locale;
    const QString dateFormat = mediumDateFormat(locale);
    QList<AssociatedFile> backups;
    for (const QString &entry : *entries) {
        if (m_machine.isCancelled())
            break;
        bool isDirectory = false;
        if (!m_machine.fileManager().fileExists(entry, &isDirectory) || !isDirectory)
            continue;
        report(progress, entry);
        const qint64 size = measureEntry(m_machine, entry, progress);

        QString name = kBackupNameFallback;
        const std::optional<QByteArray> bytes = m_machine.fileManager().readFile(
            entry + QStringLiteral("/Info.plist"), PropertyList::kMaxInputBytes);
        const std::optional<PropertyList::TopLevelDictionary> info =
            bytes ? PropertyList::readTopLevelDictionary(*bytes) : std::nullopt;
        if (info) {
            name = info->string(kBackupNameKey).value_or(kBackupNameFallback);
            if (const std::optional<QDateTime> modified =
                    m_machine.fileManager().modificationDate(entry);
                modified && modified->isValid()) {
                name += QStringLiteral(" (") + locale.toString(modified->date(), dateFormat) +
                        QLatin1Char(')');
            }
        }
        backups.append(
            foundFile(m_machine.fileManager(), entry, name, FileCategory::deviceBackups, size));
    }
    if (backups.isEmpty())
        return QList<FileGroup>();
    return QList<FileGroup>{FileGroup(FileCategory::deviceBackups, backups)};
}

std::optional<FileGroup> SystemDataScanner::scanLocalSnapshots() const
{
    const std::optional<QString> output = ToolRunner(m_machine).runCommandForOutput(
        m_machine.places().onSystem(kSnapshotTool),
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

QList<FileGroup> SystemDataScanner::scanContainerData(const ScanProgress &progress) const
{
    QList<FileGroup> groups;
    const std::pair<QString, QString> places[] = {
        {m_machine.places().inHome(kDockerData), QStringLiteral("Docker")},
        {m_machine.places().inHome(kOrbStackData), QStringLiteral("OrbStack")},
    };
    for (const auto &[place, name] : places) {
        if (m_machine.isCancelled())
            break;
        if (!m_machine.fileManager().fileExists(place))
            continue;
        report(progress, place);
        const qint64 size = measureEntry(m_machine, place, progress);
        if (size <= 0)
            continue;
        const AssociatedFile entry =
            foundFile(m_machine.fileManager(), place, name, FileCategory::dockerData, size);
        if (groups.isEmpty())
            groups.append(FileGroup(FileCategory::dockerData, {entry}));
        else
            groups.first().files.append(entry);
    }
    return groups;
}

std::optional<QList<FileGroup>>
SystemDataScanner::scanCachesAndLogs(const ScanProgress &progress) const
{
    QList<FileGroup> groups;

    // Entries of one folder larger than minimum, largest first; nothing when it cannot be listed.
    const auto scanFolder = [&](const QString &folder, const QStringList &skipped, qint64 minimum,
                                FileCategory category) -> std::optional<QList<AssociatedFile>> {
        const std::optional<QStringList> entries =
            m_machine.fileManager().contentsOfDirectory(folder);
        if (!entries)
            return std::nullopt;
        QList<AssociatedFile> listed;
        for (const QString &entry : *entries) {
            if (m_machine.isCancelled())
                break;
            const QString name = lastComponent(entry);
            if (skipped.contains(name))
                continue;
            report(progress, entry);
            const qint64 size = measureEntry(m_machine, entry, progress);
            if (size > minimum)
                listed.append(foundFile(m_machine.fileManager(), entry, name, category, size));
        }
        sortLargestFirst(listed);
        return listed;
    };

    const QString caches = m_machine.places().inHome(kCaches);
    if (m_machine.fileManager().fileExists(caches)) {
        const std::optional<QList<AssociatedFile>> listed = scanFolder(
            caches, kExcludedCacheFolders, kCacheEntryMinimum, FileCategory::systemCaches);
        if (!listed)
            return std::nullopt;
        if (!listed->isEmpty())
            groups.append(FileGroup(FileCategory::systemCaches, *listed));
    }

    const QString logs = m_machine.places().inHome(kLogs);
    if (m_machine.fileManager().fileExists(logs)) {
        const std::optional<QList<AssociatedFile>> listed =
            scanFolder(logs, {kDiagnosticReportsName}, kLogEntryMinimum, FileCategory::systemLogs);
        if (!listed)
            return std::nullopt;
        if (!listed->isEmpty())
            groups.append(FileGroup(FileCategory::systemLogs, *listed));
    }

    const QString reports = m_machine.places().inHome(kDiagnosticReports);
    if (m_machine.fileManager().fileExists(reports)) {
        report(progress, reports);
        const qint64 size = measureEntry(m_machine, reports, progress);
        if (size > 0) {
            groups.append(FileGroup(
                FileCategory::diagnosticReports,
                {foundFile(m_machine.fileManager(), reports, QStringLiteral("Diagnostic Reports"),
                           FileCategory::diagnosticReports, size)}));
        }
    }
    return groups;
}
