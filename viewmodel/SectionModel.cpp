#include "viewmodel/SectionModel.h"

SectionModel::SectionModel(SidebarSection section, const FileScanner &scanner, JobRunner &jobs,
                           QObject *parent)
    : QObject(parent), m_scanner(scanner), m_jobs(jobs), m_section(section)
{}

void SectionModel::setSelectedId(const QUuid &) {}

void SectionModel::setAvailable(bool available)
{
    if (available == m_isAvailable)
        return;
    m_isAvailable = available;
    emit isAvailableChanged();
}

quint64 SectionModel::beginLoad()
{
    ++m_pendingLoads;
    emitIfLoadingChanged();
    return ++m_loadGeneration;
}

bool SectionModel::endLoad(quint64 generation)
{
    --m_pendingLoads;
    return generation == m_loadGeneration;
}

void SectionModel::emitIfLoadingChanged()
{
    if (isLoading() == m_wasLoading)
        return;
    m_wasLoading = isLoading();
    emit isLoadingChanged();
}
