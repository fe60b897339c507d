#include "viewmodel/ApplicationOrder.h"

ApplicationsByLocation applicationsByLocation(const FileScanner &scanner,
                                              const QList<AppInfo> &apps)
{
    ApplicationsByLocation result;
    for (const AppInfo &app : apps)
        (scanner.isUserApplication(app) ? result.user : result.system).append(app);
    return result;
}
