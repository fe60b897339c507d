#include "model/FileCategory.h"

namespace {

struct CategoryInfo
{
    FileCategory category;
    const char *caseName;
    const char *displayName;
    const char *iconName;
    const char *libraryFolderName;    // nullptr: none
    const char *homeRelativeLocation; // nullptr: none
    const char *absoluteLocation;     // nullptr: none
};

// clang-format off
const CategoryInfo kCategories[] = {
    {FileCategory::appBundle, "appBundle", "Application Bundle", "app.badge.fill", nullptr, nullptr, nullptr},
    {FileCategory::preferences, "preferences", "Preferences", "gearshape.fill", "Preferences", nullptr, nullptr},
    {FileCategory::applicationSupport, "applicationSupport", "Application Support", "folder.fill", "Application Support", nullptr, nullptr},
    {FileCategory::caches, "caches", "Caches", "externaldrive.fill", "Caches", nullptr, nullptr},
    {FileCategory::homeDotFiles, "homeDotFiles", "Home Directory", "house.fill", nullptr, nullptr, nullptr},
    {FileCategory::configDirectory, "configDirectory", "Config Files", "gearshape.2.fill", nullptr, ".config", nullptr},
    {FileCategory::cacheDirectory, "cacheDirectory", "Cache Files", "bolt.fill", nullptr, ".cache", nullptr},
    {FileCategory::localShareDirectory, "localShareDirectory", "User Data", "externaldrive.fill", nullptr, ".local/share", nullptr},
    {FileCategory::libraryLogs, "libraryLogs", "Logs", "doc.text.fill", "Logs", nullptr, nullptr},
    {FileCategory::containers, "containers", "Containers", "shippingbox.fill", "Containers", nullptr, nullptr},
    {FileCategory::savedApplicationState, "savedApplicationState", "Saved App State", "clock.arrow.circlepath", "Saved Application State", nullptr, nullptr},
    {FileCategory::httpStorageData, "httpStorageData", "HTTP Storage", "network", "HTTPStorageData", nullptr, nullptr},
    {FileCategory::webkitData, "webkitData", "WebKit Data", "globe", "WebKit", nullptr, nullptr},
    {FileCategory::npmCache, "npmCache", "npm Cache", "externaldrive.fill", nullptr, ".npm", nullptr},
    {FileCategory::globalNodeModules, "globalNodeModules", "Global Modules", "folder.fill", nullptr, nullptr, nullptr},
    {FileCategory::nvmDirectory, "nvmDirectory", "NVM Versions", "arrow.triangle.branch", nullptr, ".nvm", nullptr},
    {FileCategory::homebrewCellar, "homebrewCellar", "Cellar", "building.2.fill", nullptr, nullptr, "/opt/homebrew/Cellar"},
    {FileCategory::homebrewCaskroom, "homebrewCaskroom", "Caskroom", "shippingbox.fill", nullptr, nullptr, "/opt/homebrew/Caskroom"},
    {FileCategory::homebrewCache, "homebrewCache", "Download Cache", "arrow.down.circle.fill", nullptr, "Library/Caches/Homebrew", nullptr},
    {FileCategory::homebrewConfig, "homebrewConfig", "Homebrew Config", "gearshape.fill", nullptr, nullptr, nullptr},
    {FileCategory::homebrewVar, "homebrewVar", "Homebrew Data", "cylinder.split.1x2.fill", nullptr, nullptr, nullptr},
    {FileCategory::homebrewShare, "homebrewShare", "Homebrew Share", "folder.fill", nullptr, nullptr, nullptr},
    {FileCategory::launchDaemons, "launchDaemons", "Launch Daemons", "bolt.fill", nullptr, nullptr, nullptr},
    {FileCategory::launchAgents, "launchAgents", "Launch Agents", "bolt.circle.fill", nullptr, nullptr, nullptr},
    {FileCategory::xcodeDerivedData, "xcodeDerivedData", "Xcode DerivedData", "hammer", "Developer", "Library/Developer/Xcode/DerivedData", nullptr},
    {FileCategory::xcodeDeviceSupport, "xcodeDeviceSupport", "Device Support Files", "arrow.down.app", "Developer", "Library/Developer/Xcode/iOS DeviceSupport", nullptr},
    {FileCategory::xcodeSimulators, "xcodeSimulators", "Simulator Runtimes", "ipad.and.iphone", "Developer", "Library/Developer/CoreSimulator/Devices", nullptr},
    {FileCategory::xcodeArchives, "xcodeArchives", "Xcode Archives", "archivebox", "Developer", "Library/Developer/Xcode/Archives", nullptr},
    {FileCategory::deviceBackups, "deviceBackups", "Device Backups", "iphone", nullptr, "Library/Application Support/MobileSync/Backup", nullptr},
    {FileCategory::timeMachineSnapshots, "timeMachineSnapshots", "Time Machine Snapshots", "clock.arrow.circlepath", nullptr, nullptr, nullptr},
    {FileCategory::dockerData, "dockerData", "Docker Containers & Images", "shippingbox.fill", nullptr, "Library/Containers/com.docker.docker/Data", nullptr},
    {FileCategory::packageManagerCache, "packageManagerCache", "Package Manager Cache", "archivebox.fill", "Caches", "Library/Caches", nullptr},
    {FileCategory::systemCaches, "systemCaches", "System Caches", "externaldrive.fill", "Caches", "Library/Caches", nullptr},
    {FileCategory::systemLogs, "systemLogs", "System Logs", "doc.text.fill", "Logs", "Library/Logs", nullptr},
    {FileCategory::diagnosticReports, "diagnosticReports", "Diagnostic Reports", "exclamationmark.triangle.fill", "Caches", "Library/Logs/DiagnosticReports", nullptr},
    // The Linux places depend on the XDG variables: CategoryPlaces resolves them through Places.
    {FileCategory::applicationFiles, "applicationFiles", "Application Files", "app.badge.fill", nullptr, nullptr, nullptr},
    {FileCategory::desktopEntries, "desktopEntries", "Desktop Entries", "doc.fill", nullptr, nullptr, nullptr},
    {FileCategory::userIcons, "userIcons", "Icons", "app.fill", nullptr, nullptr, nullptr},
    {FileCategory::stateDirectory, "stateDirectory", "State Files", "clock.arrow.circlepath", nullptr, nullptr, nullptr},
    {FileCategory::flatpakData, "flatpakData", "Flatpak Data", "shippingbox.fill", nullptr, ".var/app", nullptr},
    {FileCategory::snapData, "snapData", "Snap Data", "archivebox.fill", nullptr, "snap", nullptr},
    {FileCategory::autostartEntries, "autostartEntries", "Autostart Entries", "bolt.circle.fill", nullptr, nullptr, nullptr},
    {FileCategory::userServices, "userServices", "User Services", "bolt.fill", nullptr, nullptr, nullptr},
    {FileCategory::androidImages, "androidImages", "Android Emulator Images", "ipad.and.iphone", nullptr, nullptr, nullptr},
    {FileCategory::containerStorage, "containerStorage", "Container Storage", "shippingbox.fill", nullptr, nullptr, nullptr},
    {FileCategory::userTrash, "userTrash", "Trash", "trash", nullptr, nullptr, nullptr},
    {FileCategory::systemManaged, "systemManaged", "Freed by System Tools", "internaldrive.fill", nullptr, nullptr, nullptr},
    {FileCategory::installedApplication, "installedApplication", "Installed Application", "app.badge.fill", nullptr, nullptr, nullptr},
    {FileCategory::toolchains, "toolchains", "Toolchains & Environments", "hammer", nullptr, nullptr, nullptr},
    {FileCategory::largeFolders, "largeFolders", "Large Folders", "folder.fill", nullptr, nullptr, nullptr},
    {FileCategory::userFiles, "userFiles", "Your Files", "house.fill", nullptr, nullptr, nullptr},
};
// clang-format on

static_assert(std::size(kCategories) == 51);

const CategoryInfo &info(FileCategory category)
{
    return kCategories[static_cast<int>(category)];
}

} // namespace

