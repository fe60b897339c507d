#include "viewmodel/ApplicationsSection.h"

#include "viewmodel/ApplicationOrder.h"
#include "viewmodel/ItemFilter.h"

#include <chrono>
#include <future>

namespace {

constexpr std::chrono::milliseconds kFirstListWait(40);

} // namespace

ApplicationsSection::ApplicationsSection(const FileScanner &scanner, JobRunner &jobs,
                                         QObject *parent)
    : SectionModel(SidebarSection::applications, scanner, jobs, parent),
      m_filteredAppsModel(new AppListModel(this)), m_userApplicationsModel(new AppListModel(this)),
      m_systemApplicationsModel(new AppListModel(this))
{}

QList<AppInfo> ApplicationsSection::userApplications() const
{
    return applicationsByLocation(m_scanner, filteredApps()).user;
}

QList<AppInfo> ApplicationsSection::systemApplications() const
{
    return applicationsByLocation(m_scanner, filteredApps()).system;
}

std::optional<AppInfo> ApplicationsSection::find(const QString &path) const
{
    for (const AppInfo &app : m_allApps) {
        if (app.path == path)
            return app;
    }
    return std::nullopt;
}

void ApplicationsSection::load()
{
    const FileScanner scanner = m_scanner;
    startLoad([scanner] { return scanner.scanApplications(); },
              [this](const QList<AppInfo> &apps) { apply(apps); });
}

void ApplicationsSection::loadFirst()
{
    struct First
    {
        std::promise<QList<AppInfo>> ready;
        bool applied = false; // taken while the constructor waited: the delivery does nothing
        quint64 generation = 0;
    };
    const auto first = std::make_shared<First>();
    std::future<QList<AppInfo>> arrived = first->ready.get_future();
    const FileScanner scanner = m_scanner;
    // The delivery is queued to this thread, so it runs after the decision below.
    m_jobs.run(
        JobRunner::Queue::loads, this,
        [scanner, first] {
            QList<AppInfo> apps = scanner.scanApplications();
            first->ready.set_value(apps);
            return apps;
        },
        [this, first](const QList<AppInfo> &apps) {
            if (first->applied)
                return;
            if (endLoad(first->generation))
                apply(apps);
            emitIfLoadingChanged();
        });
    // The list usually arrives within a few milliseconds: then the first window opens with it.
    if (arrived.wait_for(kFirstListWait) == std::future_status::ready) {
        first->applied = true;
        apply(arrived.get());
    } else {
        first->generation = beginLoad();
    }
}

void ApplicationsSection::apply(const QList<AppInfo> &apps)
{
    emit reloaded(apps);
    setAllApps(apps);
    // The search field keeps its text across reloads; the list must keep matching it.
    setFilteredApps(m_query.isEmpty() ? apps : ItemFilter::applications(apps, m_query));
}

void ApplicationsSection::search(const QString &query)
{
    m_query = query;
    setFilteredApps(query.isEmpty() ? m_allApps : ItemFilter::applications(m_allApps, query));
}

void ApplicationsSection::setSelectedId(const QUuid &id)
{
    m_selectedId = id;
    m_filteredAppsModel->setSelectedId(id);
    m_userApplicationsModel->setSelectedId(id);
    m_systemApplicationsModel->setSelectedId(id);
}

void ApplicationsSection::drop(const AppInfo &app)
{
    QList<AppInfo> all = m_allApps;
    all.removeAll(app);
    QList<AppInfo> shown = filteredApps();
    shown.removeAll(app);
    setAllApps(all);
    setFilteredApps(shown);
}

void ApplicationsSection::setAllApps(const QList<AppInfo> &apps)
{
    m_allApps = apps;
    emit allAppsChanged();
}

void ApplicationsSection::setFilteredApps(const QList<AppInfo> &apps)
{
    m_filteredAppsModel->setApps(apps);
    m_userApplicationsModel->setApps(userApplications());
    m_systemApplicationsModel->setApps(systemApplications());
    setSelectedId(m_selectedId);
    emit filteredAppsChanged();
}
