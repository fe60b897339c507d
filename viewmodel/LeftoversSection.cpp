#include "viewmodel/LeftoversSection.h"

#include "model/MediumDate.h"
#include "model/TextSeparator.h"
#include "viewmodel/ItemFilter.h"
#include "viewmodel/KeptLeftovers.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QPointer>

#include <functional>
#include <memory>

namespace {

constexpr qint64 kProgressIntervalMs = 100;
constexpr qint64 kPartialRowsIntervalMs = 150;
// Rows found so far are applied this often at most: each application walks the shown list once.

// A callback for the scanning thread that hands what it is given to apply on the receiver's
// thread, at most once per interval; what comes in between is dropped, as a later call or the
// complete result brings it.
template <typename Value>
std::function<void(const Value &)> throttled(QObject *receiver, qint64 intervalMs,
                                             std::function<void(const Value &)> apply)
{
    struct Throttle
    {
        QMutex mutex;
        QElapsedTimer sinceLast;
    };
    const auto throttle = std::make_shared<Throttle>();
    const QPointer<QObject> guard(receiver);
    return [throttle, guard, receiver, intervalMs, apply](const Value &value) {
        {
            QMutexLocker locker(&throttle->mutex);
            if (throttle->sinceLast.isValid() && throttle->sinceLast.elapsed() < intervalMs)
                return;
            throttle->sinceLast.start();
        }
        QMetaObject::invokeMethod(
            receiver,
            [guard, apply, value] {
                if (guard)
                    apply(value);
            },
            Qt::QueuedConnection);
    };
}

QStringList sorted(QStringList names)
{
    names.sort(Qt::CaseInsensitive);
    return names;
}

} // namespace

LeftoversSection::LeftoversSection(const FileScanner &scanner, JobRunner &jobs, QObject *parent)
    : SectionModel(SidebarSection::leftovers, scanner, jobs, parent),
      m_rowsModel(new LeftoverListModel(this)), m_keptNames(sorted(KeptLeftovers::names()))
{}

DetailHeader LeftoversSection::headerOf(const LeftoverRow &row)
{
    QString subtitle = displayName(row.certainty);
    if (row.lastModified.isValid())
        subtitle +=
            kTextSeparator + tr("Last changed %1").arg(formatMediumDate(row.lastModified.date()));
    return {row.name, subtitle, QString(), iconName(SidebarSection::leftovers), row.reason};
}

std::optional<LeftoverRow> LeftoversSection::find(const QString &name) const
{
    for (const LeftoverRow &row : m_allRows) {
        if (row.name == name)
            return row;
    }
    return std::nullopt;
}

void LeftoversSection::load()
{
    const quint64 load = ++m_newestLoad;
    const auto stillRunning = [this, load] {
        return load == m_newestLoad && load != m_completedLoad;
    };
    const ScanProgress progress =
        throttled<QString>(this, kProgressIntervalMs, [this, stillRunning](const QString &what) {
            if (stillRunning())
                setProgressText(what);
        });
    // The rows found so far show while the rest are measured; each arrival walks the shown
    // list once, so they are taken a few times a second at most.
    const PartialLeftoverRows partialRows = throttled<QList<LeftoverRow>>(
        this, kPartialRowsIntervalMs, [this, stillRunning](const QList<LeftoverRow> &rows) {
            if (stillRunning())
                applyRows(rows);
        });
    const FileScanner scanner = m_scanner;
    const QStringList kept = KeptLeftovers::names();
    startLoad([scanner, kept, progress,
               partialRows] { return scanner.findLeftovers(kept, progress, partialRows); },
              [this, load](const QList<LeftoverRow> &rows) {
                  m_completedLoad = load;
                  setProgressText(QString());
                  emit reloaded(rows);
                  applyRows(rows);
              });
}

void LeftoversSection::search(const QString &query)
{
    m_query = query;
    m_rowsModel->setRows(ItemFilter::packages(m_allRows, query));
}

void LeftoversSection::keep(const QString &name)
{
    if (name.isEmpty() || m_keptNames.contains(name))
        return;
    KeptLeftovers::setNames(KeptLeftovers::names() << name);
    setKeptNames(KeptLeftovers::names());
    applyRows(m_allRows);
    emit rowKept(name);
}

void LeftoversSection::stopKeeping(const QString &name)
{
    QStringList names = KeptLeftovers::names();
    if (names.removeAll(name) == 0)
        return;
    KeptLeftovers::setNames(names);
    setKeptNames(names);
    load();
}

void LeftoversSection::applyRows(const QList<LeftoverRow> &rows)
{
    m_allRows = withoutKept(rows);
    emit allRowsChanged();
    m_rowsModel->setRows(ItemFilter::packages(m_allRows, m_query));
}

QList<LeftoverRow> LeftoversSection::withoutKept(const QList<LeftoverRow> &rows) const
{
    // A load started before the user kept a name still lists it.
    if (m_keptNames.isEmpty())
        return rows;
    QList<LeftoverRow> result;
    result.reserve(rows.size());
    for (const LeftoverRow &row : rows) {
        if (!m_keptNames.contains(row.name))
            result.append(row);
    }
    return result;
}

void LeftoversSection::setProgressText(const QString &text)
{
    if (text == m_progressText)
        return;
    m_progressText = text;
    emit progressTextChanged();
}

void LeftoversSection::setKeptNames(const QStringList &names)
{
    const QStringList next = sorted(names);
    if (next == m_keptNames)
        return;
    m_keptNames = next;
    emit keptNamesChanged();
}
