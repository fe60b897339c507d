#include "viewmodel/SystemDataSafety.h"

#include <QCoreApplication>

SystemDataSafety systemDataSafety(FileCategory category)
{
    switch (category) {
    case FileCategory::xcodeDerivedData:
    case FileCategory::systemCaches:
    case FileCategory::systemLogs:
    case FileCategory::diagnosticReports:
        return SystemDataSafety::safe;
    case FileCategory::xcodeDeviceSupport:
    case FileCategory::xcodeSimulators:
    case FileCategory::xcodeArchives:
    case FileCategory::timeMachineSnapshots:
    case FileCategory::toolchains:
    case FileCategory::largeFolders:
        return SystemDataSafety::review;
    case FileCategory::deviceBackups:
    case FileCategory::dockerData:
        return SystemDataSafety::caution;
    default:
        return SystemDataSafety::none;
    }
}

QString caseName(SystemDataSafety safety)
{
    switch (safety) {
    case SystemDataSafety::safe:
        return QStringLiteral("safe");
    case SystemDataSafety::review:
        return QStringLiteral("review");
    case SystemDataSafety::caution:
        return QStringLiteral("caution");
    case SystemDataSafety::none:
        break;
    }
    return {};
}

QString badgeText(SystemDataSafety safety)
{
    switch (safety) {
    case SystemDataSafety::safe:
        return QCoreApplication::translate("SystemDataSafety", "Safe to clean");
    case SystemDataSafety::review:
        return QCoreApplication::translate("SystemDataSafety", "Review first");
    case SystemDataSafety::caution:
        return QCoreApplication::translate("SystemDataSafety", "Caution");
    case SystemDataSafety::none:
        break;
    }
    return {};
}
