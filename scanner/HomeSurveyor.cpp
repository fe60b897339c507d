// The walk of the whole home that ends a System Data scan (Your Files, Large Folders, how much of
// the home is accounted for), and the largest children of one folder for the drill-down.

#include "scanner/HomeSurveyor.h"

#include "scanner/DirectoryWalker.h"
#include "scanner/FoundFile.h"
#include "scanner/NameGuard.h"
#include "scanner/SizeLedger.h"
#include "scanner/WalkPlan.h"

#include <QDir>

#include <algorithm>
#include <limits>

namespace {

// A folder or file outside every category must hold this much to be listed as a large one.
constexpr qint64 kLargeItemMinimum = 10LL * 1024 * 1024;
constexpr int kMaxLargeFolders = 30;
constexpr qint64 kMaxUserDirsFile = 64 * 1024;

const QString kUserFilesReason = QStringLiteral(
    "Your own files: Verlo counts them so the home adds up, and never offers them for removal.");

QString lastComponent(const QString &path)
{
    return path.section(u'/', -1);
}

// The bucket's folder as a found item, with its last change.
AssociatedFile bucketEntry(const FileManager &fileManager, const WalkPlan::Bucket &bucket,
                           FileCategory category)
{
    AssociatedFile file =
        foundFile(fileManager, bucket.path, lastComponent(bucket.path), category, bucket.bytes);
    if (bucket.newest > 0)
        file.lastModified = QDateTime::fromSecsSinceEpoch(bucket.newest);
    return file;
}

// The units of a walk with something in them, largest first (ties by path, so the order is the
// same on every run).
std::vector<WalkPlan::Bucket> largestUnits(const WalkPlan &plan, qint64 minimum, int limit)
{
    std::vector<WalkPlan::Bucket> units;
    for (WalkPlan::Bucket &bucket : plan.buckets()) {
        if (bucket.isUnit && bucket.bytes > 0 && bucket.bytes >= minimum)
            units.push_back(std::move(bucket));
    }
    std::sort(units.begin(), units.end(), [](const auto &a, const auto &b) {
        return a.bytes != b.bytes ? a.bytes > b.bytes : a.path < b.path;
    });
    if (units.size() > size_t(limit))
        units.resize(size_t(limit));
    return units;
}

// Every folder on the way from the top to place (not place itself) holds units: its children
// outside the named places are measured one by one. A folder that is named itself (a user's
// folder holding a named entry) keeps its own bucket.
void markWayTo(WalkPlan &plan, const QString &path)
{
    WalkPlace *current = &plan.root();
    const QString relative =
        path.mid(plan.top().size() + (plan.top() == QLatin1String("/") ? 0 : 1));
    const QStringList components = relative.split(u'/');
    for (qsizetype i = 0; i + 1 < components.size(); ++i) {
        current = current->children[QFile::encodeName(components[i]).toStdString()].get();
        if (current->bucket < 0) {
            current->bucket = 0;
            current->childrenAreUnits = true;
        }
    }
}

} // namespace

