#include "scanner/FileScanner.h"

#include "scanner/DirectoryWalker.h"

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
    return walker.totalSize(path);
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
