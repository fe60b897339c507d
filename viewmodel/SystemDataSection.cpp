#include "viewmodel/SystemDataSection.h"

#include "model/ByteCountFormat.h"
#include "model/TextSeparator.h"
#include "viewmodel/FileSelection.h"

#include <QPointer>

SystemDataSection::SystemDataSection(const FileScanner &scanner, JobRunner &jobs,
                                     ScanActivity &activity, QObject *parent)
    : SectionModel(SidebarSection::systemData, scanner, jobs, parent), m_activity(activity),
      m_groupsModel(new FileGroupListModel(this)),
      m_hiddenGroupsModel(new FileGroupListModel(this)),
      m_homeCoverage(new HomeCoverage(scanner.places().home(), this))
{}

void SystemDataSection::setShowHidden(bool show)
{
    if (show == m_showHidden)
        return;
    m_showHidden = show;
    emit showHiddenChanged();
}

QString SystemDataSection::selectedCategoryName() const
{
    return m_selectedCategory ? caseName(*m_selectedCategory) : QString();
}

DetailHeader SystemDataSection::selectedCategoryHeader() const
{
    if (!m_selectedCategory)
        return {};
    DetailHeader header{displayName(*m_selectedCategory), QString(), QString(),
                        iconName(*m_selectedCategory)};
    if (const FileGroup *found = group(*m_selectedCategory)) {
        const qsizetype n = found->files.size();
        header.subtitle = (n == 1 ? tr("%1 item") : tr("%1 items")).arg(n);
        if (found->totalSize() > 0)
            header.subtitle += kTextSeparator + found->formattedSize();
    }
    return header;
}

void SystemDataSection::setSelectedCategory(std::optional<FileCategory> category)
{
    if (category == m_selectedCategory)
        return;
    m_selectedCategory = category;
    m_groupsModel->setHighlightedCategory(category);
    m_hiddenGroupsModel->setHighlightedCategory(category);
    emit selectedCategoryChanged();
}

const FileGroup *SystemDataSection::group(FileCategory category) const
{
    for (const QList<FileGroup> *groups : {&m_groups, &m_hiddenGroups}) {
        for (const FileGroup &candidate : *groups) {
            if (candidate.category == category)
                return &candidate;
        }
    }
    return nullptr;
}

QList<FileGroup> SystemDataSection::openedCategory(std::optional<FileCategory> category) const
{
    QList<FileGroup> open;
    if (const FileGroup *found = category ? group(*category) : nullptr) {
        open.append(*found);
        FileSelection::tickOpenedSystemCategory(open);
    }
    return open;
}

qint64 SystemDataSection::totalSize() const
{
    // The user's own files are counted for the home's coverage, not as system data.
    qint64 size = 0;
    for (const FileGroup &candidate : m_groups) {
        if (candidate.category != FileCategory::userFiles)
            size += candidate.totalSize();
    }
    return size;
}

QString SystemDataSection::totalSizeText() const
{
    return formatByteCount(totalSize());
}

void SystemDataSection::load()
{
    m_activity.beginSystemDataScan();
    const FileScanner scanner = m_scanner;
    const ScanProgress progress = m_activity.progressReporter(0, true);
    SystemDataListener listener;
    listener.measuredBytes = m_homeCoverage->begin();
    // Each step's categories reach the rows while the scan goes on.
    const QPointer<SystemDataSection> guard(this);
    const std::shared_ptr<const std::atomic_bool> cancelled = m_jobs.cancellationFlag();
    listener.partialResult = [guard, cancelled, self = this, fileManager = scanner.fileManager()](
                                 const SystemDataResult &partial) {
        const QSet<QString> directories =
            FileSelection::directoryPaths(partial.groups + partial.hiddenGroups, fileManager);
        QMetaObject::invokeMethod(
            self,
            [guard, cancelled, partial, directories] {
                if (guard && !cancelled->load()) {
                    guard->setGroups(partial, directories);
                    guard->setHiddenCount(partial.hiddenCount);
                }
            },
            Qt::QueuedConnection);
    };
    m_jobs.run(
        JobRunner::Queue::systemData, this,
        [scanner, progress, listener] {
            listener.measuredBytes->store(0);
            const SystemDataResult result = scanner.scanSystemData(progress, listener);
            return std::pair(result,
                             FileSelection::directoryPaths(result.groups + result.hiddenGroups,
                                                           scanner.fileManager()));
        },
        [this](const std::pair<SystemDataResult, QSet<QString>> &outcome) {
            m_homeCoverage->takeResult(outcome.first.homeSize, outcome.first.accountedSize);
            if (m_activity.endSystemDataScan())
                m_homeCoverage->end();
            applyResult(outcome.first, outcome.second);
        });
}

void SystemDataSection::applyResult(const SystemDataResult &result,
                                    const QSet<QString> &directoryPaths)
{
    setGroups(result, directoryPaths);
    setHiddenCount(result.hiddenCount);
    emit resultApplied(directoryPaths);
}

void SystemDataSection::setGroups(const SystemDataResult &result,
                                  const QSet<QString> &directoryPaths)
{
    m_groups = result.groups;
    m_hiddenGroups = result.hiddenGroups;
    m_directories = directoryPaths;
    m_groupsModel->setGroups(result.groups, directoryPaths);
    m_hiddenGroupsModel->setGroups(result.hiddenGroups, directoryPaths);
    emit groupsChanged();
    // The selected category's count text reads these groups.
    emit selectedCategoryChanged();
}

void SystemDataSection::setHiddenCount(int count)
{
    if (count == m_hiddenCount)
        return;
    m_hiddenCount = count;
    emit hiddenCountChanged();
}
