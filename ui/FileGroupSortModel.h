#pragma once

#include <QSortFilterProxyModel>
#include <QtQml/qqmlregistration.h>

// The found file groups, or the files of one group, in the order the detail pane draws them: the
// scan order, or, while bySize is true, the largest first (by "totalSize" or "size"; ties keep
// the scan order). Selection changes pass through as dataChanged, so delegates keep their state
// while the user ticks.
class FileGroupSortModel : public QSortFilterProxyModel
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool bySize READ bySize WRITE setBySize NOTIFY bySizeChanged)
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    explicit FileGroupSortModel(QObject *parent = nullptr);

    bool bySize() const { return m_bySize; }
    void setBySize(bool bySize);
    int count() const { return rowCount(); }

signals:
    void bySizeChanged();
    void countChanged();

protected:
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;

private:
    int sizeRole() const;

    bool m_bySize = false;
};
