#include "scanner/FileScanner.h"

#include "scanner/DirectoryWalker.h"
#include "scanner/SizeLedger.h"

#include <QDir>

qint64 FileScanner::sizeOfItem(const QString &path) const
{
    bool isDirectory = false;
    if (!m_fileManager.fileExists(path, &isDirectory))
        return 0;
    return isDirectory ? sizeOfDirectory(path) : sizeOfFile(path);
}

qint64 FileScanner::sizeOfDirectory(const QString &path, const ScanProgress &progress) const
{
    if (isCancelled())
        return 0;
    DirectoryWalker walker = DirectoryWalker::standard(progress);
    walker.setCancellationFlag(m_cancelled.get());
    if (!m_ledger)
        return walker.totalSize(path);

    // During a System Data scan: what is measured is kept for its walk of the home, which then
    // does not measure it again. A link is followed here but not by that walk: bytes reached
    // through one lie elsewhere and do not count as the home's.
    const QString clean = QDir::cleanPath(path);
    if (const std::optional<qint64> known = m_ledger->size(clean))
        return *known;
    const bool counts = m_ledger->liesInHome(clean);
    if (counts)
        walker.setMeter(m_ledger->measured());
    const qint64 total = walker.totalSize(path);
    if (counts && !isCancelled())
        m_ledger->record(clean, total);
    return total;
}

qint64 FileScanner::sizeOfFile(const QString &path) const
{
    return m_fileManager.fileSize(path).value_or(0);
}

qint64 FileScanner::sizeOfFoundItem(const QString &path) const
{
    if (m_fileManager.isSymbolicLink(path))
        return sizeOfFile(path);
    return sizeOfItem(path);
}
