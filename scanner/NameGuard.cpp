#include "scanner/NameGuard.h"

bool isSafeEntryName(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    return !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}

std::optional<QString> placeInside(const QString &folder, const QString &fixedPrefix,
                                   const QString &name)
{
    if (!isSafeEntryName(name) || folder.isEmpty())
        return std::nullopt;
    QString base = folder;
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    return base + fixedPrefix + name;
}
