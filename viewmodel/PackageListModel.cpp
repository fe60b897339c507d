#include "viewmodel/PackageListModel.h"

namespace {

const std::optional<QString> &versionOf(const PackageRecord &record)
{
    return std::visit(
        [](const auto &package) -> const std::optional<QString> & { return package.version; },
        record);
}

} // namespace

PackageEntry::PackageEntry(const PackageRecord &package, const QString &icon)
    : record(package), id(std::visit([](const auto &p) { return p.id; }, package)),
      name(std::visit([](const auto &p) { return p.name; }, package)), iconSource(icon)
{}

PackageListModel::PackageListModel(QObject *parent) : ItemListModel(IsSelectedRole, parent) {}

QVariant PackageListModel::data(const QModelIndex &index, int role) const
{
    if (!isValidRow(index))
        return {};
    const PackageEntry &entry = m_packages.at(index.row());
    const HomebrewPackage *brew = std::get_if<HomebrewPackage>(&entry.record);
    switch (role) {
    case Qt::DisplayRole:
    case NameRole:
        return entry.name;
    case PackageIdRole:
        return entry.id.toString(QUuid::WithoutBraces);
    case TypeNameRole:
        return brew ? displayName(brew->type) : QString();
    case IsCaskRole:
        return brew && brew->type == HomebrewPackageType::cask;
    case VersionRole:
        return versionOf(entry.record).value_or(QString());
    case HasVersionRole:
        return versionOf(entry.record).has_value();
    case PathRole:
        return std::visit([](const auto &package) { return package.path; }, entry.record);
    case IconSourceRole:
        return entry.iconSource;
    case IsSelectedRole:
        return isSelectedRow(index.row());
    }
    return {};
}

QHash<int, QByteArray> PackageListModel::roleNames() const
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

void PackageListModel::setPackages(const QList<PackageEntry> &packages)
{
    replaceRows(packages, [&] { m_packages = packages; });
}
