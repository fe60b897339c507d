#pragma once

#include "model/AppInfo.h"
#include "scanner/Machine.h"

#include <QList>
#include <QString>

// The installed applications: the bundles of the Applications folders and the desktop
// applications (see DesktopApplications).
class ApplicationListing
{
public:
    explicit ApplicationListing(Machine machine) : m_machine(std::move(machine)) {}

    // ~/Applications then /Applications, then the desktop applications, all sorted by name
    // (localized, case-insensitive, stable).
    QList<AppInfo> scanApplications() const;
    // The ".app" entries directly inside one folder, in listing order.
    QList<AppInfo> scanApplicationsFolder(const QString &folder) const;
    // Always a record: a missing or broken property list gives the file name and no identifier.
    AppInfo readAppInfo(const QString &bundlePath) const;
    // Listed under "User Applications" (else "Applications").
    bool isUserApplication(const AppInfo &app) const;

private:
    Machine m_machine;
};
