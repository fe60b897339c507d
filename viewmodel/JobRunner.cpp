#include "viewmodel/JobRunner.h"

JobRunner::JobRunner()
{
    m_loads.setMaxThreadCount(2);
    m_serial.setMaxThreadCount(1);
    m_systemData.setMaxThreadCount(1);
}

JobRunner::~JobRunner()
{
    cancelAll();
}

void JobRunner::cancelAll()
{
    m_cancelled->store(true);
    for (QThreadPool *queue : {&m_loads, &m_serial, &m_systemData})
        queue->clear();
    for (QThreadPool *queue : {&m_loads, &m_serial, &m_systemData})
        queue->waitForDone();
}

QThreadPool &JobRunner::pool(Queue queue)
{
    switch (queue) {
    case Queue::loads:
        return m_loads;
    case Queue::serial:
        return m_serial;
    case Queue::systemData:
        return m_systemData;
    }
    return m_loads;
}
