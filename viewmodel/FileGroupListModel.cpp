#include "viewmodel/FileGroupListModel.h"

#include "viewmodel/FileListModel.h"

#include "model/ByteCountFormat.h"
#include "viewmodel/CategoryEnums.h"

FileGroupListModel::FileGroupListModel(QObject *parent) : QAbstractListModel(parent) {}

int FileGroupListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_groups.size());
}

QVariant FileGroupListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const FileGroup &group = m_groups.at(index.row());
    switch (role) {
    case GroupIdRole:
        return group.id.toString(QUuid::WithoutBraces);
    case CategoryRole:
        return QVariant::fromValue(Category::of(group.category));
    case CategoryNameRole:
        return caseName(group.category);
    case Qt::DisplayRole:
    case TitleRole:
        return displayName(group.category);
    case IconNameRole:
        return iconName(group.category);
    case TotalSizeRole:
        return group.totalSize();
    case FormattedSizeRole:
        return group.formattedSize();
    case FileCountRole:
        return int(group.files.size());
    case SelectedCountRole:
        return group.selectedCount();
    case SelectedSizeRole:
        return group.selectedSize();
    case AllSelectedRole:
        return group.removableCount() > 0 && group.selectedCount() == group.removableCount();
    case IsSelectedRole:
        return m_highlightedCategory.has_value() && *m_highlightedCategory == group.category;
    case SafetyRole:
        return QVariant::fromValue(Safety::of(systemDataSafety(group.category)));
    case SafetyTextRole:
        return badgeText(systemDataSafety(group.category));
    case FilesRole:
        return QVariant::fromValue<QObject *>(m_fileModels.at(index.row()));
    }
    return {};
}

QHash<int, QByteArray> FileGroupListModel::roleNames() const
{
    return {{GroupIdRole, "groupId"},
            {CategoryRole, "category"},
            {CategoryNameRole, "categoryName"},
            {TitleRole, "title"},
            {IconNameRole, "iconName"},
            {TotalSizeRole, "totalSize"},
            {FormattedSizeRole, "formattedSize"},
            {FileCountRole, "fileCount"},
            {SelectedCountRole, "selectedCount"},
            {SelectedSizeRole, "selectedSize"},
            {AllSelectedRole, "allSelected"},
            {IsSelectedRole, "isSelected"},
            {SafetyRole, "safety"},
            {SafetyTextRole, "safetyText"},
            {FilesRole, "files"}};
}

void FileGroupListModel::setGroups(const QList<FileGroup> &groups,
                                   const QSet<QString> &directoryPaths)
{
    const int oldCount = count();
    beginResetModel();
    m_groups = groups;
    m_directoryPaths = directoryPaths;
    // The old rows' file models go once their delegates have let go of them.
    for (FileListModel *model : std::as_const(m_fileModels))
        model->deleteLater();
    m_fileModels.clear();
    for (const FileGroup &group : groups)
        m_fileModels.append(new FileListModel(group.files, directoryPaths, this));
    endResetModel();
    if (oldCount != count())
        emit countChanged();
}

void FileGroupListModel::updateGroups(const QList<FileGroup> &groups)
{
    bool sameGroups = groups.size() == m_groups.size();
    for (int row = 0; sameGroups && row < groups.size(); ++row) {
        const FileGroup &now = m_groups.at(row);
        const FileGroup &next = groups.at(row);
        sameGroups = now.id == next.id && now.files.size() == next.files.size();
    }
    if (!sameGroups) {
        setGroups(groups, m_directoryPaths);
        return;
    }
    for (int row = 0; sameGroups && row < groups.size(); ++row) {
        const QList<AssociatedFile> &oldFiles = m_groups.at(row).files;
        const QList<AssociatedFile> &newFiles = groups.at(row).files;
        for (int i = 0; sameGroups && i < newFiles.size(); ++i)
            sameGroups = oldFiles.at(i).id == newFiles.at(i).id;
    }
    if (!sameGroups) {
        setGroups(groups, m_directoryPaths);
        return;
    }
    // The group row tells its counts; its file model tells which rows changed, one by one.
    static const QList<int> selectionRoles = {SelectedCountRole, SelectedSizeRole, AllSelectedRole};
    for (int row = 0; row < groups.size(); ++row) {
        const bool changed = m_groups.at(row).selectedCount() != groups.at(row).selectedCount() ||
                             m_groups.at(row).selectedSize() != groups.at(row).selectedSize();
        m_groups[row] = groups.at(row);
        m_fileModels.at(row)->updateFiles(groups.at(row).files);
        if (changed)
            emit dataChanged(index(row), index(row), selectionRoles);
    }
}

void FileGroupListModel::setHighlightedCategory(std::optional<FileCategory> category)
{
    if (category == m_highlightedCategory)
        return;
    const std::optional<FileCategory> old = m_highlightedCategory;
    m_highlightedCategory = category;
    for (int row = 0; row < m_groups.size(); ++row) {
        const FileCategory rowCategory = m_groups.at(row).category;
        if (rowCategory == old || rowCategory == category)
            emit dataChanged(index(row), index(row), {IsSelectedRole});
    }
}
