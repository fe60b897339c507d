#include "scanner/Places.h"

#include <QDir>

namespace {

QString withoutTrailingSlash(QString path)
{
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

QString appendComponent(const QString &base, const QString &component)
{
    if (component.isEmpty())
        return base;
    if (base.endsWith(QLatin1Char('/')))
        return base + component;
    return base + QLatin1Char('/') + component;
}

const char *const kXdgVariables[] = {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME",
                                     "XDG_STATE_HOME",  "XDG_DATA_DIRS",  "PATH"};

QMap<QString, QString> environmentXdg()
{
    QMap<QString, QString> values;
    for (const char *variable : kXdgVariables) {
        if (qEnvironmentVariableIsSet(variable))
            values.insert(QString::fromLatin1(variable), qEnvironmentVariable(variable));
    }
    return values;
}

} // namespace

Places::Places() : Places(QDir::homePath(), QStringLiteral("/"), environmentXdg()) {}

Places::Places(QString home, QString root, QMap<QString, QString> xdg)
    : m_home(withoutTrailingSlash(std::move(home))), m_root(withoutTrailingSlash(std::move(root))),
      m_xdg(std::move(xdg))
{
    if (m_root.isEmpty())
        m_root = QStringLiteral("/");
}

QString Places::inHome(const QString &relative) const
{
    return appendComponent(m_home, relative);
}

QString Places::onSystem(const QString &absolute) const
{
    if (m_root == QLatin1String("/"))
        return absolute;
    if (absolute == QLatin1String("/"))
        return m_root;
    return m_root +
           (absolute.startsWith(QLatin1Char('/')) ? absolute : QLatin1Char('/') + absolute);
}

QString Places::systemRelative(const QString &path) const
{
    if (m_root == QLatin1String("/"))
        return path;
    if (path == m_root)
        return QStringLiteral("/");
    if (path.startsWith(m_root + QLatin1Char('/')))
        return path.mid(m_root.size());
    return path;
}

QString Places::xdgHome(const char *variable, const QString &fallback) const
{
    const QString value = m_xdg.value(QString::fromLatin1(variable));
    if (value.startsWith(QLatin1Char('/')))
        return withoutTrailingSlash(value);
    return inHome(fallback);
}

bool Places::setsXdg(const QString &variable) const
{
    return m_xdg.value(variable).startsWith(QLatin1Char('/'));
}

QString Places::configHome() const
{
    return xdgHome("XDG_CONFIG_HOME", QStringLiteral(".config"));
}

QString Places::cacheHome() const
{
    return xdgHome("XDG_CACHE_HOME", QStringLiteral(".cache"));
}

QString Places::dataHome() const
{
    return xdgHome("XDG_DATA_HOME", QStringLiteral(".local/share"));
}

QString Places::stateHome() const
{
    return xdgHome("XDG_STATE_HOME", QStringLiteral(".local/state"));
}

QStringList Places::dataDirs() const
{
    QStringList dirs;
    for (const QString &entry :
         m_xdg.value(QStringLiteral("XDG_DATA_DIRS")).split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        if (entry.startsWith(QLatin1Char('/')))
            dirs.append(onSystem(withoutTrailingSlash(entry)));
    }
    if (dirs.isEmpty())
        dirs = {onSystem(QStringLiteral("/usr/local/share")),
                onSystem(QStringLiteral("/usr/share"))};
    dirs.removeDuplicates();
    return dirs;
}

QString Places::userDirsFile() const
{
    return configHome() + QStringLiteral("/user-dirs.dirs");
}

QStringList Places::userDirectories(const std::optional<QByteArray> &userDirsContents) const
{
    QStringList dirs;
    if (!userDirsContents) {
        for (const char *name :
             {"Desktop", "Documents", "Downloads", "Movies", "Music", "Pictures", "Videos"})
            dirs.append(inHome(QString::fromLatin1(name)));
        return dirs;
    }
    const QString homePrefix = QStringLiteral("$HOME");
    for (const QByteArray &rawLine : userDirsContents->split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        const qsizetype equals = line.indexOf(u'=');
        if (line.startsWith(u'#') || !line.startsWith(QLatin1String("XDG_")) || equals < 0)
            continue;
        QString value = line.mid(equals + 1).trimmed();
        if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
            value = value.mid(1, value.size() - 2);
        if (value.startsWith(homePrefix) &&
            (value.size() == homePrefix.size() || value.at(homePrefix.size()) == u'/'))
            value = m_home + value.mid(homePrefix.size());
        else if (!value.startsWith(u'/'))
            continue;
        value = QDir::cleanPath(value);
        if (value != QDir::cleanPath(m_home) && !dirs.contains(value))
            dirs.append(value);
    }
    return dirs;
}

QStringList Places::programFolders() const
{
    QStringList folders;
    for (const QString &entry :
         m_xdg.value(QStringLiteral("PATH")).split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        if (!entry.startsWith(QLatin1Char('/')))
            continue;
        const QString folder = withoutTrailingSlash(entry);
        const bool inHome = folder == m_home || folder.startsWith(m_home + QLatin1Char('/'));
        const QString place = inHome ? folder : onSystem(folder);
        if (!folders.contains(place))
            folders.append(place);
    }
    return folders;
}
