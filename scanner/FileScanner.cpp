#include "scanner/FileScanner.h"

FileScanner::FileScanner(Places places, FileManager fileManager)
    : m_places(std::move(places)), m_fileManager(std::move(fileManager))
{}
