#include "demo/DesktopMachineBuilder.h"

namespace {

QString shellQuoted(const QString &text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QLatin1String("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

// A real 16x16 PNG: the lookup goes by the size folder, the views only need an image.
QByteArray pngBytes()
{
    static const char bytes[] =
        "\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00\x00\x00\x10\x00\x00"
        "\x00\x10\x08\x06\x00\x00\x00\x1f\xf3\xff\x61\x00\x00\x00\x19\x49\x44\x41\x54\x78\x9c\x63"
        "\xd0\x6f\x78\xfb\x9f\x12\xcc\x30\x6a\xc0\xa8\x01\xa3\x06\x0c\x17\x03\x00\xbc\xd7\x9b\x1f"
        "\x1f\xbd\x88\xfd\x00\x00\x00\x00\x49\x45\x4e\x44\xae\x42\x60\x82";
    return QByteArray(bytes, sizeof bytes - 1);
}

} // namespace

DesktopMachineBuilder::DesktopMachineBuilder(const MachineFolder &folder,
                                             const MachineBuilder &machine)
    : m_folder(folder), m_machine(machine)
{}

QString DesktopMachineBuilder::userData() const
{
    return m_folder.homePath(QStringLiteral(".local/share"));
}

QString DesktopMachineBuilder::systemData() const
{
    return m_folder.systemPath(QStringLiteral("/usr/share"));
}

QString DesktopMachineBuilder::flatpakExports(bool user) const
{
    return user ? userData() + QStringLiteral("/flatpak/exports/share")
                : m_folder.systemPath(QStringLiteral("/var/lib/flatpak/exports/share"));
}

QString DesktopMachineBuilder::snapDesktop() const
{
    return m_folder.systemPath(QStringLiteral("/var/lib/snapd/desktop"));
}

QString DesktopMachineBuilder::addDesktopEntry(const QString &dataFolder, const QString &fileName,
                                               const QString &name, const QString &exec,
                                               const QMap<QString, QString> &extra) const
{
    QString text =
        QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\nExec=%2\n").arg(name, exec);
    for (auto it = extra.constBegin(); it != extra.constEnd(); ++it)
        text += it.key() + QLatin1Char('=') + it.value() + QLatin1Char('\n');
    return m_folder.writeFile(dataFolder + QStringLiteral("/applications/") + fileName,
                              text.toUtf8());
}

QString DesktopMachineBuilder::addIcon(const QString &dataFolder, const QString &icon,
                                       const QString &size) const
{
    if (size == QLatin1String("pixmaps"))
        return m_folder.writeFile(
            dataFolder + QStringLiteral("/pixmaps/") + icon + QStringLiteral(".png"), pngBytes());
    const QString folder =
        dataFolder + QStringLiteral("/icons/hicolor/") + size + QStringLiteral("/apps/") + icon;
    if (size == QLatin1String("scalable"))
        return m_folder.writeFile(folder + QStringLiteral(".svg"),
                                  "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"16\" "
                                  "height=\"16\"><rect width=\"16\" height=\"16\" "
                                  "fill=\"#2f80ed\"/></svg>\n");
    return m_folder.writeFile(folder + QStringLiteral(".png"), pngBytes());
}

QString DesktopMachineBuilder::addFlatpak(const QString &id, const QString &name, bool user) const
{
    const QString installation = (user ? userData() + QStringLiteral("/flatpak")
                                       : m_folder.systemPath(QStringLiteral("/var/lib/flatpak"))) +
                                 QStringLiteral("/app/") + id;
    m_folder.writeFileOfSize(installation + QStringLiteral("/current/active/files/bin/app"), 4096);
    const QString exports = flatpakExports(user);
    addIcon(exports, id, QStringLiteral("scalable"));
    return addDesktopEntry(
        exports, id + QStringLiteral(".desktop"), name,
        QStringLiteral(
            "/usr/bin/flatpak run --branch=stable --arch=x86_64 --command=app %1 @@u %U @@")
            .arg(id),
        {{QStringLiteral("Icon"), id}, {QStringLiteral("X-Flatpak"), id}});
}

QString DesktopMachineBuilder::addSnap(const QString &name, const QString &title) const
{
    const QString snap = m_folder.systemPath(QStringLiteral("/snap/")) + name;
    m_folder.writeFile(snap + QStringLiteral("/current/meta/gui/icon.png"), pngBytes());
    return addDesktopEntry(
        snapDesktop(), name + QLatin1Char('_') + name + QStringLiteral(".desktop"), title,
        QStringLiteral("/snap/bin/") + name + QStringLiteral(" %U"),
        {{QStringLiteral("Icon"),
          QStringLiteral("/snap/") + name + QStringLiteral("/current/meta/gui/icon.png")},
         {QStringLiteral("X-SnapInstanceName"), name}});
}

QString DesktopMachineBuilder::addAppImage(const QString &relative) const
{
    const QString path = m_folder.writeFile(m_folder.homePath(relative), "\x7f"
                                                                         "ELF AppImage\n");
    return path;
}

QString DesktopMachineBuilder::installFlatpak(const QString &runtimeList,
                                              const QString &appList) const
{
    return m_machine.installScriptTool(
        QStringLiteral("/usr/bin/flatpak"),
        QStringLiteral(
            "user=%1\nsystem=%2\nruntimes=%3\napps=%4\n"
            "case \"$1\" in\n"
            "  list) case \"$2\" in --runtime) printf '%s' \"$runtimes\";; *) printf '%s' "
            "\"$apps\";; esac; exit 0 ;;\n"
            "  uninstall) ;;\n"
            "  *) echo 'Flatpak 1.14.4 (Verlo stand-in)'; exit 0 ;;\n"
            "esac\n"
            "base=$system\nid=\n"
            "for arg in \"$@\"; do\n"
            "  case \"$arg\" in\n"
            "    --user) base=$user ;;\n"
            "    --system) base=$system ;;\n"
            "    uninstall|-*) ;;\n"
            "    *) id=\"$arg\" ;;\n"
            "  esac\n"
            "done\n"
            "case \"$id\" in ''|.|..|*/*) echo \"error: Invalid id $id\" >&2; exit 1 ;; esac\n"
            "if [ ! -d \"$base/app/$id\" ]; then echo \"error: $id not installed\" >&2; exit 1; "
            "fi\n"
            "rm -rf -- \"$base/app/$id\"\n"
            "rm -f -- \"$base/exports/share/applications/$id\".*desktop\n"
            "rm -f -- \"$base/exports/share/icons/hicolor/\"*\"/apps/$id\".*\n"
            "echo \"Uninstalling $id... done\"\n")
            .arg(shellQuoted(userData() + QStringLiteral("/flatpak")),
                 shellQuoted(m_folder.systemPath(QStringLiteral("/var/lib/flatpak"))),
                 shellQuoted(runtimeList), shellQuoted(appList)));
}

QString DesktopMachineBuilder::installSnapTool(const QString &snapList) const
{
    return m_machine.installScriptTool(
        QStringLiteral("/usr/bin/snap"),
        QStringLiteral("snaps=%1\ndesktop=%2\nlist=%3\n"
                       "case \"$1\" in\n"
                       "  list) printf '%s' \"$list\"; exit 0 ;;\n"
                       "  remove) ;;\n"
                       "  *) echo 'snap 2.61 (Verlo stand-in)'; exit 0 ;;\n"
                       "esac\n"
                       "name=\"$2\"\n"
                       "case \"$name\" in ''|.|..|*/*|-*) echo \"error: invalid snap name: $name\" "
                       ">&2; exit 1 ;; esac\n"
                       "if [ ! -d \"$snaps/$name\" ]; then echo \"snap \\\"$name\\\" is not "
                       "installed\" >&2; exit 1; fi\n"
                       "rm -rf -- \"$snaps/$name\"\n"
                       "rm -f -- \"$desktop/applications/${name}_\"*.desktop\n"
                       "echo \"$name removed\"\n")
            .arg(shellQuoted(m_folder.systemPath(QStringLiteral("/snap"))),
                 shellQuoted(snapDesktop()), shellQuoted(snapList)));
}

QString DesktopMachineBuilder::installDpkgQuery(const QMap<QString, QString> &owners) const
{
    QString cases;
    for (auto it = owners.constBegin(); it != owners.constEnd(); ++it)
        cases += QStringLiteral("    %1) echo %2 ;;\n")
                     .arg(shellQuoted(it.key()),
                          shellQuoted(it.value() + QStringLiteral(": ") + it.key()));
    return m_machine.installScriptTool(
        QStringLiteral("/usr/bin/dpkg-query"),
        QStringLiteral(
            "[ \"$1\" = -S ] || exit 2\nshift\n[ \"$1\" = -- ] && shift\nstatus=0\n"
            "for path in \"$@\"; do\n"
            "  case \"$path\" in\n%1"
            "    *) echo \"dpkg-query: no path found matching pattern $path\" >&2; status=1 ;;\n"
            "  esac\n"
            "done\nexit $status\n")
            .arg(cases));
}
