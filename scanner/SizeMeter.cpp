#include "scanner/SizeMeter.h"

#include "scanner/DirectoryWalker.h"
#include "scanner/SizeLedger.h"

#include <QDir>

qint64 SizeMeter::sizeOfItem(const QString &path) const
{
    bool isDirectory = false;
    if (!m_machine.fileManager().fileExists(path, &isDirectory))
        return 0;
    return isDirectory ? sizeOfDirectory(path) : sizeOfFile(path);
}

qint64 SizeMeter::sizeOfDirectory(const QString &path, const ScanProgress &progress) const
{
    if (m_machine.isCancelled())
        return 0;
    DirectoryWalker walker = DirectoryWalker::standard(progress);
    walker.setCancellationFlag(m_machine.cancellationFlag());
    SizeLedger *ledger = m_machine.ledger();
    if (!ledger)
        return walker.totalSize(path);

    // During a System Data scan: what is measured is kept for its walk of the home, which then
    // does not measure it again. A link is followed here but not by that walk: bytes reached
    // through one lie elsewhere and do not count as the home's.
    const QString clean = QDir::cleanPath(path);
    if (const std::optional<qint64> known = ledger->size(clean))
        return *known;
    const bool counts = ledger->liesInHome(clean);
    if (counts)
        walker.setMeter(ledger->measured());
    const qint64 total = walker.totalSize(path);
    if (counts && !m_machine.isCancelled())
        ledger->record(clean, total);
    return total;
}

qint64 SizeMeter::sizeOfFile(const QString &path) const
{
    return m_machine.fileManager().fileSize(path).value_or(0);
}

qint64 SizeMeter::sizeOfFoundItem(const QString &path) const
{
    if (m_machine.fileManager().isSymbolicLink(path))
        return sizeOfFile(path);
    return sizeOfItem(path);
}
