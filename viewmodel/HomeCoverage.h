#pragma once

#include <QtQml/qqmlregistration.h>

#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>
#include <memory>

// The System Data header's figures about the home folder: while a scan runs, how far it has come
// (the bytes of the home measured so far against the home's expected size: the last scan's,
// kept in QSettings, else the used bytes of the home's file system); afterwards how much of the
// home the categories account for. GUI thread only.
class HomeCoverage : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The view model owns it")
    Q_PROPERTY(bool isMeasuring READ isMeasuring NOTIFY changed)
    // 0 to 1 while measuring; never 1 before the scan ends.
    Q_PROPERTY(double fraction READ fraction NOTIFY changed)
    // "1.2 GB of about 8.9 GB measured" while measuring, else "".
    Q_PROPERTY(QString progressText READ progressText NOTIFY changed)
    // "8.4 GB of 8.9 GB in your home accounted for" after a scan, else "".
    Q_PROPERTY(QString coverageText READ coverageText NOTIFY changed)
    Q_PROPERTY(qint64 homeSize READ homeSize NOTIFY changed)
    Q_PROPERTY(qint64 accountedSize READ accountedSize NOTIFY changed)

public:
    explicit HomeCoverage(QString home, QObject *parent = nullptr);

    bool isMeasuring() const { return m_isMeasuring; }
    double fraction() const;
    QString progressText() const;
    QString coverageText() const;
    qint64 homeSize() const { return m_homeSize; }
    qint64 accountedSize() const { return m_accountedSize; }

    // A scan starts: the counter its steps measure the home into (the same one for every scan,
    // reset by each when it starts to run).
    std::shared_ptr<std::atomic<qint64>> begin();
    // A scan ended with these figures (a home size of 0: it was not measured); remembered as
    // the next scan's expected size.
    void takeResult(qint64 homeSize, qint64 accountedSize);
    // No scan is left running.
    void end();

    // The size a scan of home is expected to reach: the last one measured for this home, else
    // what its file system holds in use.
    static qint64 expectedSize(const QString &home);

signals:
    void changed();

private:
    void poll();

    QString m_home;
    std::shared_ptr<std::atomic<qint64>> m_measured = std::make_shared<std::atomic<qint64>>(0);
    QTimer m_poll;
    bool m_isMeasuring = false;
    qint64 m_expected = 0;
    qint64 m_shownMeasured = 0;
    qint64 m_homeSize = 0;
    qint64 m_accountedSize = 0;
};
