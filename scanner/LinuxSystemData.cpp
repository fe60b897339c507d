// The System Data section's Linux places: what programs and tools keep in the home folder, and
// what only a command can free (the package caches and core dumps in SystemCommandCaches).

#include "scanner/LinuxSystemData.h"

#include "scanner/FlatpakSource.h"
#include "scanner/FoundFile.h"
#include "scanner/SizeMeter.h"
#include "scanner/SnapSource.h"
#include "scanner/SystemCommandCaches.h"
#include "scanner/ToolOutput.h"
#include "scanner/ToolRunner.h"

#include <algorithm>

namespace {

// Cache entries must be larger than this to be listed, as in ~/Library/Caches.
constexpr qint64 kCacheEntryMinimum = 10LL * 1024 * 1024;

const QString kJournalctl = QStringLiteral("/usr/bin/journalctl");
const QString kDocker = QStringLiteral("/usr/bin/docker");
const QString kTrashReason =
    QStringLiteral("This is your Trash. Empty it from your file manager to free this space.");

// Caches that tools rebuild, listed under Package Manager Cache: (name, place, in cache home).
struct ToolCache
{
    const char *name;
    const char *place;
    bool inCacheHome;
};
const ToolCache kToolCaches[] = {
    {"pip", "pip", true},
    {"npm", ".npm/_cacache", false},
    {"Yarn", "yarn", true},
    {"Yarn", ".yarn/berry/cache", false},
    {"Cargo registry", ".cargo/registry", false},
    {"Go modules", "go/pkg/mod", false},
    {"Go build cache", "go-build", true},
    {"Gradle", ".gradle/caches", false},
    {"Maven", ".m2/repository", false},
    {"JetBrains", "JetBrains", true},
};

void sortLargestFirst(QList<AssociatedFile> &files)
{
    std::stable_sort(
        files.begin(), files.end(),
        [](const AssociatedFile &a, const AssociatedFile &b) { return a.size > b.size; });
}

void addGroup(QList<FileGroup> &groups, FileCategory category, QList<AssociatedFile> files)
{
    if (files.isEmpty())
        return;
    sortLargestFirst(files);
    groups.append(FileGroup(category, files));
}

} // namespace

