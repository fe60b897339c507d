#include "scanner/Machine.h"

#include "scanner/SizeLedger.h"

Machine::Machine(Places places, FileManager fileManager)
    : m_places(std::move(places)), m_fileManager(std::move(fileManager))
{}