const QList<FileCategory> &allFileCategories()
{
    static const QList<FileCategory> all = [] {
        QList<FileCategory> list;
        for (const CategoryInfo &entry : kCategories)
            list.append(entry.category);
        return list;
    }();
    return all;
}

QString displayName(FileCategory category)
{
    return QString::fromUtf8(info(category).displayName);
}

std::optional<FileCategory> fileCategoryFromDisplayName(const QString &name)
{
    for (const CategoryInfo &entry : kCategories) {
        if (name == QString::fromUtf8(entry.displayName))
            return entry.category;
    }
    return std::nullopt;
}

QString caseName(FileCategory category)
{
    return QString::fromLatin1(info(category).caseName);
}

QString iconName(FileCategory category)
{
    return QString::fromLatin1(info(category).iconName);
}

std::optional<QString> libraryFolderName(FileCategory category)
{
    const char *name = info(category).libraryFolderName;
    if (!name)
        return std::nullopt;
    return QString::fromUtf8(name);
}

std::optional<CategoryLocation> fixedLocation(FileCategory category)
{
    const CategoryInfo &entry = info(category);
    if (entry.homeRelativeLocation)
        return CategoryLocation{QString::fromUtf8(entry.homeRelativeLocation), true};
    if (entry.absoluteLocation)
        return CategoryLocation{QString::fromUtf8(entry.absoluteLocation), false};
    return std::nullopt;
}

bool isRemovedByPackageManager(FileCategory category)
{
    return category == FileCategory::homebrewCellar || category == FileCategory::homebrewCaskroom ||
           category == FileCategory::globalNodeModules ||
           category == FileCategory::installedApplication;
}
