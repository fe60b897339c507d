#include "viewmodel/AppListModel.h"

AppListModel::AppListModel(QObject *parent) : QAbstractListModel(parent) {}

int AppListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_apps.size());
}

QVariant AppListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
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
    case BundleIdentifierRole:
        return app.bundleIdentifier.value_or(QString());
    case IconSourceRole:
        return app.icon ? app.icon->toSource() : QString();
    case IsSelectedRole:
        return !m_selectedId.isNull() && app.id == m_selectedId;
    }
    return {};
}

QHash<int, QByteArray> AppListModel::roleNames() const
{
    return {{AppIdRole, "appId"},
            {NameRole, "name"},
            {PathRole, "path"},
            {BundleIdentifierRole, "bundleIdentifier"},
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
    const int oldCount = count();
    beginResetModel();
    m_apps = apps;
    endResetModel();
    if (oldCount != count())
        emit countChanged();
}

void AppListModel::setSelectedId(const QUuid &id)
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

int AppListModel::rowOf(const QUuid &id) const
{
    if (id.isNull())
        return -1;
    for (int row = 0; row < m_apps.size(); ++row) {
        if (m_apps.at(row).id == id)
            return row;
    }
    return -1;
}
