#include "scanner/FileScanner.h"

#include "scanner/DirectoryWalker.h"

#include <QThread>

#include <algorithm>

namespace {

// Two threads roughly halve the time of a large walk on this kind of machine; more mostly wait
// on the same disk. Small folders never start the second one.
int walkerThreadCount()
{
    static const int count = std::clamp(QThread::idealThreadCount(), 1, 2);
    return count;
}

} // namespace

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
    return DirectoryWalker(walkerThreadCount(), progress, m_cancelled.get()).totalSize(path);
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
