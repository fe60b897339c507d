#pragma once

#include "model/AppInfo.h"
#include "scanner/Machine.h"

#include <QList>

// The applications the freedesktop desktop entries describe, and AppImages.
class DesktopApplications
{
public:
    explicit DesktopApplications(Machine machine) : m_machine(std::move(machine)) {}

    // The applications the desktop entries describe (see DesktopApplicationPlaces for the
    // folders and their precedence), plus the AppImages in ~/Applications and ~/.local/bin: one
    // row per application: the entries of one origin (a Flatpak, a Snap, a package, the user's
    // own files) that start one program in a mode of its own fold, and an entry that starts
    // another application (a web application, a game) is a row of its own. An entry that is
    // hidden, not shown (NoDisplay), not of type Application, without a Name, unreadable, or
    // whose TryExec program is missing gives none; the user's entry with the same desktop-file
    // id takes the place of the system one. The owning packages of the system entries are found
    // with one query (SystemPackageSource::owningPackages).
    QList<AppInfo> scanDesktopApplications() const;

private:
    Machine m_machine;
};
