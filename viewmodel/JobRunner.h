#pragma once

#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QThreadPool>

#include <atomic>
#include <memory>

// The view model's workers: section loads (two at a time), one serial worker that keeps item
// scans and removals in the order they were started, and one for the System Data scan. A job's
// result comes back to the GUI thread by a queued call, and only while its receiver lives.
//
// cancelAll() sets the cancellation flag, which the scanner's walks and searches watch (see
// FileScanner::setCancellationFlag), drops the jobs that have not started and waits for the
// running ones, which then end soon; no result is delivered after it. The destructor calls it,
// so closing the window never waits for a long scan.
class JobRunner
{
public:
    enum class Queue
    {
        loads,
        serial,
        systemData,
    };

    JobRunner();
    ~JobRunner();
    JobRunner(const JobRunner &) = delete;
    JobRunner &operator=(const JobRunner &) = delete;

    std::shared_ptr<const std::atomic_bool> cancellationFlag() const { return m_cancelled; }
    bool isCancelled() const { return m_cancelled->load(); }

    // Runs work() on the queue's worker, then apply(result) on receiver's thread.
    template <typename Work, typename Apply>
    void run(Queue queue, QObject *receiver, Work work, Apply apply)
    {
        const QPointer<QObject> guard(receiver);
        const std::shared_ptr<const std::atomic_bool> cancelled = m_cancelled;
        pool(queue).start([guard, receiver, cancelled, work, apply]() {
            if (cancelled->load())
                return;
            auto result = work();
            if (cancelled->load())
                return; // an incomplete result: nobody waits for it
            QMetaObject::invokeMethod(
                receiver,
                [guard, cancelled, apply, result]() {
                    if (guard && !cancelled->load())
                        apply(result);
                },
                Qt::QueuedConnection);
        });
    }

    void cancelAll();

private:
    QThreadPool &pool(Queue queue);

    std::shared_ptr<std::atomic_bool> m_cancelled = std::make_shared<std::atomic_bool>(false);
    QThreadPool m_loads;
    QThreadPool m_serial;
    QThreadPool m_systemData;
};