HomeSurvey HomeSurveyor::surveyHome(const QList<FileGroup> &named,
                                    const ScanProgress &progress) const
{
    const QString home = QDir::cleanPath(m_machine.places().home());
    SizeLedger *ledger = m_machine.ledger();
    WalkPlan plan(home, kLargeItemMinimum);
    plan.root().childrenAreUnits = true;

    // The named entries and the user's folders, each a place with a bucket.
    const int namedBucket = plan.addBucket(QString());
    QStringList marked;
    for (const FileGroup &group : named) {
        for (const AssociatedFile &file : group.files) {
            WalkPlace *place = plan.place(file.path);
            if (place && place != &plan.root()) {
                place->bucket = namedBucket;
                marked.append(place->path);
            }
        }
    }
    QList<std::pair<int, QString>> userBuckets;
    const QStringList userDirs = m_machine.places().userDirectories(
        m_machine.fileManager().readFile(m_machine.places().userDirsFile(), kMaxUserDirsFile));
    for (const QString &dir : userDirs) {
        bool isDirectory = false;
        if (!m_machine.fileManager().fileExists(dir, &isDirectory) || !isDirectory ||
            m_machine.fileManager().isSymbolicLink(dir))
            continue;
        WalkPlace *place = plan.place(dir);
        if (!place || place == &plan.root() || place->bucket >= 0)
            continue;
        place->bucket = plan.addBucket(place->path);
        userBuckets.append({place->bucket, place->path});
        marked.append(place->path);
    }
    for (const QString &path : std::as_const(marked))
        markWayTo(plan, path);
    // A folder the searches look in (~/.cache, ~/.config, ~/Library/Caches, ...) is never offered
    // whole, nor is one that holds such a folder: their entries are measured one by one instead.
    const ProtectedPlaces protectedPlaces(m_machine.places());
    for (const QString &folder : protectedPlaces.folders()) {
        bool isDirectory = false;
        if (!folder.startsWith(home + u'/') ||
            !m_machine.fileManager().fileExists(folder, &isDirectory) || !isDirectory ||
            m_machine.fileManager().isSymbolicLink(folder))
            continue;
        WalkPlace *place = plan.place(folder);
        if (!place || place == &plan.root() || place->bucket >= 0)
            continue;
        markWayTo(plan, folder);
        place->bucket = 0;
        place->childrenAreUnits = true;
    }
    // What the scan measured before is not measured again.
    if (ledger) {
        const QHash<QString, qint64> sizes = ledger->sizes();
        for (auto it = sizes.constBegin(); it != sizes.constEnd(); ++it) {
            if (WalkPlace *place = ledger->isInHome(it.key()) ? plan.place(it.key()) : nullptr)
                place->knownSize = it.value();
        }
    }

    DirectoryWalker walker = DirectoryWalker::standard(progress);
    walker.setCancellationFlag(m_machine.cancellationFlag());
    walker.setPlan(&plan);
    if (ledger)
        walker.setMeter(ledger->measured());
    HomeSurvey survey;
    survey.homeSize = walker.totalSize(home);

    const std::vector<WalkPlan::Bucket> buckets = plan.buckets();
    survey.accountedSize = buckets[size_t(namedBucket)].bytes;
    QList<AssociatedFile> userFiles;
    for (const auto &[bucket, path] : std::as_const(userBuckets)) {
        if (buckets[size_t(bucket)].bytes <= 0)
            continue;
        AssociatedFile file =
            bucketEntry(m_machine.fileManager(), buckets[size_t(bucket)], FileCategory::userFiles);
        file.unremovableReason = kUserFilesReason;
        file.lastModified = QDateTime();
        survey.accountedSize += file.size;
        userFiles.append(file);
    }
    QList<AssociatedFile> largeFolders;
    for (const WalkPlan::Bucket &unit : largestUnits(plan, kLargeItemMinimum, kMaxLargeFolders)) {
        // Nor anything in a Trash, or that holds a searched folder through a link.
        if (protectedPlaces.contains(unit.path))
            continue;
        largeFolders.append(bucketEntry(m_machine.fileManager(), unit, FileCategory::largeFolders));
        survey.accountedSize += unit.bytes;
    }
    std::stable_sort(userFiles.begin(), userFiles.end(),
                     [](const auto &a, const auto &b) { return a.size > b.size; });
    if (!userFiles.isEmpty())
        survey.groups.append(FileGroup(FileCategory::userFiles, userFiles));
    if (!largeFolders.isEmpty())
        survey.groups.append(FileGroup(FileCategory::largeFolders, largeFolders));
    return survey;
}

void HomeSurveyor::measureEntriesAhead(const QString &folder) const
{
    SizeLedger *ledger = m_machine.ledger();
    bool isDirectory = false;
    if (!ledger || !m_machine.fileManager().fileExists(folder, &isDirectory) || !isDirectory)
        return;
    WalkPlan plan(folder, std::numeric_limits<qint64>::max());
    plan.root().childrenAreUnits = true;
    DirectoryWalker walker = DirectoryWalker::standard();
    walker.setCancellationFlag(m_machine.cancellationFlag());
    walker.setPlan(&plan);
    walker.totalSize(folder);
    if (m_machine.isCancelled())
        return;
    // Only what is kept counts as measured: the folder's own files are measured again by the
    // home's walk.
    const bool inHome = ledger->liesInHome(QDir::cleanPath(folder));
    for (const WalkPlan::Bucket &bucket : plan.buckets()) {
        if (!bucket.isUnit || !bucket.isFolder)
            continue;
        ledger->record(bucket.path, bucket.bytes);
        if (inHome)
            ledger->measured()->fetch_add(bucket.bytes, std::memory_order_relaxed);
    }
}

QList<AssociatedFile> HomeSurveyor::largestChildren(const QString &folder, int limit) const
{
    WalkPlan plan(folder);
    plan.root().childrenAreUnits = true;
    DirectoryWalker walker = DirectoryWalker::standard();
    walker.setCancellationFlag(m_machine.cancellationFlag());
    walker.setPlan(&plan);
    walker.totalSize(folder);
    QList<AssociatedFile> children;
    const ProtectedPlaces protectedPlaces(m_machine.places());
    for (const WalkPlan::Bucket &unit : largestUnits(plan, 0, limit)) {
        if (!protectedPlaces.contains(unit.path))
            children.append(bucketEntry(m_machine.fileManager(), unit, FileCategory::largeFolders));
    }
    return children;
}
