// The view model's Put Back of the last removal.
#include "model/TextSeparator.h"
#include "viewmodel/ContentViewModel.h"

// The result line of a removal: what it did, and the note that Put Back restores files only
// when it uninstalled a package.
QString ContentViewModel::removalSummary(const RemovalReport &outcome)
{
    QStringList parts = outcome.successes;
    if (!outcome.trashed.isEmpty() && outcome.uninstalled)
        parts.append(PutBack::filesOnlyNote());
    return parts.join(kTextSeparator);
}

// Offers Put Back for these items (none: withdraws the offer).
void ContentViewModel::offerPutBack(const QList<TrashedItem> &items)
{
    const bool could = canPutBack();
    m_putBackItems = items;
    if (could != canPutBack())
        emit canPutBackChanged();
}

void ContentViewModel::putBackLastRemoval()
{
    if (!canPutBack())
        return;
    const QList<TrashedItem> items = m_putBackItems;
    offerPutBack({});
    const quint64 generation = beginItemWork();
    const FileScanner scanner = m_scanner;
    m_jobs.run(
        JobRunner::Queue::serial, this,
        [scanner, items] { return PutBack::putBack(scanner, items); },
        [this, generation](const PutBack::Report &report) { applyPutBack(generation, report); });
}

void ContentViewModel::applyPutBack(quint64 generation, const PutBack::Report &report)
{
    --m_pendingItemWork;
    if (!report.errors.isEmpty()) {
        setErrorMessage(report.errors.join(u'\n'));
        setShowErrorAlert(true);
    }
    // What came back shows again: the section's list, and the item when nothing else was picked
    // meanwhile.
    loadCurrentSection();
    if (generation == m_itemGeneration) {
        if (m_selectedItem && m_selectedItem->section() == m_currentSection)
            startItemScan(*m_selectedItem);
    }
    settleScanning();
    if (report.successes.isEmpty())
        setLastDeleteSummary(std::nullopt);
    else
        showDeleteSummary(report.successes.join(kTextSeparator));
}
