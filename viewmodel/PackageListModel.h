#pragma once

#include "model/HomebrewPackage.h"
#include "model/NPMPackage.h"
#include "viewmodel/ItemListModel.h"

#include <QList>
#include <QUuid>
#include <QtQml/qqmlregistration.h>

#include <variant>

using PackageRecord = std::variant<NPMPackage, HomebrewPackage>;

// One row of a package list: the package and what the list shows of it.
struct PackageEntry
{
    PackageRecord record;
    QUuid id;
    QString name;
    QString iconSource; // ItemIcon::toSource(), worked out when the list was loaded

    explicit PackageEntry(const PackageRecord &package, const QString &icon = QString());
    // The same package (its id aside).
    bool operator==(const PackageEntry &other) const { return record == other.record; }
};

// The packages of one kind among entries.
template <typename Package> QList<Package> packagesOf(const QList<PackageEntry> &entries)
{
    QList<Package> packages;
    for (const PackageEntry &entry : entries) {
        if (const Package *package = std::get_if<Package>(&entry.record))
            packages.append(*package);
    }
    return packages;
}

// The npm or Homebrew packages a list shows, for QML. Roles: packageId (QString UUID), name,
// typeName ("Formula" or "Cask"; "" for npm), isCask, version ("" when absent), hasVersion, path,
// iconSource, isSelected (this row is the selected package). Replaced whole (model reset); a
// change of the selected package is a dataChanged on the rows concerned.
class PackageListModel : public ItemListModel
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The view model owns its lists")

public:
    enum Role
    {
        PackageIdRole = Qt::UserRole + 1,
        NameRole,
        TypeNameRole,
        IsCaskRole,
        VersionRole,
        HasVersionRole,
        PathRole,
        IconSourceRole,
        IsSelectedRole,
    };
    Q_ENUM(Role)

    explicit PackageListModel(QObject *parent = nullptr);

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    const QList<PackageEntry> &packages() const { return m_packages; }
    // Replaces the whole list (model reset; countChanged when the count differs).
    void setPackages(const QList<PackageEntry> &packages);

private:
    QList<PackageEntry> m_packages;
};