QList<FileGroup> LinuxSystemData::scanLinuxSystemData(const ScanProgress &progress) const
{
    const Places &places = m_machine.places();
    const FileManager &files = m_machine.fileManager();
    const SizeMeter sizes(m_machine);
    const ToolRunner tools(m_machine);
    QList<FileGroup> groups;
    // A folder measured as one entry; nothing when it is missing or empty.
    const auto entry = [&](const QString &path, const QString &name,
                           FileCategory category) -> std::optional<AssociatedFile> {
        bool isDirectory = false;
        if (!files.fileExists(path, &isDirectory) || files.isSymbolicLink(path))
            return std::nullopt;
        if (progress)
            progress(path);
        const qint64 size =
            isDirectory ? sizes.sizeOfDirectory(path, progress) : sizes.sizeOfFile(path);
        if (size <= 0)
            return std::nullopt;
        return foundFile(files, path, name, category, size);
    };

    QStringList toolCachePaths;
    QList<AssociatedFile> toolCaches;
    for (const ToolCache &cache : kToolCaches) {
        const QString place = QString::fromLatin1(cache.place);
        const QString path = cache.inCacheHome ? places.cacheHome() + QLatin1Char('/') + place
                                               : places.inHome(place);
        toolCachePaths.append(path);
        if (auto found =
                entry(path, QString::fromLatin1(cache.name), FileCategory::packageManagerCache))
            toolCaches.append(*found);
    }

    // Every program's cache folder, the thumbnails among them.
    QList<AssociatedFile> caches;
    for (const QString &path :
         files.contentsOfDirectory(places.cacheHome()).value_or(QStringList())) {
        if (toolCachePaths.contains(path))
            continue;
        const QString name = path.section(QLatin1Char('/'), -1);
        const QString shown =
            name == QLatin1String("thumbnails") ? QStringLiteral("Thumbnails") : name;
        if (auto found = entry(path, shown, FileCategory::systemCaches);
            found && found->size > kCacheEntryMinimum)
            caches.append(*found);
    }
    addGroup(groups, FileCategory::systemCaches, caches);
    addGroup(groups, FileCategory::packageManagerCache, toolCaches);

    QList<AssociatedFile> images;
    const QString systemImages = places.inHome(QStringLiteral("Android/Sdk/system-images"));
    for (const QString &path : files.contentsOfDirectory(systemImages).value_or(QStringList())) {
        const QString name = QStringLiteral("System image ") + path.section(QLatin1Char('/'), -1);
        if (auto found = entry(path, name, FileCategory::androidImages))
            images.append(*found);
    }
    const QString avd = places.inHome(QStringLiteral(".android/avd"));
    for (const QString &path : files.contentsOfDirectory(avd).value_or(QStringList())) {
        if (!path.endsWith(QLatin1String(".avd")))
            continue;
        const QString name =
            QStringLiteral("Emulator ") + path.section(QLatin1Char('/'), -1).chopped(4);
        if (auto found = entry(path, name, FileCategory::androidImages))
            images.append(*found);
    }
    addGroup(groups, FileCategory::androidImages, images);

    QList<AssociatedFile> containers;
    if (auto found = entry(places.dataHome() + QStringLiteral("/containers/storage"),
                           QStringLiteral("Podman"), FileCategory::containerStorage))
        containers.append(*found);
    if (auto found = entry(places.dataHome() + QStringLiteral("/docker"),
                           QStringLiteral("Docker (rootless)"), FileCategory::containerStorage))
        containers.append(*found);
    addGroup(groups, FileCategory::containerStorage, containers);

    // The Trash is shown so its size is known, and never moved into itself.
    if (auto trash = entry(places.dataHome() + QStringLiteral("/Trash"), QStringLiteral("Trash"),
                           FileCategory::userTrash)) {
        trash->unremovableReason = kTrashReason;
        groups.append(FileGroup(FileCategory::userTrash, {*trash}));
    }

    // What the system and its tools keep: listed with the command that frees it.
    QList<AssociatedFile> managed;
    if (const QString journalctl = places.onSystem(kJournalctl); files.fileExists(journalctl)) {
        if (progress)
            progress(journalctl);
        const CommandResult result = tools.runQuery(journalctl, {QStringLiteral("--disk-usage")});
        if (result.status == 0 && result.output) {
            if (const std::optional<qint64> bytes = parseJournalUsage(*result.output))
                managed.append(
                    freedOnlyByCommand(places.onSystem(QStringLiteral("/var/log/journal")),
                                       QStringLiteral("System journal"), *bytes,
                                       QStringLiteral("sudo journalctl --vacuum-size=100M")));
        }
    }
    if (const QString docker = places.onSystem(kDocker); files.fileExists(docker)) {
        if (progress)
            progress(docker);
        const CommandResult result = tools.runQuery(
            docker, {QStringLiteral("system"), QStringLiteral("df"), QStringLiteral("--format"),
                     QStringLiteral("{{.Type}}\t{{.Reclaimable}}")});
        if (result.status == 0 && result.output) {
            for (const ReclaimableItem &item : parseDockerReclaimable(*result.output)) {
                managed.append(freedOnlyByCommand(
                    places.onSystem(QStringLiteral("/var/lib/docker/")) + item.name,
                    QStringLiteral("Docker: unused ") + item.name, item.bytes,
                    QStringLiteral("docker system prune")));
            }
        }
    }
    managed.append(FlatpakSource(m_machine).unusedRuntimes(progress));
    managed.append(SnapSource(m_machine).disabledRevisions(progress));
    managed.append(SystemCommandCaches(m_machine).scanSystemCommandCaches(progress));
    // A tool that reports nothing to free (no journal yet, nothing reclaimable) lists nothing.
    managed.removeIf([](const AssociatedFile &file) { return file.size <= 0; });
    addGroup(groups, FileCategory::systemManaged, managed);
    return groups;
}
