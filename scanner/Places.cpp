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

} // namespace

Places::Places() : Places(QDir::homePath(), QStringLiteral("/")) {}

Places::Places(QString home, QString root)
    : m_home(withoutTrailingSlash(std::move(home))), m_root(withoutTrailingSlash(std::move(root)))
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
    return m_root + (absolute.startsWith(QLatin1Char('/')) ? absolute : QLatin1Char('/') + absolute);
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
