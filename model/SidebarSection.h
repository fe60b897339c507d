#pragma once

#include <QList>
#include <QString>

#include <optional>

// The four sections of the sidebar, in sidebar order. The raw value is the section's title.
enum class SidebarSection
{
    applications,
    npm,
    homebrew,
    systemData
};

QString rawValue(SidebarSection section); // "Applications", "npm", "Brew", "System Data"
// The case name in code ("applications", "npm", "homebrew", "systemData"), for the command line.
QString caseName(SidebarSection section);
// Exactly one of the four titles; nothing for any other text ("Homebrew" included).
std::optional<SidebarSection> sidebarSectionFromRawValue(const QString &raw);
QList<SidebarSection> allSidebarSections();
