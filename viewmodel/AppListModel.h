#pragma once

#include "model/AppInfo.h"

#include <QAbstractListModel>
#include <QList>
#include <QUuid>

// The applications a list shows, for QML. Roles: appId (QString, the record's UUID), name, path,
// bundleIdentifier ("" when absent), iconSource (ItemIcon::toSource(), "" when the bundle has no
// icon), isSelected (this row is the selected application). The list is replaced whole (model
// reset); a change of the selected application is a dataChanged on the two rows concerned.
class AppListModel : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    enum Role
    {
        AppIdRole = Qt::UserRole + 1,
        NameRole,
        PathRole,
        BundleIdentifierRole,
        IconSourceRole,
        IsSelectedRole,
    };
    Q_ENUM(Role)

    explicit AppListModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    int count() const { return int(m_apps.size()); }
    const QList<AppInfo> &apps() const { return m_apps; }
    // The record of a row; nothing outside the list.
    std::optional<AppInfo> appAt(int row) const;

    // Replaces the whole list (model reset; countChanged when the count differs).
    void setApps(const QList<AppInfo> &apps);
    // The id of the selected application (null: none); rows whose isSelected flips get dataChanged.
    void setSelectedId(const QUuid &id);

signals:
    void countChanged();

private:
    int rowOf(const QUuid &id) const;

    QList<AppInfo> m_apps;
    QUuid m_selectedId;
};
