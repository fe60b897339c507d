#pragma once

#include "viewmodel/DetailHeader.h"
#include "viewmodel/LeftoverListModel.h"
#include "viewmodel/SectionModel.h"

#include <QStringList>

#include <optional>

// The Leftovers section: what programs that are gone left in the home, one row per probable
// former program (certain rows first, then by size, as the scanner orders them), the search
// applied to it, the progress of the search, and the names the user keeps out of it. Rows show
// while the rest are still being found; a later load supersedes an earlier one.
class LeftoversSection : public SectionModel
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The view model owns its sections")
    // The rows shown: all of them, or those matching the search.
    Q_PROPERTY(LeftoverListModel *rows READ rowsModel CONSTANT)
    // Size of the full list (the empty state tells "no results" from "nothing left over").
    Q_PROPERTY(int allCount READ allCount NOTIFY allRowsChanged)
    // What the search is reading now, while it loads ("" otherwise).
    Q_PROPERTY(QString progressText READ progressText NOTIFY progressTextChanged)
    // The names the user keeps, sorted.
    Q_PROPERTY(QStringList keptNames READ keptNames NOTIFY keptNamesChanged)

public:
    LeftoversSection(const FileScanner &scanner, JobRunner &jobs, QObject *parent = nullptr);

    LeftoverListModel *rowsModel() const { return m_rowsModel; }
    const QList<LeftoverRow> &allRows() const { return m_allRows; }
    const QList<LeftoverRow> &filteredRows() const { return m_rowsModel->rows(); }
    int allCount() const { return int(m_allRows.size()); }
    QString progressText() const { return m_progressText; }
    QStringList keptNames() const { return m_keptNames; }
    // The detail pane's header for a row: its name, certainty and last change, and why it is
    // listed.
    static DetailHeader headerOf(const LeftoverRow &row);
    // The row of that name in the full list.
    std::optional<LeftoverRow> find(const QString &name) const;

    void load() override;
    void search(const QString &query) override;
    void setSelectedName(const QString &name) { m_rowsModel->setSelectedName(name); }
    // Adds the name to the lasting Keep list; its row goes at once.
    Q_INVOKABLE void keep(const QString &name);
    // Takes the name off the Keep list; its row comes back with the load this starts.
    Q_INVOKABLE void stopKeeping(const QString &name);

signals:
    // A complete load arrived, before it replaces the lists (the selected row may have gone).
    void reloaded(const QList<LeftoverRow> &rows);
    void allRowsChanged();
    void progressTextChanged();
    void keptNamesChanged();
    // The user kept this row: it left the lists.
    void rowKept(const QString &name);

private:
    void applyRows(const QList<LeftoverRow> &rows);
    void setProgressText(const QString &text);
    void setKeptNames(const QStringList &names);
    QList<LeftoverRow> withoutKept(const QList<LeftoverRow> &rows) const;

    QList<LeftoverRow> m_allRows;
    LeftoverListModel *m_rowsModel;
    QString m_progressText;
    QStringList m_keptNames;
    // The newest load, and the newest whose complete result was applied: rows found so far are
    // shown only for a load still running and not superseded.
    quint64 m_newestLoad = 0;
    quint64 m_completedLoad = 0;
};
