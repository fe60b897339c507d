#include "ui/FileGroupSortModel.h"

FileGroupSortModel::FileGroupSortModel(QObject *parent) : QSortFilterProxyModel(parent)
{
    setDynamicSortFilter(true);
    sort(0, Qt::AscendingOrder);
    connect(this, &QAbstractItemModel::rowsInserted, this, &FileGroupSortModel::countChanged);
    connect(this, &QAbstractItemModel::rowsRemoved, this, &FileGroupSortModel::countChanged);
    connect(this, &QAbstractItemModel::modelReset, this, &FileGroupSortModel::countChanged);
}

void FileGroupSortModel::setBySize(bool bySize)
{
    if (bySize == m_bySize)
        return;
    m_bySize = bySize;
    invalidate();
    emit bySizeChanged();
}

bool FileGroupSortModel::lessThan(const QModelIndex &left, const QModelIndex &right) const
{
    if (m_bySize) {
        const int role = sizeRole();
        if (role >= 0) {
            const qint64 a = left.data(role).toLongLong();
            const qint64 b = right.data(role).toLongLong();
            if (a != b)
                return a > b;
        }
    }
    return left.row() < right.row();
}

int FileGroupSortModel::sizeRole() const
{
    if (!sourceModel())
        return -1;
    const QHash<int, QByteArray> roles = sourceModel()->roleNames();
    return roles.key("totalSize", roles.key("size", -1));
}
