#pragma once

#include "model/HomebrewPackage.h"

#include "viewmodel/ItemListModel.h"

#include <QList>
#include <QStringList>
#include <QUuid>

// The Homebrew formulae and casks a list shows, for QML. Roles: packageId (QString UUID), name,
// typeName ("Formula" or "Cask"), isCask, version ("" when absent), hasVersion, path, iconSource
// (ItemIcon::toSource(), worked out when the list was loaded), isSelected (this row is the selected
// package). Replaced whole (model reset); a change of the selected package is a dataChanged on the
// rows concerned.
class HomebrewPackageListModel : public ItemListModel
{
    Q_OBJECT

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

    explicit HomebrewPackageListModel(QObject *parent = nullptr);

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    const QList<HomebrewPackage> &packages() const { return m_packages; }

    // Replaces the whole list. iconSources runs parallel to packages (missing entries: "").
    void setPackages(const QList<HomebrewPackage> &packages, const QStringList &iconSources);

private:
    QList<HomebrewPackage> m_packages;
    QStringList m_iconSources;
};
