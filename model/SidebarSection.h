#pragma once

#include <QList>
#include <QString>

#include <optional>

// The four sections of the sidebar, in sidebar order. The display name is the section's title.
enum class SidebarSection
{
    applications,
    npm,
    homebrew,
    systemData
};

QString displayName(SidebarSection section); // "Applications", "npm", "Brew", "System Data"
// The case name in code ("applications", "npm", "homebrew", "systemData"), for the command line.
QString caseName(SidebarSection section);
// Exactly one of the four titles; nothing for any other text ("Homebrew" included).
std::optional<SidebarSection> sidebarSectionFromDisplayName(const QString &name);
QList<SidebarSection> allSidebarSections();
