#include "scanner/LeftoverRowAssembly.h"

#include <algorithm>

namespace {

constexpr qint64 kPartialRowsIntervalMs = 100;

} // namespace

LeftoverRowAssembly::LeftoverRowAssembly(const std::vector<QString> &keys, RowMaker makeRow,
                                         PartialRows partialRows)
    : m_makeRow(std::move(makeRow)), m_partialRows(std::move(partialRows))
{
    m_rowOfEntry.reserve(keys.size());
    for (size_t i = 0; i < keys.size(); ++i) {
        if (m_rows.empty() || m_rows.back().key != keys[i])
            m_rows.push_back({keys[i], i, {}, 0, std::nullopt});
        m_rows.back().entries.emplace_back();
        m_rowOfEntry.push_back(m_rows.size() - 1);
    }
}

void LeftoverRowAssembly::add(size_t index, ExaminedLeftover &&examined)
{
    Row *row = nullptr;
    {
        QMutexLocker locker(&m_mutex);
        Row &candidate = m_rows[m_rowOfEntry[index]];
        candidate.entries[index - candidate.first] = std::move(examined);
        if (++candidate.examined < candidate.entries.size())
            return;
        row = &candidate;
    }
    // Its entries are all in and nobody writes them any more.
    std::vector<const ExaminedLeftover *> entries;
    entries.reserve(row->entries.size());
    for (const ExaminedLeftover &entry : row->entries)
        entries.push_back(&entry);
    LeftoverRow made = m_makeRow(row->key, entries);
    {
        QMutexLocker locker(&m_mutex);
        row->made = std::move(made);
    }
    if (m_partialRows)
        tellIfDue();
}

QList<LeftoverRow> LeftoverRowAssembly::rows() const
{
    QList<LeftoverRow> result;
    {
        QMutexLocker locker(&m_mutex);
        for (const Row &row : m_rows) {
            if (row.made)
                result.append(*row.made);
        }
    }
    std::stable_sort(result.begin(), result.end(), [](const LeftoverRow &a, const LeftoverRow &b) {
        if (a.certainty != b.certainty)
            return a.certainty == LeftoverCertainty::certain;
        return a.size > b.size;
    });
    return result;
}

void LeftoverRowAssembly::tellIfDue()
{
    if (!m_telling.tryLock())
        return; // another thread is telling; a later row tells again
    if (!m_sinceTold.isValid() || m_sinceTold.elapsed() >= kPartialRowsIntervalMs) {
        m_partialRows(rows());
        m_sinceTold.start();
    }
    m_telling.unlock();
}
