#include "scanner/WalkQueue.h"

void WalkQueue::setWorkerCount(int count)
{
    std::lock_guard lock(m_mutex);
    m_workers = count;
}

void WalkQueue::setActiveCount(int count)
{
    {
        std::lock_guard lock(m_mutex);
        m_active = count;
    }
    m_wakeUp.notify_all();
}

void WalkQueue::push(WalkTask task)
{
    {
        std::lock_guard lock(m_mutex);
        m_tasks.push_back(task);
        updateHungry();
    }
    // Parked threads wait on the same condition: each must look whether the folder is its.
    m_wakeUp.notify_all();
}

std::optional<WalkTask> WalkQueue::take(int worker)
{
    std::unique_lock lock(m_mutex);
    ++m_idle;
    for (;;) {
        const bool active = worker < m_active;
        if (m_finished || (active && !m_tasks.empty()))
            break;
        if (m_idle == m_workers && m_tasks.empty()) {
            m_finished = true;
            m_wakeUp.notify_all();
            break;
        }
        m_waitingActive += active;
        updateHungry();
        m_wakeUp.wait(lock);
        m_waitingActive -= active;
    }
    --m_idle;
    std::optional<WalkTask> task;
    if (!m_finished && !m_tasks.empty()) {
        task = m_tasks.back();
        m_tasks.pop_back();
    }
    updateHungry();
    return task;
}

void WalkQueue::updateHungry()
{
    m_hungry.store(m_waitingActive > 0 && m_tasks.empty(), std::memory_order_relaxed);
}
