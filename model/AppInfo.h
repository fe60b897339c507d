#pragma once

#include "model/ItemIcon.h"
#include "model/RecordId.h"

#include <QHash>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <optional>

// How an application came onto the machine, which says how it is removed.
enum class InstallationKind
{
    bundle,        // a macOS .app bundle: the bundle goes to the Trash
    flatpak,       // removed by "flatpak uninstall"
    snap,          // removed by "snap remove"
    appImage,      // one *.AppImage file: it goes to the Trash
    homeFolder,    // a desktop entry (and program) in the home folder: they go to the Trash
    systemPackage, // owned by the system's package manager: never removed by Verlo
};

// "Application Bundle", "Flatpak", "Snap", "AppImage", "Installed in Home Folder",
// "System Package".
QString displayName(InstallationKind kind);
// The case name in code ("appImage", "systemPackage"), for the command line's JSON.
QString caseName(InstallationKind kind);

// One installed application: a bundle, or a freedesktop desktop entry (or AppImage). Two records
// of the same bundle or entry are equal whatever their id.
struct AppInfo
{
    QUuid id = newRecordId();
    QString name;
    std::optional<QString> bundleIdentifier;
    QString path; // the .app bundle, the desktop entry file, or the AppImage file
    std::optional<ItemIcon> icon;

    InstallationKind installation = InstallationKind::bundle;
    // Desktop entries only (empty for bundles): the desktop-file id ("org.gnome.Maps.desktop"),
    // the program Exec starts ("gnome-maps", its file name only; empty when that is an
    // interpreter or launcher, or when the arguments name another application, such as a
    // browser's web application or a launcher's game), StartupWMClass, the Icon value,
    // the Flatpak application id and whether it is installed for this user only (--user), the
    // Snap name, and the system package that provides the program it starts (through the
    // alternatives links), else the one that owns the entry (empty when none was found).
    QString desktopFileID;
    QString execName;
    QString execPath; // that program as written (absolute or a name looked up on PATH)
    QString startupWMClass;
    QString iconName;
    QString flatpakID;
    bool isUserFlatpak = false;
    QString snapName;
    QString owningPackage;
    // A system package's relatives: the other binary packages of its source package, as search
    // words (see PackageFamilies).
    QStringList packageFamily;

    AppInfo() = default;
    AppInfo(QString name, std::optional<QString> bundleIdentifier, QString path,
            std::optional<ItemIcon> icon = std::nullopt);

    // True for what the user installed for themselves (listed under "User Applications"): a
    // bundle in ~/Applications (userApplicationsFolder, with a trailing "/"), a user Flatpak, an
    // AppImage, or an entry installed in the home folder.
    bool isUserInstalled(const QString &userApplicationsFolder) const;
    bool isDesktopEntry() const { return installation != InstallationKind::bundle; }

    friend bool operator==(const AppInfo &a, const AppInfo &b) { return a.path == b.path; }
};

inline size_t qHash(const AppInfo &app, size_t seed = 0)
{
    return qHash(app.path, seed);
}

Q_DECLARE_METATYPE(AppInfo)
