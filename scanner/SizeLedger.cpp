#include "scanner/SizeLedger.h"

#include <QDir>
#include <QFileInfo>

SizeLedger::SizeLedger(const QString &home, std::shared_ptr<std::atomic<qint64>> measured)
    : m_homePrefix(QDir::cleanPath(home)), m_measured(std::move(measured))
{
    if (!m_homePrefix.endsWith(u'/'))
        m_homePrefix += u'/';
    m_realHomePrefix = QFileInfo(home).canonicalFilePath();
    if (!m_realHomePrefix.endsWith(u'/'))
        m_realHomePrefix += u'/';
    if (!m_measured)
        m_measured = std::make_shared<std::atomic<qint64>>(0);
}

bool SizeLedger::isInHome(const QString &path) const
{
    return path.startsWith(m_homePrefix) && path.size() > m_homePrefix.size();
}

bool SizeLedger::liesInHome(const QString &path) const
{
    if (!isInHome(path))
        return false;
    const QString real = QFileInfo(path).canonicalFilePath();
    return real.startsWith(m_realHomePrefix) && real.size() > m_realHomePrefix.size();
}

void SizeLedger::record(const QString &path, qint64 size)
{
    QMutexLocker locker(&m_mutex);
    m_sizes.insert(path, size);
}

std::optional<qint64> SizeLedger::size(const QString &path) const
{
    QMutexLocker locker(&m_mutex);
    const auto found = m_sizes.constFind(path);
    if (found == m_sizes.constEnd())
        return std::nullopt;
    return *found;
}

QHash<QString, qint64> SizeLedger::sizes() const
{
    QMutexLocker locker(&m_mutex);
    return m_sizes;
}
