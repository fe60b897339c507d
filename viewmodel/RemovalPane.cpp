#include "viewmodel/RemovalPane.h"

#include "model/TextSeparator.h"

#include <QTimer>

namespace {

constexpr int kSummaryLifetimeMs = 3000;

} // namespace

RemovalPane::RemovalPane(const FileScanner &scanner, JobRunner &jobs, ScanActivity &activity,
                         const DetailPane &detail, PlanSource plan, QObject *parent)
    : QObject(parent), m_scanner(scanner), m_jobs(jobs), m_activity(activity), m_detail(detail),
      m_plan(std::move(plan))
{
    connect(&detail, &DetailPane::selectionChanged, this, &RemovalPane::planChanged);
}

void RemovalPane::setShowDeleteConfirmation(bool show)
{
    if (show == m_showDeleteConfirmation)
        return;
    m_showDeleteConfirmation = show;
    emit showDeleteConfirmationChanged();
}

QString RemovalPane::deleteButtonTitle() const
{
    return removalButtonTitle(m_plan(m_detail.selectedFiles()));
}

QString RemovalPane::deleteConfirmationMessage() const
{
    // Only the dialog's text asks whether the application runs: the user's processes are read
    // in a few milliseconds, and the removal itself goes ahead once they confirm.
    const QList<AssociatedFile> selected = m_detail.selectedFiles();
    RemovalPlan plan = m_plan(selected);
    checkRunning(m_scanner, plan);
    return confirmationMessage(plan, selected);
}

void RemovalPane::deleteSelected()
{
    // The removal works on what the user confirmed, whatever is picked while it waits its turn.
    const QList<AssociatedFile> selected = m_detail.selectedFiles();
    if (selected.isEmpty())
        return;
    const RemovalPlan plan = m_plan(selected);
    const quint64 generation = m_activity.beginItemWork();
    const FileScanner scanner = m_scanner;
    m_jobs.run(
        JobRunner::Queue::serial, this, [scanner, plan] { return runRemoval(scanner, plan); },
        [this, generation, plan](const RemovalReport &report) {
            m_activity.endItemWork(generation);
            emit removalDone(generation, plan, report);
        });
}

void RemovalPane::putBackLastRemoval()
{
    if (!canPutBack())
        return;
    const QList<TrashedItem> items = m_putBackItems;
    offerPutBack({});
    const quint64 generation = m_activity.beginItemWork();
    const FileScanner scanner = m_scanner;
    m_jobs.run(
        JobRunner::Queue::serial, this,
        [scanner, items] { return PutBack::putBack(scanner, items); },
        [this, generation](const PutBack::Report &report) {
            m_activity.endItemWork(generation);
            emit putBackDone(generation, report);
        });
}

void RemovalPane::setLastDeleteSummary(const std::optional<QString> &summary)
{
    if (summary == m_lastDeleteSummary)
        return;
    m_lastDeleteSummary = summary;
    emit lastDeleteSummaryChanged();
    if (!summary)
        offerPutBack({});
}

void RemovalPane::showDeleteSummary(const QString &summary)
{
    setLastDeleteSummary(summary);
    QTimer::singleShot(kSummaryLifetimeMs, this, [this, summary] {
        // While Put Back is offered the line holds its button: it stays until the offer ends.
        if (m_lastDeleteSummary == summary && !canPutBack())
            setLastDeleteSummary(std::nullopt);
    });
}

QString RemovalPane::removalSummary(const RemovalReport &report)
{
    QStringList parts = report.successes;
    if (!report.trashed.isEmpty() && report.uninstalled)
        parts.append(PutBack::filesOnlyNote());
    return parts.join(kTextSeparator);
}

void RemovalPane::offerPutBack(const QList<TrashedItem> &items)
{
    const bool could = canPutBack();
    m_putBackItems = items;
    if (could != canPutBack())
        emit canPutBackChanged();
}
