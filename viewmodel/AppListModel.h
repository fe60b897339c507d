#pragma once

#include <QtQml/qqmlregistration.h>

#include "model/AppInfo.h"

#include "viewmodel/ItemListModel.h"

#include <QList>
#include <QUuid>

// The applications a list shows, for QML. Roles: appId (QString, the record's UUID), name, path,
// detail (appSubtitle: the bundle identifier, or how it was installed), iconSource
// (ItemIcon::toSource(), "" when the bundle has no icon), isSelected (this row is the selected
// application). The list is replaced whole (model reset); a change of the selected application is a
// dataChanged on the two rows concerned.
class AppListModel : public ItemListModel
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The view model owns it")

public:
    enum Role
    {
        AppIdRole = Qt::UserRole + 1,
        NameRole,
        PathRole,
        SubtitleRole,
        IconSourceRole,
        IsSelectedRole,
    };
    Q_ENUM(Role)

    explicit AppListModel(QObject *parent = nullptr);

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    const QList<AppInfo> &apps() const { return m_apps; }
    // The record of a row; nothing outside the list.
    std::optional<AppInfo> appAt(int row) const;

    // Replaces the whole list (model reset; countChanged when the count differs).
    void setApps(const QList<AppInfo> &apps);

private:
    QList<AppInfo> m_apps;
};
