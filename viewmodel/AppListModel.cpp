#include "viewmodel/AppListModel.h"

#include "viewmodel/AppSubtitle.h"

AppListModel::AppListModel(QObject *parent) : ItemListModel(IsSelectedRole, parent) {}

QVariant AppListModel::data(const QModelIndex &index, int role) const
{
    if (!isValidRow(index))
        return {};
    const AppInfo &app = m_apps.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case NameRole:
        return app.name;
    case AppIdRole:
        return app.id.toString(QUuid::WithoutBraces);
    case PathRole:
        return app.path;
    case SubtitleRole:
        return appSubtitle(app);
    case IconSourceRole:
        return app.icon ? app.icon->toSource() : QString();
    case IsSelectedRole:
        return isSelectedRow(index.row());
    }
    return {};
}

QHash<int, QByteArray> AppListModel::roleNames() const
{
    return {{AppIdRole, "appId"},
            {NameRole, "name"},
            {PathRole, "path"},
            {SubtitleRole, "detail"},
            {IconSourceRole, "iconSource"},
            {IsSelectedRole, "isSelected"}};
}

std::optional<AppInfo> AppListModel::appAt(int row) const
{
    if (row < 0 || row >= m_apps.size())
        return std::nullopt;
    return m_apps.at(row);
}

void AppListModel::setApps(const QList<AppInfo> &apps)
{
    replaceRows(apps, [&] { m_apps = apps; });
}
