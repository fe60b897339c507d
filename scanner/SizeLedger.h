#pragma once

#include <QHash>
#include <QMutex>
#include <QString>

#include <atomic>
#include <memory>
#include <optional>

// The folders one System Data scan has measured so far, so that its walk of the whole home takes
// their sizes as they are instead of measuring the same bytes again, and how many bytes of the
// home it has measured, for a fraction of the home's size while the scan runs. Shared by the
// copies of the scanner the scan uses; safe from any thread.
class SizeLedger
{
public:
    // measured: where the bytes measured inside home add up (a fresh counter when not given).
    SizeLedger(const QString &home, std::shared_ptr<std::atomic<qint64>> measured);

    // Strictly inside the home folder (paths as cleaned by QDir::cleanPath).
    bool isInHome(const QString &path) const;
    // Inside the home folder where it really lies, links resolved: the home's walk meets it.
    bool liesInHome(const QString &path) const;
    std::atomic<qint64> *measured() const { return m_measured.get(); }

    void record(const QString &path, qint64 size);
    std::optional<qint64> size(const QString &path) const;
    QHash<QString, qint64> sizes() const;

private:
    QString m_homePrefix;     // the home with a trailing "/"
    QString m_realHomePrefix; // the same, links resolved
    std::shared_ptr<std::atomic<qint64>> m_measured;
    mutable QMutex m_mutex;
    QHash<QString, qint64> m_sizes;
};
