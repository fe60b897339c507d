#include "model/HomebrewPackage.h"

QString rawValue(HomebrewPackageType type)
{
    return type == HomebrewPackageType::formula ? QStringLiteral("Formula")
                                                : QStringLiteral("Cask");
}

QString caseName(HomebrewPackageType type)
{
    return type == HomebrewPackageType::formula ? QStringLiteral("formula")
                                                : QStringLiteral("cask");
}

std::optional<HomebrewPackageType> homebrewPackageTypeFromRawValue(const QString &raw)
{
    for (HomebrewPackageType type : allHomebrewPackageTypes()) {
        if (rawValue(type) == raw)
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
