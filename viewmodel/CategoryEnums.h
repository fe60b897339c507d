#pragma once

#include "model/FileCategory.h"
#include "viewmodel/SystemDataSafety.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

// FileCategory and SystemDataSafety as QML compares them (Category.DockerData, Safety.Review).
// QML reads only capitalised enum keys, so these repeat the cases capitalised, in the same order
// and with the same values. The category and safety roles of FileGroupListModel hold them.
namespace Category {
Q_NAMESPACE
QML_ELEMENT

enum class Value
{
    AppBundle,
    Preferences,
    ApplicationSupport,
    Caches,
    HomeDotFiles,
    ConfigDirectory,
    CacheDirectory,
    LocalShareDirectory,
    LibraryLogs,
    Containers,
    SavedApplicationState,
    HTTPStorageData,
    WebKitData,
    NPMCache,
    GlobalNodeModules,
    NVMDirectory,
    HomebrewCellar,
    HomebrewCaskroom,
    HomebrewCache,
    HomebrewConfig,
    HomebrewVar,
    HomebrewShare,
    LaunchDaemons,
    LaunchAgents,
    XcodeDerivedData,
    XcodeDeviceSupport,
    XcodeSimulators,
    XcodeArchives,
    DeviceBackups,
    TimeMachineSnapshots,
    DockerData,
    PackageManagerCache,
    SystemCaches,
    SystemLogs,
    DiagnosticReports,
    ApplicationFiles,
    DesktopEntries,
    UserIcons,
    StateDirectory,
    FlatpakData,
    SnapData,
    AutostartEntries,
    UserServices,
    AndroidImages,
    ContainerStorage,
    UserTrash,
    SystemManaged,
    InstalledApplication,
    Toolchains,
    LargeFolders,
    UserFiles,
};
Q_ENUM_NS(Value)
static_assert(int(Value::UserFiles) == int(FileCategory::userFiles));

inline Value of(FileCategory category)
{
    return static_cast<Value>(category);
}
inline FileCategory toFileCategory(Value value)
{
    return static_cast<FileCategory>(value);
}

} // namespace Category

namespace Safety {
Q_NAMESPACE
QML_ELEMENT

enum class Value
{
    None,
    Safe,
    Review,
    Caution,
};
Q_ENUM_NS(Value)
static_assert(int(Value::Caution) == int(SystemDataSafety::caution));

inline Value of(SystemDataSafety safety)
{
    return static_cast<Value>(safety);
}

} // namespace Safety
