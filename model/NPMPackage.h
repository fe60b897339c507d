#pragma once

#include "model/ItemIcon.h"
#include "model/RecordId.h"

#include <QHash>
#include <QMetaType>
#include <QString>
#include <QUuid>

#include <optional>

// One globally installed npm package. Equal by name alone.
struct NPMPackage
{
    QUuid id = newRecordId();
    QString name;
    std::optional<QString> version;
    QString path; // the package's folder

    NPMPackage() = default;
    NPMPackage(QString name, std::optional<QString> version, QString path);

    friend bool operator==(const NPMPackage &a, const NPMPackage &b) { return a.name == b.name; }
};

inline size_t qHash(const NPMPackage &package, size_t seed = 0)
{
    return qHash(package.name, seed);
}

Q_DECLARE_METATYPE(NPMPackage)
