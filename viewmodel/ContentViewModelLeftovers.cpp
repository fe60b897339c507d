// The view model's part in the Leftovers section: picking a row, and what a reload or a kept name
// does to the pick.
#include "viewmodel/ContentViewModel.h"

void ContentViewModel::selectLeftover(const QString &name)
{
    if (const auto row = m_leftovers->find(name)) {
        setSelectedItem(*row);
        startItemScan(*row);
    }
}

// A reload lists the rows anew: the picked row takes its new record (its files as found now)
// without a new scan, and the pick ends when the row is gone (all its files went, or another
// program now claims them).
void ContentViewModel::adoptReloadedLeftovers(const QList<LeftoverRow> &rows)
{
    const LeftoverRow *selected = m_selectedItem ? m_selectedItem->as<LeftoverRow>() : nullptr;
    if (!selected)
        return;
    for (const LeftoverRow &row : rows) {
        if (row.name == selected->name) {
            m_selectedItem = row;
            emit selectedItemChanged();
            return;
        }
    }
    forgetLeftover(selected->name);
}

void ContentViewModel::forgetLeftover(const QString &name)
{
    const LeftoverRow *selected = m_selectedItem ? m_selectedItem->as<LeftoverRow>() : nullptr;
    if (!selected || selected->name != name)
        return;
    setSelectedItem(std::nullopt);
    if (m_currentSection == SidebarSection::leftovers)
        m_detail->setFileGroups({});
}
