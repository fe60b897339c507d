#pragma once

#include "model/LeftoverRow.h"
#include "scanner/LeftoverExamination.h"

#include <QElapsedTimer>
#include <QList>
#include <QMutex>

#include <functional>
#include <optional>
#include <vector>

// Makes the rows of leftovers while their entries are examined, on the examining threads: a row
// is made as soon as its last entry is in, so a listener can be shown the rows judged so far
// while the rest are still measured, and nothing is made twice.
class LeftoverRowAssembly
{
public:
    using RowMaker = std::function<LeftoverRow(
        const QString &key, const std::vector<const ExaminedLeftover *> &entries)>;
    using PartialRows = std::function<void(const QList<LeftoverRow> &rows)>;

    // keys: the key of each entry, a row's entries next to each other. partialRows (may be
    // empty) is told the rows made so far, in their final order, at most every 100 ms and one
    // call at a time, from an examining thread.
    LeftoverRowAssembly(const std::vector<QString> &keys, RowMaker makeRow,
                        PartialRows partialRows);
    LeftoverRowAssembly(const LeftoverRowAssembly &) = delete;
    LeftoverRowAssembly &operator=(const LeftoverRowAssembly &) = delete;

    // Takes the examined entry of that index; any thread.
    void add(size_t index, ExaminedLeftover &&examined);
    // The rows made: certain ones first, then the largest; rows of the same rank in key order.
    QList<LeftoverRow> rows() const;

private:
    struct Row
    {
        QString key;
        size_t first; // index of its first entry
        std::vector<ExaminedLeftover> entries;
        size_t examined = 0;
        std::optional<LeftoverRow> made;
    };
    void tellIfDue();

    const RowMaker m_makeRow;
    const PartialRows m_partialRows;
    std::vector<Row> m_rows;
    std::vector<size_t> m_rowOfEntry;
    mutable QMutex m_mutex;
    // Held while the listener is told, so it hears the rows in the order they grew.
    QMutex m_telling;
    QElapsedTimer m_sinceTold;
};
