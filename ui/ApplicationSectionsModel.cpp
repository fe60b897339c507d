#include "ui/ApplicationSectionsModel.h"

ApplicationSectionsModel::ApplicationSectionsModel(QObject *parent)
    : QConcatenateTablesProxyModel(parent)
{
    connect(this, &QAbstractItemModel::rowsInserted, this, &ApplicationSectionsModel::countChanged);
    connect(this, &QAbstractItemModel::rowsRemoved, this, &ApplicationSectionsModel::countChanged);
    connect(this, &QAbstractItemModel::modelReset, this, &ApplicationSectionsModel::countChanged);
    connect(this, &QAbstractItemModel::layoutChanged, this,
            &ApplicationSectionsModel::countChanged);
}

void ApplicationSectionsModel::setUserApplications(AppListModel *model)
{
    if (model == m_user)
        return;
    m_user = model;
    rebuild();
}

void ApplicationSectionsModel::setSystemApplications(AppListModel *model)
{
    if (model == m_system)
        return;
    m_system = model;
    rebuild();
}

QVariant ApplicationSectionsModel::data(const QModelIndex &index, int role) const
{
    if (role != SectionTitleRole)
        return QConcatenateTablesProxyModel::data(index, role);
    const QModelIndex source = mapToSource(index);
    if (!source.isValid())
        return {};
    if (source.model() == m_user)
        return tr("User Applications");
    return tr("Applications");
}

QHash<int, QByteArray> ApplicationSectionsModel::roleNames() const
{
    QHash<int, QByteArray> names;
    if (m_user)
        names = m_user->roleNames();
    else if (m_system)
        names = m_system->roleNames();
    names.insert(SectionTitleRole, "sectionTitle");
    return names;
}

void ApplicationSectionsModel::rebuild()
{
    // Sources go in a fixed order, user applications first.
    const QList<QAbstractItemModel *> current = sourceModels();
    for (QAbstractItemModel *model : current)
        removeSourceModel(model);
    if (m_user)
        addSourceModel(m_user);
    if (m_system)
        addSourceModel(m_system);
    emit sourcesChanged();
    emit countChanged();
}
