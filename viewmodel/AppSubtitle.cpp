#include "viewmodel/AppSubtitle.h"

#include "model/TextSeparator.h"

QString appSubtitle(const AppInfo &app)
{
    if (app.installation == InstallationKind::bundle)
        return app.bundleIdentifier.value_or(QString());
    QString detail;
    switch (app.installation) {
    case InstallationKind::flatpak:
        detail = app.flatpakID;
        break;
    case InstallationKind::snap:
        detail = app.snapName;
        break;
    case InstallationKind::systemPackage:
        detail = app.owningPackage;
        break;
    case InstallationKind::bundle:
    case InstallationKind::appImage:
    case InstallationKind::homeFolder:
        break;
    }
    const QString kind = displayName(app.installation);
    return detail.isEmpty() ? kind : kind + kTextSeparator + detail;
}
