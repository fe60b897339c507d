#include "viewmodel/HomebrewPackageListModel.h"

HomebrewPackageListModel::HomebrewPackageListModel(QObject *parent) : QAbstractListModel(parent) {}

int HomebrewPackageListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_packages.size());
}

QVariant HomebrewPackageListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const HomebrewPackage &package = m_packages.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case NameRole:
        return package.name;
    case PackageIdRole:
        return package.id.toString(QUuid::WithoutBraces);
    case TypeRawRole:
        return rawValue(package.type);
    case IsCaskRole:
        return package.type == HomebrewPackageType::cask;
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

QHash<int, QByteArray> HomebrewPackageListModel::roleNames() const
{
    return {{PackageIdRole, "packageId"},
            {NameRole, "name"},
            {TypeRawRole, "typeRaw"},
            {IsCaskRole, "isCask"},
            {VersionRole, "version"},
            {HasVersionRole, "hasVersion"},
            {PathRole, "path"},
            {IconSourceRole, "iconSource"},
            {IsSelectedRole, "isSelected"}};
}

void HomebrewPackageListModel::setPackages(const QList<HomebrewPackage> &packages,
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

void HomebrewPackageListModel::setSelectedId(const QUuid &id)
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

int HomebrewPackageListModel::rowOf(const QUuid &id) const
{
    if (id.isNull())
        return -1;
    for (int row = 0; row < m_packages.size(); ++row) {
        if (m_packages.at(row).id == id)
            return row;
    }
    return -1;
}
