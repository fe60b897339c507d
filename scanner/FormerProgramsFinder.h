#pragma once

#include "model/LeftoverRow.h"
#include "scanner/Machine.h"
#include "scanner/ScanProgress.h"

#include <QList>
#include <QStringList>

#include <functional>

// Told the leftover rows judged so far, in their final order, while the rest are measured.
using PartialLeftoverRows = std::function<void(const QList<LeftoverRow> &rows)>;

// What programs that are gone left: every entry of the searched places that nothing installed,
// the desktop or the user claims (see LeftoverClaims), joined by name into one row per former
// program, measured and judged (see LeftoverEvidence).
class FormerProgramsFinder
{
public:
    explicit FormerProgramsFinder(Machine machine) : m_machine(std::move(machine)) {}

    // Certain rows first, then by size; nothing when cancelled. partialRows, when given, is told
    // the rows so far from the scanning threads, at most every 100 ms.
    QList<LeftoverRow> findLeftovers(const QStringList &kept, const ScanProgress &progress = {},
                                     const PartialLeftoverRows &partialRows = {}) const;

private:
    Machine m_machine;
};
