#include "viewmodel/HomebrewPackageListModel.h"

HomebrewPackageListModel::HomebrewPackageListModel(QObject *parent)
    : ItemListModel(IsSelectedRole, parent)
{}

QVariant HomebrewPackageListModel::data(const QModelIndex &index, int role) const
{
    if (!isValidRow(index))
        return {};
    const HomebrewPackage &package = m_packages.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case NameRole:
        return package.name;
    case PackageIdRole:
        return package.id.toString(QUuid::WithoutBraces);
    case TypeNameRole:
        return displayName(package.type);
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
        return isSelectedRow(index.row());
    }
    return {};
}

QHash<int, QByteArray> HomebrewPackageListModel::roleNames() const
{
    return {{PackageIdRole, "packageId"},
            {NameRole, "name"},
            {TypeNameRole, "typeName"},
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
    replaceRows(packages, [&] {
        m_packages = packages;
        m_iconSources = iconSources;
    });
}
