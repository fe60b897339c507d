#include "scanner/LeftoverNames.h"

#include "scanner/TermMatcher.h"

#include <QCoreApplication>
#include <QHash>

namespace {

// Extensions of the settings, state and entry files programs leave.
const QStringList kExtensions = {
    QStringLiteral("plist"),   QStringLiteral("desktop"),    QStringLiteral("service"),
    QStringLiteral("timer"),   QStringLiteral("socket"),     QStringLiteral("conf"),
    QStringLiteral("cfg"),     QStringLiteral("ini"),        QStringLiteral("json"),
    QStringLiteral("xml"),     QStringLiteral("xbel"),       QStringLiteral("log"),
    QStringLiteral("db"),      QStringLiteral("sqlite"),     QStringLiteral("list"),
    QStringLiteral("dirs"),    QStringLiteral("locale"),     QStringLiteral("lock"),
    QStringLiteral("toml"),    QStringLiteral("yaml"),       QStringLiteral("yml"),
    QStringLiteral("txt"),     QStringLiteral("savedState"), QStringLiteral("AppImage"),
    QStringLiteral("history"),
};

QStringView withoutExtension(QStringView name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0)
        return name;
    const QStringView extension = name.mid(dot + 1);
    for (const QString &known : kExtensions) {
        if (extension.compare(known, Qt::CaseInsensitive) == 0)
            return name.left(dot);
    }
    return name;
}

// The desktop's and the system's own names, by key, with what keeps each.
const QHash<QString, const char *> &desktopOwnNames()
{
    static const QHash<QString, const char *> names = [] {
        QHash<QString, const char *> table;
        const auto add = [&table](std::initializer_list<const char *> keys, const char *reason) {
            for (const char *key : keys)
                table.insert(QString::fromLatin1(key), reason);
        };
        add({"dconf", "gconf"}, QT_TRANSLATE_NOOP("LeftoverNames", "The desktop's settings"));
        add({"pulse", "pipewire", "wireplumber", "alsa", "asound"},
            QT_TRANSLATE_NOOP("LeftoverNames", "The sound system"));
        add({"gtk-2.0",
             "gtk-3.0",
             "gtk-4.0",
             "gtkrc",
             "gtkrc-2.0",
             "qt5ct",
             "qt6ct",
             "trolltech",
             "kdeglobals",
             "fontconfig",
             "fonts",
             "icons",
             "themes",
             "menus",
             "mime",
             "mimeapps",
             "desktop-directories",
             "applications",
             "autostart",
             "xdg-desktop-portal",
             "user-dirs",
             "gnome-session",
             "gnome-shell",
             "ibus",
             "fcitx",
             "fcitx5",
             "gvfs-metadata",
             "gvfs",
             "tracker",
             "tracker3",
             "evolution",
             "session",
             "sessions",
             "thumbnails",
             "recently-used",
             "desktop",
             "xsettingsd",
             "event-sound-cache",
             "mesa_shader_cache",
             "mesa_shader_cache_db",
             "nvidia",
             "babl",
             "gegl-0.4",
             "at-spi",
             "at-spi2",
             "environment.d",
             "xkb"},
            QT_TRANSLATE_NOOP("LeftoverNames", "The desktop's own files"));
        add({"keyrings", "gnupg", "ssh", "pki", "password-store"},
            QT_TRANSLATE_NOOP("LeftoverNames", "The user's keys and passwords"));
        add({"verlo"}, QT_TRANSLATE_NOOP("LeftoverNames", "This program's own settings"));
        // ~/.debug is where perf and other profilers keep the build ids of what they sampled.
        add({"debug"}, QT_TRANSLATE_NOOP("LeftoverNames",
                                         "The build-id cache of debugging and profiling tools"));
        add({"trash", "local", "config", "cache", "var", "snap", "library"},
            QT_TRANSLATE_NOOP("LeftoverNames", "A folder the system keeps"));
        add({"systemd",
             "dbus",
             "xdg",
             "profile",
             "bash",
             "bash_profile",
             "bash_logout",
             "bash_history",
             "zprofile",
             "zsh_history",
             "xinit",
             "xprofile",
             "xsession",
             "xsession-errors",
             "xauthority",
             "iceauthority",
             "input",
             "zsh",
             "lesshst",
             "wget-hsts",
             "sudo_as_admin_successful",
             "selected_editor",
             "python_history",
             "mozilla",
             "face",
             "dmrc",
             "xresources",
             "xdefaults",
             "ds_store",
             "cfusertextencoding",
             "localized",
             "sh_history",
             "gitconfig",
             "node_repl_history"},
            QT_TRANSLATE_NOOP("LeftoverNames", "The system's and the shell's own files"));
        return table;
    }();
    return names;
}

} // namespace

QString leftoverKey(QStringView entryName)
{
    QStringView name = entryName;
    const bool isDotEntry = name.startsWith(QLatin1Char('.'));
    while (name.startsWith(QLatin1Char('.')))
        name = name.mid(1);
    // A program's settings file in the home: ".sketchpadrc" is sketchpad's.
    if (isDotEntry && name.size() > 4 && name.endsWith(QLatin1String("rc")))
        name.chop(2);
    name = withoutExtension(name);
    // "com.acme.Sketchpad.helper" is Sketchpad's, "io.foo" foo's.
    if (const qsizetype dot = name.indexOf(QLatin1Char('.'));
        dot > 0 && isDomainPrefix(name.left(dot))) {
        const QStringView rest = name.mid(dot + 1);
        const qsizetype next = rest.indexOf(QLatin1Char('.'));
        if (next >= 0) {
            const QStringView third = rest.mid(next + 1);
            name = third.left(third.indexOf(QLatin1Char('.')));
        } else {
            name = rest;
        }
    }
    for (const char *suffix : {"-gtk", "-gtk3", "-gtk4", "-qt", "-qt5", "-qt6"}) {
        if (name.endsWith(QLatin1String(suffix), Qt::CaseInsensitive)) {
            name.chop(qsizetype(qstrlen(suffix)));
            break;
        }
    }
    const bool names =
        std::any_of(name.begin(), name.end(), [](QChar c) { return c.isLetterOrNumber(); });
    return names ? name.toString().toLower() : QString();
}

QString firstWord(const QString &key)
{
    qsizetype end = 0;
    while (end < key.size() && !QStringView(u"-_. ").contains(key.at(end)))
        ++end;
    return key.left(end);
}

std::optional<QString> desktopOwnReason(const QString &key)
{
    const auto it = desktopOwnNames().constFind(key);
    if (it == desktopOwnNames().constEnd())
        return std::nullopt;
    return QCoreApplication::translate("LeftoverNames", *it);
}

bool isSystemIdentifier(QStringView entryName)
{
    QStringView name = entryName;
    while (name.startsWith(QLatin1Char('.')))
        name = name.mid(1);
    for (const char *prefix : {"com.apple.", "org.freedesktop.", "org.gnome."}) {
        if (name.startsWith(QLatin1String(prefix), Qt::CaseInsensitive))
            return true;
    }
    return false;
}
