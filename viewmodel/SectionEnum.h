#pragma once

#include "model/SidebarSection.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

// SidebarSection as QML compares it (Section.SystemData): QML reads only capitalised enum keys,
// so this repeats the cases capitalised, in the same order and with the same values.
namespace Section {
Q_NAMESPACE
QML_ELEMENT

enum class Value
{
    Applications,
    NPM,
    Homebrew,
    SystemData,
    Leftovers,
};
Q_ENUM_NS(Value)
static_assert(int(Value::Leftovers) == int(SidebarSection::leftovers) &&
              int(Value::SystemData) == int(SidebarSection::systemData) &&
              int(Value::Homebrew) == int(SidebarSection::homebrew) &&
              int(Value::NPM) == int(SidebarSection::npm));

inline Value of(SidebarSection section)
{
    return static_cast<Value>(section);
}
inline SidebarSection toSidebarSection(Value value)
{
    return static_cast<SidebarSection>(value);
}

} // namespace Section
