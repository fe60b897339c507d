#include "model/HomebrewPackage.h"

QString displayName(HomebrewPackageType type)
{
    return type == HomebrewPackageType::formula ? QStringLiteral("Formula")
                                                : QStringLiteral("Cask");
}

QString caseName(HomebrewPackageType type)
{
    return type == HomebrewPackageType::formula ? QStringLiteral("formula")
                                                : QStringLiteral("cask");
}

std::optional<HomebrewPackageType> homebrewPackageTypeFromDisplayName(const QString &name)
{
    for (HomebrewPackageType type : allHomebrewPackageTypes()) {
        if (displayName(type) == name)
            return type;
    }
    return std::nullopt;
}

QList<HomebrewPackageType> allHomebrewPackageTypes()
{
    return {HomebrewPackageType::formula, HomebrewPackageType::cask};
}

HomebrewPackage::HomebrewPackage(QString name, HomebrewPackageType type,
                                 std::optional<QString> version, QString path)
    : name(std::move(name)), type(type), version(std::move(version)), path(std::move(path))
{}
