#include "model/AppInfo.h"

AppInfo::AppInfo(QString name, std::optional<QString> bundleIdentifier, QString path,
                 std::optional<ItemIcon> icon)
    : name(std::move(name)), bundleIdentifier(std::move(bundleIdentifier)), path(std::move(path)),
      icon(std::move(icon))
{
}
