#include "demo/DesktopMachineBuilder.h"

#include "model/ShellQuoting.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QPainter>

#include <iterator>

namespace {

// A tile in a colour of its own per icon name, with a white disc: something that reads as an
// application's icon in the screenshots, made as a real PNG or SVG.
QColor tileColour(const QString &icon)
{
    static const char *const palette[] = {"#2f80ed", "#27ae60", "#eb5757",
                                          "#f2994a", "#9b51e0", "#0097a7"};
    return QColor(palette[qHash(icon) % std::size(palette)]);
}

QByteArray pngBytes(const QString &icon)
{
    QImage image(48, 48, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(tileColour(icon));
    painter.drawRoundedRect(QRectF(2, 2, 44, 44), 10, 10);
    painter.setBrush(QColor(255, 255, 255, 230));
    painter.drawEllipse(QRectF(14, 14, 20, 20));
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray svgBytes(const QString &icon)
{
    return QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"48\" height=\"48\">"
                          "<rect x=\"2\" y=\"2\" width=\"44\" height=\"44\" rx=\"10\" "
                          "fill=\"%1\"/><circle cx=\"24\" cy=\"24\" r=\"10\" fill=\"#fff\" "
                          "fill-opacity=\"0.9\"/></svg>\n")
        .arg(tileColour(icon).name())
        .toUtf8();
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
        return m_folder.writeFile(dataFolder + QStringLiteral("/pixmaps/") + icon +
                                      QStringLiteral(".png"),
                                  pngBytes(icon));
    const QString folder =
        dataFolder + QStringLiteral("/icons/hicolor/") + size + QStringLiteral("/apps/") + icon;
    if (size == QLatin1String("scalable"))
        return m_folder.writeFile(folder + QStringLiteral(".svg"), svgBytes(icon));
    return m_folder.writeFile(folder + QStringLiteral(".png"), pngBytes(icon));
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
    m_folder.writeFile(snap + QStringLiteral("/current/meta/gui/icon.png"), pngBytes(name));
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

QString DesktopMachineBuilder::installDpkgQuery(const QMap<QString, QString> &owners,
                                                const QMap<QString, QString> &sources) const
{
    QString cases;
    for (auto it = owners.constBegin(); it != owners.constEnd(); ++it)
        cases += QStringLiteral("    %1) echo %2 ;;\n")
                     .arg(shellQuoted(it.key()),
                          shellQuoted(it.value() + QStringLiteral(": ") + it.key()));
    QString listing;
    for (auto it = sources.constBegin(); it != sources.constEnd(); ++it)
        // Installed ("ii "), unless the key gives another state ("rc name").
        listing += (it.key().size() > 3 && it.key().at(2) == QLatin1Char(' ')
                        ? it.key()
                        : QStringLiteral("ii ") + it.key()) +
                   QLatin1Char(' ') + it.value() + QLatin1Char('\n');
    return m_machine.installScriptTool(
        QStringLiteral("/usr/bin/dpkg-query"),
        QStringLiteral(
            "[ \"$1\" = -W ] && { printf '%s' %2; exit 0; }\n"
            "[ \"$1\" = -S ] || exit 2\nshift\n[ \"$1\" = -- ] && shift\nstatus=0\n"
            "for path in \"$@\"; do\n"
            "  case \"$path\" in\n%1"
            "    *) echo \"dpkg-query: no path found matching pattern $path\" >&2; status=1 ;;\n"
            "  esac\n"
            "done\nexit $status\n")
            .arg(cases, shellQuoted(listing)));
}
