#pragma once

#include "model/ItemIcon.h"
#include "model/RecordId.h"

#include <QHash>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QUuid>

#include <optional>

enum class HomebrewPackageType
{
    formula,
    cask
};

// "Formula" or "Cask": also the text shown for the type.
QString displayName(HomebrewPackageType type);
// The case name in code: "formula" or "cask".
QString caseName(HomebrewPackageType type);
// Exactly "Formula" or "Cask" (case-sensitive); nothing for any other text.
std::optional<HomebrewPackageType> homebrewPackageTypeFromDisplayName(const QString &name);
QList<HomebrewPackageType> allHomebrewPackageTypes();

// One installed formula or cask. A formula and a cask of the same name are different packages
// but hash alike (the hash feeds the name only).
struct HomebrewPackage
{
    QUuid id = newRecordId();
    QString name;
    HomebrewPackageType type = HomebrewPackageType::formula;
    std::optional<QString> version;
    QString path; // the package's folder in the Cellar or Caskroom

    HomebrewPackage() = default;
    HomebrewPackage(QString name, HomebrewPackageType type, std::optional<QString> version,
                    QString path);

    friend bool operator==(const HomebrewPackage &a, const HomebrewPackage &b)
    {
        return a.name == b.name && a.type == b.type;
    }
};

inline size_t qHash(const HomebrewPackage &package, size_t seed = 0)
{
    return qHash(package.name, seed);
}

Q_DECLARE_METATYPE(HomebrewPackage)
