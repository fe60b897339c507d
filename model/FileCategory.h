#pragma once

#include <QHash>
#include <QList>
#include <QString>

#include <optional>

// The kinds of files the program finds, in declaration order. Each has a display name (the group's
// title), a case name (its name in code) and a symbol.
enum class FileCategory
{
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
    // Linux places (after the macOS ones, so the earlier values and order stay).
    applicationFiles,     // an AppImage, or a program installed in the home folder
    desktopEntries,       // the user's own desktop entries ($XDG_DATA_HOME/applications)
    userIcons,            // $XDG_DATA_HOME/icons
    stateDirectory,       // $XDG_STATE_HOME
    flatpakData,          // ~/.var/app/<id>
    snapData,             // ~/snap/<name>
    autostartEntries,     // $XDG_CONFIG_HOME/autostart
    userServices,         // $XDG_CONFIG_HOME/systemd/user
    androidImages,        // Android SDK system images and emulator images
    containerStorage,     // rootless Podman and Docker storage
    userTrash,            // the user's Trash: shown, never moved
    systemManaged,        // what only a command (often as root) can free: listed with the command
    installedApplication, // a Flatpak's or Snap's installation: removed by its own tool
    toolchains,           // one installed version of a toolchain, environment, IDE or game
    largeFolders,         // the largest folders of the home that no other category names
    userFiles,            // the user's own folders (Documents, Pictures...): counted, never offered
};

// Every case, in declaration order (51).
const QList<FileCategory> &allFileCategories();

QString displayName(FileCategory category); // "Homebrew Data"
// Exactly one of the 51 display names; nothing for any other text (case names included).
std::optional<FileCategory> fileCategoryFromDisplayName(const QString &name);
// The case name in code ("homebrewVar"), for the command line, logs and tests.
QString caseName(FileCategory category);

// Symbol shown beside the category ("gearshape.fill").
QString iconName(FileCategory category);
// The folder directly under ~/Library where the leftover search looks, if any.
std::optional<QString> libraryFolderName(FileCategory category);
// The one fixed place of the category, if it has one: a path under the home folder
// ("Library/Caches") or an absolute place of the machine ("/opt/homebrew/Cellar").
struct CategoryLocation
{
    QString path;
    bool isInHome = true;
};
std::optional<CategoryLocation> fixedLocation(FileCategory category);

// True for the categories whose files only their package manager removes (Cellar, Caskroom,
// Global Modules, a Flatpak's or Snap's installation): they are never moved to the Trash.
bool isRemovedByPackageManager(FileCategory category);
