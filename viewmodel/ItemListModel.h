#pragma once

#include <QtQml/qqmlregistration.h>

#include <QAbstractListModel>
#include <QList>
#include <QUuid>

// What the three item lists (applications, npm packages, Homebrew packages) share: the rows'
// record ids, the count for QML, and the one selected row. The list is replaced whole (model
// reset, countChanged when the count differs); a change of the selected item is a dataChanged of
// the selection role on the two rows concerned, so delegates keep their state.
class ItemListModel : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The view model owns it")
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int count() const { return int(m_ids.size()); }

    // The id of the selected item (null: none).
    void setSelectedId(const QUuid &id);

signals:
    void countChanged();

protected:
    ItemListModel(int selectionRole, QObject *parent);

    // Replaces the rows with records (anything with an id): storeRecords swaps them into the
    // subclass, between the reset's begin and end.
    template <typename Records, typename StoreRecords>
    void replaceRows(const Records &records, StoreRecords storeRecords)
    {
        const int oldCount = count();
        beginResetModel();
        m_ids.clear();
        m_ids.reserve(records.size());
        for (const auto &record : records)
            m_ids.append(record.id);
        storeRecords();
        endResetModel();
        if (oldCount != count())
            emit countChanged();
    }

    bool isSelectedRow(int row) const;
    bool isValidRow(const QModelIndex &index) const;

private:
    int rowOf(const QUuid &id) const;

    const int m_selectionRole;
    QList<QUuid> m_ids;
    QUuid m_selectedId;
};
