#pragma once

#include <QHash>
#include <QList>
#include <QString>

#include <optional>

class Places;

// The kinds of files the program finds, in declaration order. The raw value is the display name;
// equality and hashing go by it.
enum class FileCategory {
    appBundle,
    preferences,
    applicationSupport,
    caches,
    homeDotFiles,
    configDirectory,
    cacheDirectory,
    localShareDirectory,
    libraryLogs,
    containers,
    savedApplicationState,
    httpStorageData,
    webkitData,
    npmCache,
    globalNodeModules,
    nvmDirectory,
    homebrewCellar,
    homebrewCaskroom,
    homebrewCache,
    homebrewConfig,
    homebrewVar,
    homebrewShare,
    launchDaemons,
    launchAgents,
    xcodeDerivedData,
    xcodeDeviceSupport,
    xcodeSimulators,
    xcodeArchives,
    deviceBackups,
    timeMachineSnapshots,
    dockerData,
    packageManagerCache,
    systemCaches,
    systemLogs,
    diagnosticReports,
};

// Every case, in declaration order (35).
const QList<FileCategory> &allFileCategories();

QString rawValue(FileCategory category);
// Exactly one of the 35 display names; nothing for any other text (case names included).
std::optional<FileCategory> fileCategoryFromRawValue(const QString &raw);
// The case name in code ("homebrewVar"), for logs, tests and QML.
QString caseName(FileCategory category);

// Symbol shown beside the category ("gearshape.fill").
QString iconName(FileCategory category);
// The folder directly under ~/Library where the leftover search looks, if any.
std::optional<QString> libraryFolderName(FileCategory category);
// The one fixed place of the category, resolved on the given machine, if it has one.
std::optional<QString> defaultLocation(FileCategory category, const Places &places);
