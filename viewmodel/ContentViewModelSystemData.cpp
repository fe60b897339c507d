// The view model's System Data state, and the selected item as the detail header shows it.
#include "viewmodel/ContentViewModel.h"

#include "model/ByteCountFormat.h"
#include "viewmodel/AppSubtitle.h"
#include "viewmodel/FileSelection.h"

namespace {

const QString kSeparator = QStringLiteral(" \u00B7 ");

} // namespace

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
    m_jobs.run(
        JobRunner::Queue::systemData, this,
        [scanner, progress] {
            const SystemDataResult result = scanner.scanSystemData(progress);
            return std::pair(result,
                             FileSelection::directoryPaths(result.groups, scanner.fileManager()));
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
                    FileSelection::selectEveryFile(open, true);
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
            FileSelection::selectEveryFile(open, true);
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
        return appSubtitle(*app);
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
