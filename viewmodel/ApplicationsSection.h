#pragma once

#include "model/AppInfo.h"
#include "viewmodel/AppListModel.h"
#include "viewmodel/SectionModel.h"

// The applications section: every installed application, and those the search matches, split
// into the user's own (under the home folder's Applications folder) and the system's.
class ApplicationsSection : public SectionModel
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The view model owns its sections")
    Q_PROPERTY(AppListModel *filteredApps READ filteredAppsModel CONSTANT)
    Q_PROPERTY(AppListModel *userApplications READ userApplicationsModel CONSTANT)
    Q_PROPERTY(AppListModel *systemApplications READ systemApplicationsModel CONSTANT)
    // Size of the full list (the empty state tells "no results" from "nothing installed").
    Q_PROPERTY(int allCount READ allCount NOTIFY allAppsChanged)

public:
    ApplicationsSection(const FileScanner &scanner, JobRunner &jobs, QObject *parent = nullptr);

    const QList<AppInfo> &allApps() const { return m_allApps; }
    const QList<AppInfo> &filteredApps() const { return m_filteredAppsModel->apps(); }
    int allCount() const { return int(m_allApps.size()); }
    // Members of filteredApps under the home folder's Applications folder / the system one.
    QList<AppInfo> userApplications() const;
    QList<AppInfo> systemApplications() const;
    std::optional<AppInfo> find(const QString &path) const;

    AppListModel *filteredAppsModel() const { return m_filteredAppsModel; }
    AppListModel *userApplicationsModel() const { return m_userApplicationsModel; }
    AppListModel *systemApplicationsModel() const { return m_systemApplicationsModel; }

    void load() override;
    // The first load, waited for a few tens of milliseconds: a quick disk fills the first
    // window; a slow one shows the list's busy state instead of a frozen window.
    void loadFirst();
    void search(const QString &query) override;
    void setSelectedId(const QUuid &id) override;
    // Takes an application just removed out of both lists at once.
    void drop(const AppInfo &app);

signals:
    // A load arrived, before it replaces the lists (the selected application may take its new id).
    void reloaded(const QList<AppInfo> &apps);
    void allAppsChanged();
    void filteredAppsChanged();

private:
    void apply(const QList<AppInfo> &apps);
    void setAllApps(const QList<AppInfo> &apps);
    void setFilteredApps(const QList<AppInfo> &apps);

    QList<AppInfo> m_allApps;
    QUuid m_selectedId;
    AppListModel *m_filteredAppsModel;
    AppListModel *m_userApplicationsModel;
    AppListModel *m_systemApplicationsModel;
};
