#include "model/Item.h"

SidebarSection Item::section() const
{
    if (as<NPMPackage>())
        return SidebarSection::npm;
    if (as<HomebrewPackage>())
        return SidebarSection::homebrew;
    if (as<LeftoverRow>())
        return SidebarSection::leftovers;
    return SidebarSection::applications;
}

QString Item::name() const
{
    return std::visit([](const auto &record) { return record.name; }, m_record);
}

QString Item::argument() const
{
    if (const auto *package = as<NPMPackage>())
        return QStringLiteral("npm:") + package->name;
    if (const auto *package = as<HomebrewPackage>())
        return (package->type == HomebrewPackageType::cask ? QStringLiteral("cask:")
                                                           : QStringLiteral("brew:")) +
               package->name;
    if (const auto *row = as<LeftoverRow>())
        return QStringLiteral("leftover:") + row->name;
    return std::get<AppInfo>(m_record).path;
}
