#include "scanner/LeftoverNames.h"

#include "scanner/TermMatcher.h"

#include <QCoreApplication>
#include <QHash>
#include <QRegularExpression>

namespace {

// Extensions of the settings, state and entry files programs leave.
const QStringList kExtensions = {
    QStringLiteral("plist"),  QStringLiteral("desktop"), QStringLiteral("service"),
    QStringLiteral("timer"),  QStringLiteral("socket"),  QStringLiteral("conf"),
    QStringLiteral("cfg"),    QStringLiteral("ini"),     QStringLiteral("json"),
    QStringLiteral("xml"),    QStringLiteral("xbel"),    QStringLiteral("log"),
    QStringLiteral("db"),     QStringLiteral("sqlite"),  QStringLiteral("list"),
    QStringLiteral("dirs"),   QStringLiteral("locale"),  QStringLiteral("lock"),
    QStringLiteral("toml"),   QStringLiteral("yaml"),    QStringLiteral("yml"),
    QStringLiteral("txt"),    QStringLiteral("savedState"), QStringLiteral("AppImage"),
    QStringLiteral("history"),
};

QString withoutExtension(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot > 0 && kExtensions.contains(name.mid(dot + 1), Qt::CaseInsensitive))
        return name.left(dot);
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
        add({"gtk-2.0", "gtk-3.0", "gtk-4.0", "gtkrc", "gtkrc-2.0", "qt5ct", "qt6ct", "trolltech",
             "kdeglobals", "fontconfig", "fonts", "icons", "themes", "menus", "mime", "mimeapps",
             "desktop-directories", "applications", "autostart", "xdg-desktop-portal",
             "user-dirs", "gnome-session", "gnome-shell", "ibus", "fcitx", "fcitx5",
             "gvfs-metadata", "gvfs", "tracker", "tracker3", "evolution", "session", "sessions",
             "thumbnails", "recently-used", "desktop", "xsettingsd",
             "event-sound-cache", "mesa_shader_cache", "mesa_shader_cache_db", "nvidia",
             "babl", "gegl-0.4", "at-spi", "at-spi2", "environment.d", "xkb"},
            QT_TRANSLATE_NOOP("LeftoverNames", "The desktop's own files"));
        add({"keyrings", "gnupg", "ssh", "pki", "password-store"},
            QT_TRANSLATE_NOOP("LeftoverNames", "The user's keys and passwords"));
        add({"verlo"}, QT_TRANSLATE_NOOP("LeftoverNames", "This program's own settings"));
        add({"trash", "local", "config", "cache", "var", "snap", "library"},
            QT_TRANSLATE_NOOP("LeftoverNames", "A folder the system keeps"));
        add({"systemd", "dbus", "xdg", "profile", "bash", "bash_profile", "bash_logout",
             "bash_history", "zprofile", "zsh_history", "xinit", "xprofile",
             "xsession", "xsession-errors", "xauthority", "iceauthority", "input", "zsh", "lesshst", "wget-hsts",
             "sudo_as_admin_successful", "selected_editor", "python_history", "mozilla",
             "face", "dmrc", "xresources", "xdefaults", "ds_store", "cfusertextencoding",
             "localized", "sh_history", "gitconfig", "node_repl_history"},
            QT_TRANSLATE_NOOP("LeftoverNames", "The system's and the shell's own files"));
        return table;
    }();
    return names;
}

} // namespace

QString leftoverKey(QStringView entryName)
{
    QString name = entryName.toString();
    const bool isDotEntry = name.startsWith(QLatin1Char('.'));
    while (name.startsWith(QLatin1Char('.')))
        name.remove(0, 1);
    // A program's settings file in the home: ".sketchpadrc" is sketchpad's.
    if (isDotEntry && name.size() > 4 && name.endsWith(QLatin1String("rc")))
        name.chop(2);
    name = withoutExtension(name);
    const QStringList parts = name.split(QLatin1Char('.'), Qt::SkipEmptyParts);
    if (parts.size() >= 2 && isDomainPrefix(parts.constFirst()))
        name = parts.size() >= 3 ? parts.at(2) : parts.constLast();
    static const QRegularExpression suffix(QStringLiteral("-(gtk[34]?|qt[56]?)$"),
                                           QRegularExpression::CaseInsensitiveOption);
    name.remove(suffix);
    const bool names = std::any_of(name.begin(), name.end(),
                                   [](QChar c) { return c.isLetterOrNumber(); });
    return names ? name.toLower() : QString();
}

QString firstWord(const QString &key)
{
    static const QRegularExpression separator(QStringLiteral("[-_. ]"));
    return key.section(separator, 0, 0, QString::SectionSkipEmpty);
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
