#include "viewmodel/LeftoverListModel.h"

#include "model/ByteCountFormat.h"
#include "model/MediumDate.h"
#include "viewmodel/CertaintyEnum.h"

#include <QCoreApplication>
#include <QSet>

#include <algorithm>

namespace {

int placeCount(const LeftoverRow &row)
{
    int count = 0;
    for (const FileGroup &group : row.groups)
        count += int(group.files.size());
    return count;
}

bool sameShownRow(const LeftoverRow &a, const LeftoverRow &b)
{
    return a.size == b.size && a.lastModified == b.lastModified && a.certainty == b.certainty &&
           a.reason == b.reason && placeCount(a) == placeCount(b);
}

} // namespace

LeftoverListModel::LeftoverListModel(QObject *parent) : QAbstractListModel(parent) {}

int LeftoverListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant LeftoverListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const LeftoverRow &row = m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case NameRole:
        return row.name;
    case CertaintyRole:
        return QVariant::fromValue(Certainty::of(row.certainty));
    case CertaintyTextRole:
        return displayName(row.certainty);
    case ReasonRole:
        return row.reason;
    case SizeRole:
        return row.size;
    case SizeTextRole:
        return formatByteCount(row.size);
    case LastChangedTextRole:
        return row.lastModified.isValid() ? formatMediumDate(row.lastModified.date()) : QString();
    case PlaceCountRole:
        return placeCount(row);
    case PlacesTextRole: {
        const int n = placeCount(row);
        return (n == 1 ? tr("%1 place") : tr("%1 places")).arg(n);
    }
    case IsSelectedRole:
        return !m_selectedName.isEmpty() && row.name == m_selectedName;
    }
    return {};
}

QHash<int, QByteArray> LeftoverListModel::roleNames() const
{
    return {{NameRole, "name"},
            {CertaintyRole, "certainty"},
            {CertaintyTextRole, "certaintyText"},
            {ReasonRole, "reason"},
            {SizeRole, "size"},
            {SizeTextRole, "sizeText"},
            {LastChangedTextRole, "lastChangedText"},
            {PlaceCountRole, "placeCount"},
            {PlacesTextRole, "placesText"},
            {IsSelectedRole, "isSelected"}};
}

void LeftoverListModel::setRows(const QList<LeftoverRow> &rows)
{
    const int oldCount = count();
    QSet<QString> wanted;
    for (const LeftoverRow &row : rows)
        wanted.insert(row.name);
    for (int i = count() - 1; i >= 0; --i) {
        if (!wanted.contains(m_rows.at(i).name)) {
            beginRemoveRows({}, i, i);
            m_rows.removeAt(i);
            endRemoveRows();
        }
    }
    QSet<QString> present;
    for (const LeftoverRow &row : std::as_const(m_rows))
        present.insert(row.name);
    // Now every row left is wanted: walk the new order, taking each row from where it is.
    for (int i = 0; i < rows.size(); ++i) {
        const LeftoverRow &row = rows.at(i);
        const int at = present.contains(row.name) ? rowNamed(row.name, i) : -1;
        if (at < 0) {
            // New rows that follow one another go in at once: a view lays out one insertion.
            int end = i + 1;
            while (end < rows.size() && !present.contains(rows.at(end).name))
                ++end;
            beginInsertRows({}, i, end - 1);
            m_rows.insert(i, end - i, LeftoverRow());
            std::copy(rows.begin() + i, rows.begin() + end, m_rows.begin() + i);
            endInsertRows();
            i = end - 1;
            continue;
        }
        if (at != i) {
            beginMoveRows({}, at, at, {}, i);
            m_rows.move(at, i);
            endMoveRows();
        }
        if (!sameShownRow(m_rows.at(i), row)) {
            m_rows[i] = row;
            emit dataChanged(index(i), index(i));
        } else {
            m_rows[i] = row; // its files may differ while what the row shows does not
        }
    }
    if (oldCount != count())
        emit countChanged();
}

void LeftoverListModel::setSelectedName(const QString &name)
{
    if (name == m_selectedName)
        return;
    const int oldRow = rowNamed(m_selectedName);
    m_selectedName = name;
    const int newRow = rowNamed(name);
    for (int row : {oldRow, newRow}) {
        if (row >= 0)
            emit dataChanged(index(row), index(row), {IsSelectedRole});
    }
}

int LeftoverListModel::rowNamed(const QString &name, int from) const
{
    if (name.isEmpty())
        return -1;
    for (int i = from; i < m_rows.size(); ++i) {
        if (m_rows.at(i).name == name)
            return i;
    }
    return -1;
}
