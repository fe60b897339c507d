#include "viewmodel/NPMPackageListModel.h"

NPMPackageListModel::NPMPackageListModel(QObject *parent) : QAbstractListModel(parent) {}

int NPMPackageListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_packages.size());
}

QVariant NPMPackageListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const NPMPackage &package = m_packages.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case NameRole:
        return package.name;
    case PackageIdRole:
        return package.id.toString(QUuid::WithoutBraces);
    case VersionRole:
        return package.version.value_or(QString());
    case HasVersionRole:
        return package.version.has_value();
    case PathRole:
        return package.path;
    case IconSourceRole:
        return m_iconSources.value(index.row());
    case IsSelectedRole:
        return !m_selectedId.isNull() && package.id == m_selectedId;
    }
    return {};
}

QHash<int, QByteArray> NPMPackageListModel::roleNames() const
{
    return {{PackageIdRole, "packageId"},   {NameRole, "name"}, {VersionRole, "version"},
            {HasVersionRole, "hasVersion"}, {PathRole, "path"}, {IconSourceRole, "iconSource"},
            {IsSelectedRole, "isSelected"}};
}

void NPMPackageListModel::setPackages(const QList<NPMPackage> &packages,
                                      const QStringList &iconSources)
{
    const int oldCount = count();
    beginResetModel();
    m_packages = packages;
    m_iconSources = iconSources;
    endResetModel();
    if (oldCount != count())
        emit countChanged();
}

void NPMPackageListModel::setSelectedId(const QUuid &id)
{
    if (id == m_selectedId)
        return;
    const int oldRow = rowOf(m_selectedId);
    m_selectedId = id;
    const int newRow = rowOf(id);
    for (int row : {oldRow, newRow}) {
        if (row >= 0)
            emit dataChanged(index(row), index(row), {IsSelectedRole});
    }
}

int NPMPackageListModel::rowOf(const QUuid &id) const
{
    if (id.isNull())
        return -1;
    for (int row = 0; row < m_packages.size(); ++row) {
        if (m_packages.at(row).id == id)
            return row;
    }
    return -1;
}
