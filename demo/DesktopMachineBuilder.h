#pragma once

#include "demo/MachineBuilder.h"

#include <QMap>
#include <QString>

// Builds the Linux half of a machine in a MachineFolder: desktop entries of every kind of
// installation with their icons, Flatpak and Snap installations and data, AppImages, and
// stand-in scripts for flatpak, snap and dpkg-query that record how they were called. The
// flatpak and snap stand-ins really uninstall: they remove the application's files inside the
// machine and nowhere else. Shared by the sample machine and the tests.
class DesktopMachineBuilder
{
public:
    DesktopMachineBuilder(const MachineFolder &folder, const MachineBuilder &machine);

    // Folders of the machine's data: $XDG_DATA_HOME (~/.local/share), /usr/share, the Flatpak
    // exports (user and system) and Snap's desktop folder.
    QString userData() const;
    QString systemData() const;
    QString flatpakExports(bool user) const;
    QString snapDesktop() const;

    // <dataFolder>/applications/<fileName> holding "[Desktop Entry]", Type=Application, Name,
    // Exec and the extra keys, in that order.
    QString addDesktopEntry(const QString &dataFolder, const QString &fileName, const QString &name,
                            const QString &exec, const QMap<QString, QString> &extra = {}) const;
    // A small real image <dataFolder>/icons/hicolor/<size>/apps/<icon>.<png|svg> ("scalable"
    // gives an SVG); with size "pixmaps", <dataFolder>/pixmaps/<icon>.png.
    QString addIcon(const QString &dataFolder, const QString &icon, const QString &size) const;

    // A Flatpak: its installation under <data home>/flatpak/app/<id> (user) or
    // /var/lib/flatpak/app/<id>, its exported entry and scalable icon.
    QString addFlatpak(const QString &id, const QString &name, bool user) const;
    // A Snap: /snap/<name>/current with its icon, and Snap's entry "<name>_<name>.desktop".
    QString addSnap(const QString &name, const QString &title) const;
    // An AppImage file of a few bytes at home/<relative>.
    QString addAppImage(const QString &relative) const;

    // /usr/bin/flatpak: "uninstall ... --user|--system <id>" removes that installation and its
    // exports (status 1 when it is not installed); "list --runtime" and "list --app" print the
    // given texts. /usr/bin/snap: "remove <name>" removes /snap/<name> and its entries;
    // "list --all" prints snapList.
    QString installFlatpak(const QString &runtimeList = {}, const QString &appList = {}) const;
    QString installSnapTool(const QString &snapList = {}) const;
    // /usr/bin/dpkg-query: "-S -- paths..." prints "package: path" for each known machine path
    // and exits 1 when one is unknown, as dpkg-query does; "-W ..." prints "binary source" for
    // each of sources (binary package to its source package).
    QString installDpkgQuery(const QMap<QString, QString> &owners,
                             const QMap<QString, QString> &sources = {}) const;

private:
    const MachineFolder &m_folder;
    const MachineBuilder &m_machine;
};
