#include "viewmodel/NPMPackageListModel.h"

NPMPackageListModel::NPMPackageListModel(QObject *parent) : ItemListModel(IsSelectedRole, parent) {}

QVariant NPMPackageListModel::data(const QModelIndex &index, int role) const
{
    if (!isValidRow(index))
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
        return isSelectedRow(index.row());
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
    replaceRows(packages, [&] {
        m_packages = packages;
        m_iconSources = iconSources;
    });
}
