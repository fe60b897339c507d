#pragma once

#include "model/LeftoverRow.h"

#include <QAbstractListModel>
#include <QList>
#include <QtQml/qqmlregistration.h>

// The leftover rows a list shows, for QML. Roles: name, certainty (Certainty.Value),
// certaintyText ("Certain", "Likely"), reason, size, sizeText, lastChangedText (medium date, ""
// when unknown), placeCount and placesText (its entries across the searched places), isSelected.
// setRows brings the rows to a new list by inserting, moving, updating and removing rows, never
// by a reset, so the selection, the scroll position and the delegates stay while rows arrive.
class LeftoverListModel : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The view model owns its lists")
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    enum Role
    {
        NameRole = Qt::UserRole + 1,
        CertaintyRole,
        CertaintyTextRole,
        ReasonRole,
        SizeRole,
        SizeTextRole,
        LastChangedTextRole,
        PlaceCountRole,
        PlacesTextRole,
        IsSelectedRole,
    };
    Q_ENUM(Role)

    explicit LeftoverListModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    int count() const { return int(m_rows.size()); }
    const QList<LeftoverRow> &rows() const { return m_rows; }
    // Rows are told apart by name; a row of the same name keeps its place in the view.
    void setRows(const QList<LeftoverRow> &rows);
    // The name of the selected row ("": none).
    void setSelectedName(const QString &name);

signals:
    void countChanged();

private:
    int rowNamed(const QString &name, int from = 0) const;

    QList<LeftoverRow> m_rows;
    QString m_selectedName;
};
