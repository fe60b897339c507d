#include "viewmodel/HomeCoverage.h"

#include "model/ByteCountFormat.h"

#include <QFile>
#include <QSettings>

#include <sys/statvfs.h>

#include <algorithm>

namespace {

// Often enough for a bar that moves, rarely enough to cost nothing.
constexpr int kPollIntervalMs = 100;
// The bar stops short of full until the scan has really ended.
constexpr double kMostBeforeTheEnd = 0.99;

const QString kHomeKey = QStringLiteral("SystemData/home");
const QString kHomeSizeKey = QStringLiteral("SystemData/homeSize");

} // namespace

HomeCoverage::HomeCoverage(QString home, QObject *parent) : QObject(parent), m_home(std::move(home))
{
    m_poll.setInterval(kPollIntervalMs);
    connect(&m_poll, &QTimer::timeout, this, &HomeCoverage::poll);
}

double HomeCoverage::fraction() const
{
    if (!m_isMeasuring || m_expected <= 0)
        return 0;
    return std::min(kMostBeforeTheEnd, double(m_shownMeasured) / double(m_expected));
}

QString HomeCoverage::progressText() const
{
    if (!m_isMeasuring)
        return {};
    return tr("%1 of about %2 measured")
        .arg(formatByteCount(m_shownMeasured),
             formatByteCount(std::max(m_expected, m_shownMeasured)));
}

QString HomeCoverage::coverageText() const
{
    if (m_homeSize <= 0)
        return {};
    return tr("%1 of %2 in your home accounted for")
        .arg(formatByteCount(m_accountedSize), formatByteCount(m_homeSize));
}

std::shared_ptr<std::atomic<qint64>> HomeCoverage::begin()
{
    if (!m_isMeasuring) {
        m_isMeasuring = true;
        m_expected = expectedSize(m_home);
        m_shownMeasured = 0;
        m_poll.start();
        emit changed();
    }
    return m_measured;
}

void HomeCoverage::takeResult(qint64 homeSize, qint64 accountedSize)
{
    if (homeSize <= 0)
        return;
    m_homeSize = homeSize;
    m_accountedSize = accountedSize;
    m_expected = homeSize;
    QSettings settings;
    settings.setValue(kHomeKey, m_home);
    settings.setValue(kHomeSizeKey, homeSize);
    emit changed();
}

void HomeCoverage::end()
{
    m_poll.stop();
    if (!m_isMeasuring)
        return;
    m_isMeasuring = false;
    emit changed();
}

qint64 HomeCoverage::expectedSize(const QString &home)
{
    const QSettings settings;
    if (settings.value(kHomeKey).toString() == home) {
        if (const qint64 last = settings.value(kHomeSizeKey).toLongLong(); last > 0)
            return last;
    }
    struct statvfs info;
    if (::statvfs(QFile::encodeName(home).constData(), &info) != 0)
        return 0;
    return qint64(info.f_blocks - info.f_bfree) * qint64(info.f_frsize);
}

void HomeCoverage::poll()
{
    const qint64 measured = m_measured->load(std::memory_order_relaxed);
    if (measured == m_shownMeasured)
        return;
    m_shownMeasured = measured;
    emit changed();
}
