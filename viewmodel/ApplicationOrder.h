#pragma once

#include "model/AppInfo.h"
#include "scanner/FileScanner.h"

#include <QList>

// Applications as the window lists them and the command line prints them: what the user
// installed for themselves ("User Applications": home entries, AppImages, ~/Applications) apart
// from the system's, each in the order given.
struct ApplicationsByLocation
{
    QList<AppInfo> user;
    QList<AppInfo> system;
};

ApplicationsByLocation applicationsByLocation(const FileScanner &scanner,
                                              const QList<AppInfo> &apps);
