#pragma once

#include "scanner/FileScanner.h"

#include <QObject>
#include <QString>

// The busy state of the detail pane: item scans, removals, Put Back and opened folders run one
// after another on the serial worker, each counted here with a generation so that a result
// started before a newer pick is dropped; System Data scans run on their own worker and keep the
// pane busy only while that section is shown. isScanning is true while any of them is pending.
class ScanActivity : public QObject
{
    Q_OBJECT

public:
    explicit ScanActivity(QObject *parent = nullptr);

    bool isScanning() const { return m_isScanning; }
    // What the running scan measures now ("" when idle).
    QString progressText() const { return m_progressText; }

    // Starts an item job: isScanning true, progress cleared; returns its generation.
    quint64 beginItemWork();
    // Ends an item job; true when no newer item job or pick came meanwhile.
    bool endItemWork(quint64 generation);
    // A new pick or section: results of item jobs started before are dropped.
    void supersede() { ++m_generation; }
    bool isCurrent(quint64 generation) const { return generation == m_generation; }
    int pendingItemWork() const { return m_pendingItemWork; }

    void beginSystemDataScan();
    // Ends a System Data scan; true when no other one is pending.
    bool endSystemDataScan();
    int pendingSystemDataScans() const { return m_pendingSystemScans; }
    void setSystemDataShown(bool shown) { m_systemDataShown = shown; }
    bool isSystemDataShown() const { return m_systemDataShown; }

    // isScanning as the pending work dictates (progress cleared when idle).
    void settle();

    // A progress callback for a worker: throttled, delivered to the GUI thread, shown only
    // while the scan it belongs to is still the one the user waits for.
    ScanProgress progressReporter(quint64 generation, bool systemData);

signals:
    void isScanningChanged();
    void progressTextChanged();

private:
    void setIsScanning(bool scanning);
    void setProgressText(const QString &text);
    bool isRelevant(quint64 generation, bool systemData) const;

    bool m_isScanning = false;
    QString m_progressText;
    quint64 m_generation = 0;
    int m_pendingItemWork = 0;
    int m_pendingSystemScans = 0;
    bool m_systemDataShown = false;
};
