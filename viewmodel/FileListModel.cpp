#include "viewmodel/FileListModel.h"

#include "model/ByteCountFormat.h"
#include "model/MediumDate.h"

FileListModel::FileListModel(const QList<AssociatedFile> &files,
                             const QSet<QString> &directoryPaths, QObject *parent)
    : QAbstractListModel(parent), m_files(files), m_directoryPaths(directoryPaths)
{}

int FileListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_files.size());
}

QVariant FileListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const AssociatedFile &file = m_files.at(index.row());
    switch (role) {
    case FileIdRole:
        return file.id.toString(QUuid::WithoutBraces);
    case Qt::DisplayRole:
    case NameRole:
        return file.name;
    case PathRole:
        return file.path;
    case SizeRole:
        return file.size;
    case SizeTextRole:
        return formatByteCount(file.size);
    case IsSelectedRole:
        return file.isSelected;
    case IsDirectoryRole:
        return m_directoryPaths.contains(file.path);
    case IsPackageFileRole:
        return isRemovedByPackageManager(file.category);
    case UnremovableReasonRole:
        return file.unremovableReason;
    case AlsoUsedByRole:
        return file.alsoUsedBy;
    case LastModifiedTextRole:
        return file.lastModified.isValid() ? formatMediumDate(file.lastModified.date()) : QString();
    case CanOpenRole:
        return file.category == FileCategory::largeFolders && m_directoryPaths.contains(file.path);
    case FileRole: {
        QVariantMap map;
        const QHash<int, QByteArray> names = roleNames();
        for (auto it = names.constBegin(); it != names.constEnd(); ++it) {
            if (it.key() != FileRole)
                map.insert(QString::fromLatin1(it.value()), data(index, it.key()));
        }
        return map;
    }
    }
    return {};
}

QHash<int, QByteArray> FileListModel::roleNames() const
{
    return {{FileIdRole, "fileId"},
            {NameRole, "name"},
            {PathRole, "path"},
            {SizeRole, "size"},
            {SizeTextRole, "sizeText"},
            {IsSelectedRole, "isSelected"},
            {IsDirectoryRole, "isDirectory"},
            {IsPackageFileRole, "isPackageFile"},
            {UnremovableReasonRole, "unremovableReason"},
            {AlsoUsedByRole, "alsoUsedBy"},
            {LastModifiedTextRole, "lastModifiedText"},
            {CanOpenRole, "canOpen"},
            {FileRole, "file"}};
}

bool FileListModel::updateFiles(const QList<AssociatedFile> &files)
{
    if (files.size() != m_files.size())
        return false;
    for (int row = 0; row < files.size(); ++row) {
        if (files.at(row).id != m_files.at(row).id)
            return false;
    }
    for (int row = 0; row < files.size(); ++row) {
        const bool changed = files.at(row).isSelected != m_files.at(row).isSelected;
        m_files[row] = files.at(row);
        if (changed)
            emit dataChanged(index(row), index(row), {IsSelectedRole, FileRole});
    }
    return true;
}
