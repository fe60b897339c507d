#include "scanner/PackageSource.h"

QHash<QString, QString> PackageSource::owningPackages(const QStringList &) const
{
    return {};
}

std::optional<QString> PackageSource::removalCommandText(const PackageRef &) const
{
    return std::nullopt;
}

qint64 PackageSource::cacheSize() const
{
    return 0;
}

std::optional<QString> unusablePackageName(const QString &name)
{
    if (name.isEmpty())
        return QStringLiteral("No package name was given");
    if (name.startsWith(QLatin1Char('-')))
        return QStringLiteral("Refusing to uninstall a package named \"%1\"").arg(name);
    return std::nullopt;
}
