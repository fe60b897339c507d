#pragma once

#include "scanner/FileScanner.h"
#include "viewmodel/DetailPane.h"
#include "viewmodel/JobRunner.h"
#include "viewmodel/PutBack.h"
#include "viewmodel/RemovalJob.h"
#include "viewmodel/ScanActivity.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

#include <functional>
#include <optional>

// The removal of the detail pane's ticked files: the confirmation, the removal on the serial
// worker, its result line and the Put Back it offers. What follows a removal in the lists is the
// view model's: removalDone and putBackDone hand it the reports.
class RemovalPane : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The view model owns its removal")
    Q_PROPERTY(bool showDeleteConfirmation READ showDeleteConfirmation WRITE
                   setShowDeleteConfirmation NOTIFY showDeleteConfirmationChanged)
    // "Uninstall & Remove" when the removal would run an uninstall, else "Move to Trash".
    Q_PROPERTY(QString deleteButtonTitle READ deleteButtonTitle NOTIFY planChanged)
    // The confirmation text: uninstall part, Move part, closing sentence, warning paragraph.
    Q_PROPERTY(QString deleteConfirmationMessage READ deleteConfirmationMessage NOTIFY planChanged)
    Q_PROPERTY(QString lastDeleteSummary READ lastDeleteSummaryText NOTIFY lastDeleteSummaryChanged)
    Q_PROPERTY(bool hasLastDeleteSummary READ hasLastDeleteSummary NOTIFY lastDeleteSummaryChanged)
    // The result line offers Put Back: from a removal that moved files to the Trash until the
    // line goes (the next item scan or removal, or Put Back itself).
    Q_PROPERTY(bool canPutBack READ canPutBack NOTIFY canPutBackChanged)

public:
    // The removal of these ticked files the current pick would make.
    using PlanSource = std::function<RemovalPlan(const QList<AssociatedFile> &selected)>;

    RemovalPane(const FileScanner &scanner, JobRunner &jobs, ScanActivity &activity,
                const DetailPane &detail, PlanSource plan, QObject *parent = nullptr);

    bool showDeleteConfirmation() const { return m_showDeleteConfirmation; }
    void setShowDeleteConfirmation(bool show);
    QString deleteButtonTitle() const;
    QString deleteConfirmationMessage() const;

    // Removes the ticked files on the serial worker (uninstall, then Trash); nothing when none
    // is ticked.
    Q_INVOKABLE void deleteSelected();
    // Moves the files of the last removal back from the Trash on the serial worker, where their
    // places are free; the package manager's uninstall is not undone. The offer ends at once.
    Q_INVOKABLE void putBackLastRemoval();

    std::optional<QString> lastDeleteSummary() const { return m_lastDeleteSummary; }
    QString lastDeleteSummaryText() const { return m_lastDeleteSummary.value_or(QString()); }
    bool hasLastDeleteSummary() const { return m_lastDeleteSummary.has_value(); }
    // Absent: the line goes, and with it the offer of Put Back.
    void setLastDeleteSummary(const std::optional<QString> &summary);
    // Shows the result line; it is cleared 3 seconds later unless replaced meanwhile or Put Back
    // is offered (then it stays while the offer does).
    void showDeleteSummary(const QString &summary);
    // The result line of a removal: what it did, and the note that Put Back restores files only
    // when it uninstalled a package.
    static QString removalSummary(const RemovalReport &report);

    bool canPutBack() const { return !m_putBackItems.isEmpty(); }
    // Offers Put Back for these items (none: withdraws the offer).
    void offerPutBack(const QList<TrashedItem> &items);

signals:
    void showDeleteConfirmationChanged();
    // The ticks or the pick changed: the button title and the confirmation may read otherwise.
    void planChanged();
    void lastDeleteSummaryChanged();
    void canPutBackChanged();
    // A removal or Put Back finished (generation: its item job's).
    void removalDone(quint64 generation, const RemovalPlan &plan, const RemovalReport &report);
    void putBackDone(quint64 generation, const PutBack::Report &report);

private:
    const FileScanner &m_scanner;
    JobRunner &m_jobs;
    ScanActivity &m_activity;
    const DetailPane &m_detail;
    const PlanSource m_plan;
    bool m_showDeleteConfirmation = false;
    std::optional<QString> m_lastDeleteSummary;
    QList<TrashedItem> m_putBackItems;
};
