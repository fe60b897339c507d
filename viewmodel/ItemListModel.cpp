#include "viewmodel/ItemListModel.h"

ItemListModel::ItemListModel(int selectionRole, QObject *parent)
    : QAbstractListModel(parent), m_selectionRole(selectionRole)
{}

int ItemListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

void ItemListModel::setSelectedId(const QUuid &id)
{
    if (id == m_selectedId)
        return;
    const int oldRow = rowOf(m_selectedId);
    m_selectedId = id;
    const int newRow = rowOf(id);
    for (int row : {oldRow, newRow}) {
        if (row >= 0)
            emit dataChanged(index(row), index(row), {m_selectionRole});
    }
}

bool ItemListModel::isSelectedRow(int row) const
{
    return !m_selectedId.isNull() && row >= 0 && row < m_ids.size() &&
           m_ids.at(row) == m_selectedId;
}

bool ItemListModel::isValidRow(const QModelIndex &index) const
{
    return checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid);
}

int ItemListModel::rowOf(const QUuid &id) const
{
    return id.isNull() ? -1 : int(m_ids.indexOf(id));
}
