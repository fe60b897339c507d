#include "scanner/SizeLedger.h"

#include <QDir>

SizeLedger::SizeLedger(const QString &home, std::shared_ptr<std::atomic<qint64>> measured)
    : m_homePrefix(QDir::cleanPath(home)), m_measured(std::move(measured))
{
    if (!m_homePrefix.endsWith(u'/'))
        m_homePrefix += u'/';
    if (!m_measured)
        m_measured = std::make_shared<std::atomic<qint64>>(0);
}

bool SizeLedger::isInHome(const QString &path) const
{
    return path.startsWith(m_homePrefix) && path.size() > m_homePrefix.size();
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
