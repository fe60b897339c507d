#pragma once

#include <QSortFilterProxyModel>
#include <QtQml/qqmlregistration.h>

// The found file groups in the order the detail pane draws them: the scan order, or, while
// bySize is true, the largest group first (ties keep the scan order). Selection changes pass
// through as dataChanged, so group delegates keep their state while the user ticks.
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
    int totalSizeRole() const;

    bool m_bySize = false;
};
