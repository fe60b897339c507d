#pragma once

#include "model/AppInfo.h"
#include "model/HomebrewPackage.h"
#include "model/LeftoverRow.h"
#include "model/NPMPackage.h"
#include "model/SidebarSection.h"

#include <QString>

#include <variant>

// What a row of the window or an ITEM argument of the command line stands for: an installed
// application, a global npm package, a Homebrew package, or a row of leftovers of removed
// software. The window's selection, the command line and the removal plan all hold one.
class Item
{
public:
    using Record = std::variant<AppInfo, NPMPackage, HomebrewPackage, LeftoverRow>;

    // Implicit: a record is the item it stands for.
    Item(AppInfo app) : m_record(std::move(app)) {}
    Item(NPMPackage package) : m_record(std::move(package)) {}
    Item(HomebrewPackage package) : m_record(std::move(package)) {}
    Item(LeftoverRow row) : m_record(std::move(row)) {}

    const Record &record() const { return m_record; }
    // The record when it is of this type; nullptr otherwise.
    template <typename T> const T *as() const { return std::get_if<T>(&m_record); }

    // The section that lists it. A leftover row's files start unticked and go to the Trash, as
    // an application's do.
    SidebarSection section() const;
    QString name() const;
    // The argument that names exactly this item: the application's path, "npm:NAME",
    // "brew:NAME", "cask:NAME" or "leftover:NAME".
    QString argument() const;

private:
    Record m_record;
};
