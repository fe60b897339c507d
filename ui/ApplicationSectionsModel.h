#pragma once

#include "viewmodel/AppListModel.h"

#include <QConcatenateTablesProxyModel>
#include <QPointer>
#include <QtQml/qqmlregistration.h>

// The applications list as one model with two sections: the rows of userApplications, then
// those of systemApplications, each row carrying its section's title ("User Applications",
// "Applications") in the role sectionTitle, so one lazily built ListView can show both with
// their headers. A section whose list is empty has no rows and so no header.
class ApplicationSectionsModel : public QConcatenateTablesProxyModel
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(AppListModel *userApplications READ userApplications WRITE setUserApplications NOTIFY
                   sourcesChanged)
    Q_PROPERTY(AppListModel *systemApplications READ systemApplications WRITE setSystemApplications
                   NOTIFY sourcesChanged)
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    explicit ApplicationSectionsModel(QObject *parent = nullptr);

    AppListModel *userApplications() const { return m_user; }
    void setUserApplications(AppListModel *model);
    AppListModel *systemApplications() const { return m_system; }
    void setSystemApplications(AppListModel *model);

    int count() const { return rowCount(); }

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    static constexpr int SectionTitleRole = Qt::UserRole + 500;

signals:
    void sourcesChanged();
    void countChanged();

private:
    void rebuild();

    QPointer<AppListModel> m_user;
    QPointer<AppListModel> m_system;
};
