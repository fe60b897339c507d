#pragma once

#include "model/SidebarSection.h"
#include "scanner/FileScanner.h"
#include "viewmodel/JobRunner.h"

#include <QObject>
#include <QString>
#include <QUuid>
#include <QtQml/qqmlregistration.h>

// What every section of the sidebar has: its list loaded on the load workers (a newer load
// supersedes an older one; isLoading is true while any runs), the search text applied to it, and
// the row of the selected item. The view model keeps one per section in a table.
class SectionModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The view model owns its sections")
    Q_PROPERTY(bool isLoading READ isLoading NOTIFY isLoadingChanged)
    // False while the tool the section lists is missing (its button is dimmed); a package tool is
    // taken as installed until the first test says otherwise, so no button starts dimmed.
    Q_PROPERTY(bool isAvailable READ isAvailable NOTIFY isAvailableChanged)

public:
    SidebarSection section() const { return m_section; }
    bool isLoading() const { return m_pendingLoads > 0; }
    // True while a load or another job of this section has not been applied yet.
    bool hasPendingWork() const { return m_pendingLoads > 0 || m_pendingChecks > 0; }
    bool isAvailable() const { return m_isAvailable; }
    void setAvailable(bool available);

    // Starts the load of the list; the result replaces the full and shown lists.
    virtual void load() = 0;
    // Stores the text and filters the shown list with it (see ItemFilter).
    virtual void search(const QString &query) = 0;
    // Forgets the search text without touching the shown list: the section is left.
    void forgetQuery() { m_query.clear(); }
    // The id of the item whose row is highlighted (null: none).
    virtual void setSelectedId(const QUuid &id);

signals:
    void isLoadingChanged();
    void isAvailableChanged();

protected:
    SectionModel(SidebarSection section, const FileScanner &scanner, JobRunner &jobs,
                 QObject *parent);

    // Runs work on the load pool and apply(result) on the GUI thread, unless a newer load of
    // this section started meanwhile.
    template <typename Work, typename Apply> void startLoad(Work work, Apply apply)
    {
        const quint64 generation = beginLoad();
        m_jobs.run(JobRunner::Queue::loads, this, work,
                   [this, generation, apply](const auto &result) {
                       if (endLoad(generation))
                           apply(result);
                       emitIfLoadingChanged();
                   });
    }
    quint64 beginLoad();
    // True when this load is the newest one.
    bool endLoad(quint64 generation);
    void emitIfLoadingChanged();

    const FileScanner &m_scanner;
    JobRunner &m_jobs;
    QString m_query;
    // Jobs other than loads (tool tests) not applied yet.
    int m_pendingChecks = 0;

private:
    const SidebarSection m_section;
    quint64 m_loadGeneration = 0;
    int m_pendingLoads = 0;
    bool m_wasLoading = false;
    bool m_isAvailable = true;
};
