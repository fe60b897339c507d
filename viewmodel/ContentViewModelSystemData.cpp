// The view model's System Data state, and the selected item as the detail header shows it.
#include "viewmodel/ContentViewModel.h"

#include "model/ByteCountFormat.h"
#include "model/TextSeparator.h"
#include "viewmodel/AppSubtitle.h"
#include "viewmodel/FileSelection.h"

#include <QPointer>

QString ContentViewModel::selectedSystemCategoryName() const
{
    return m_selectedSystemCategory ? caseName(*m_selectedSystemCategory) : QString();
}

DetailHeader ContentViewModel::selectedSystemCategoryHeader() const
{
    if (!m_selectedSystemCategory)
        return {};
    DetailHeader header{displayName(*m_selectedSystemCategory), QString(), QString(),
                        iconName(*m_selectedSystemCategory)};
    if (const FileGroup *group = systemDataGroup(*m_selectedSystemCategory)) {
        const qsizetype n = group->files.size();
        header.subtitle = (n == 1 ? tr("%1 item") : tr("%1 items")).arg(n);
        if (group->totalSize() > 0)
            header.subtitle += kTextSeparator + group->formattedSize();
    }
    return header;
}

const FileGroup *ContentViewModel::systemDataGroup(FileCategory category) const
{
    for (const QList<FileGroup> *groups : {&m_systemDataGroups, &m_hiddenSystemDataGroups}) {
        for (const FileGroup &group : *groups) {
            if (group.category == category)
                return &group;
        }
    }
    return nullptr;
}

QList<FileGroup> ContentViewModel::openedSystemCategory(std::optional<FileCategory> category) const
{
    QList<FileGroup> open;
    if (const FileGroup *group = category ? systemDataGroup(*category) : nullptr) {
        open.append(*group);
        FileSelection::tickOpenedSystemCategory(open);
    }
    return open;
}

void ContentViewModel::setShowHiddenSystemCategories(bool show)
{
    assignAndNotify(m_showHiddenSystemCategories, show,
                    &ContentViewModel::showHiddenSystemCategoriesChanged);
}

qint64 ContentViewModel::systemDataTotalSize() const
{
    // The user's own files are counted for the home's coverage, not as system data.
    qint64 size = 0;
    for (const FileGroup &group : m_systemDataGroups) {
        if (group.category != FileCategory::userFiles)
            size += group.totalSize();
    }
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
    SystemDataListener listener;
    listener.measuredBytes = m_homeCoverage->begin();
    // Each step's categories reach the rows while the scan goes on.
    const QPointer<ContentViewModel> guard(this);
    const std::shared_ptr<const std::atomic_bool> cancelled = m_jobs.cancellationFlag();
    listener.partialResult = [guard, cancelled, self = this, fileManager = scanner.fileManager()](
                                 const SystemDataResult &partial) {
        const QSet<QString> directories =
            FileSelection::directoryPaths(partial.groups + partial.hiddenGroups, fileManager);
        QMetaObject::invokeMethod(
            self,
            [guard, cancelled, partial, directories] {
                if (guard && !cancelled->load())
                    guard->applySystemDataPartial(partial, directories);
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
            --m_pendingSystemScans;
            m_homeCoverage->takeResult(outcome.first.homeSize, outcome.first.accountedSize);
            if (m_pendingSystemScans == 0)
                m_homeCoverage->end();
            applySystemDataResult(outcome.first, outcome.second);
        });
}

void ContentViewModel::applySystemDataPartial(const SystemDataResult &partial,
                                              const QSet<QString> &directoryPaths)
{
    setSystemDataGroups(partial, directoryPaths);
    setHiddenSystemCategoryCount(partial.hiddenCount);
}

void ContentViewModel::applySystemDataResult(const SystemDataResult &result,
                                             const QSet<QString> &directoryPaths)
{
    setSystemDataGroups(result, directoryPaths);
    // Outside the section the detail pane shows another item's files; they are not ours to clear.
    if (m_currentSection == SidebarSection::systemData)
        setFileGroups(openedSystemCategory(m_selectedSystemCategory), directoryPaths);
    setHiddenSystemCategoryCount(result.hiddenCount);
    settleScanning();
}

void ContentViewModel::showSystemCategory(Category::Value category)
{
    selectSystemCategory(Category::toFileCategory(category));
}

void ContentViewModel::selectSystemCategory(FileCategory category)
{
    if (m_isScanning)
        return;
    setSelectedSystemCategory(category);
    setFileGroups(openedSystemCategory(category), m_systemDataDirectories);
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
        return {package->name, versionText(package->version), m_npmIconSources.value(package->id),
                QStringLiteral("terminal.fill")};
    }
    if (const auto package = selectedHomebrewPackage()) {
        return {package->name,
                package->version ? versionText(package->version) : displayName(package->type),
                m_homebrewIconSources.value(package->id),
                package->type == HomebrewPackageType::cask ? QStringLiteral("shippingbox.fill")
                                                           : QStringLiteral("terminal.fill")};
    }
    return {};
}
