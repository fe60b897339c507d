#include "model/AppInfo.h"

QString displayName(InstallationKind kind)
{
    switch (kind) {
    case InstallationKind::bundle:
        return QStringLiteral("Application Bundle");
    case InstallationKind::flatpak:
        return QStringLiteral("Flatpak");
    case InstallationKind::snap:
        return QStringLiteral("Snap");
    case InstallationKind::appImage:
        return QStringLiteral("AppImage");
    case InstallationKind::homeFolder:
        return QStringLiteral("Installed in Home Folder");
    case InstallationKind::systemPackage:
        return QStringLiteral("System Package");
    }
    return {};
}

QString caseName(InstallationKind kind)
{
    switch (kind) {
    case InstallationKind::bundle:
        return QStringLiteral("bundle");
    case InstallationKind::flatpak:
        return QStringLiteral("flatpak");
    case InstallationKind::snap:
        return QStringLiteral("snap");
    case InstallationKind::appImage:
        return QStringLiteral("appImage");
    case InstallationKind::homeFolder:
        return QStringLiteral("homeFolder");
    case InstallationKind::systemPackage:
        return QStringLiteral("systemPackage");
    }
    return {};
}

AppInfo::AppInfo(QString name, std::optional<QString> bundleIdentifier, QString path,
                 std::optional<ItemIcon> icon)
    : name(std::move(name)), bundleIdentifier(std::move(bundleIdentifier)), path(std::move(path)),
      icon(std::move(icon))
{}

bool AppInfo::isUserInstalled(const QString &userApplicationsFolder) const
{
    switch (installation) {
    case InstallationKind::bundle:
        return path.startsWith(userApplicationsFolder);
    case InstallationKind::flatpak:
        return isUserFlatpak;
    case InstallationKind::appImage:
    case InstallationKind::homeFolder:
        return true;
    case InstallationKind::snap:
    case InstallationKind::systemPackage:
        return false;
    }
    return false;
}
