#pragma once

#include "model/ItemIcon.h"

#include <QHash>
#include <QMetaType>
#include <QString>
#include <QUuid>

#include <optional>

// One installed application bundle. Two records of the same bundle are equal whatever their id.
struct AppInfo
{
    QUuid id = QUuid::createUuid();
    QString name;
    std::optional<QString> bundleIdentifier;
    QString path; // the .app bundle
    std::optional<ItemIcon> icon;

    AppInfo() = default;
    AppInfo(QString name, std::optional<QString> bundleIdentifier, QString path,
            std::optional<ItemIcon> icon = std::nullopt);

    friend bool operator==(const AppInfo &a, const AppInfo &b) { return a.path == b.path; }
};

inline size_t qHash(const AppInfo &app, size_t seed = 0) { return qHash(app.path, seed); }

Q_DECLARE_METATYPE(AppInfo)
