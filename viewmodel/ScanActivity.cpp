#include "viewmodel/ScanActivity.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QPointer>

#include <memory>

namespace {

// How often a running scan may tell the window what it measures: often enough to look alive,
// rarely enough not to flood the GUI thread with events.
constexpr qint64 kProgressIntervalMs = 100;

} // namespace

ScanActivity::ScanActivity(QObject *parent) : QObject(parent) {}

quint64 ScanActivity::beginItemWork()
{
    ++m_pendingItemWork;
    setProgressText(QString());
    setIsScanning(true);
    return ++m_generation;
}

bool ScanActivity::endItemWork(quint64 generation)
{
    --m_pendingItemWork;
    return isCurrent(generation);
}

void ScanActivity::beginSystemDataScan()
{
    ++m_pendingSystemScans;
    setIsScanning(true);
}

bool ScanActivity::endSystemDataScan()
{
    return --m_pendingSystemScans == 0;
}

void ScanActivity::settle()
{
    const bool busy = m_pendingItemWork > 0 || (m_systemDataShown && m_pendingSystemScans > 0);
    setIsScanning(busy);
    if (!busy)
        setProgressText(QString());
}

void ScanActivity::setIsScanning(bool scanning)
{
    if (scanning == m_isScanning)
        return;
    m_isScanning = scanning;
    emit isScanningChanged();
}

void ScanActivity::setProgressText(const QString &text)
{
    if (text == m_progressText)
        return;
    m_progressText = text;
    emit progressTextChanged();
}

bool ScanActivity::isRelevant(quint64 generation, bool systemData) const
{
    if (!m_isScanning)
        return false;
    return systemData ? m_systemDataShown && m_pendingItemWork == 0 : isCurrent(generation);
}

ScanProgress ScanActivity::progressReporter(quint64 generation, bool systemData)
{
    struct Throttle
    {
        QMutex mutex;
        QElapsedTimer sinceLast;
    };
    const auto throttle = std::make_shared<Throttle>();
    const QPointer<ScanActivity> guard(this);
    ScanActivity *self = this;
    return [throttle, guard, self, generation, systemData](const QString &what) {
        {
            QMutexLocker locker(&throttle->mutex);
            if (throttle->sinceLast.isValid() &&
                throttle->sinceLast.elapsed() < kProgressIntervalMs)
                return;
            throttle->sinceLast.start();
        }
        QMetaObject::invokeMethod(
            self,
            [guard, what, generation, systemData] {
                if (guard && guard->isRelevant(generation, systemData))
                    guard->setProgressText(what);
            },
            Qt::QueuedConnection);
    };
}
