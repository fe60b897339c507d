#pragma once

#include <QList>
#include <QString>

#include <optional>

// The sections of the sidebar, in sidebar order. Each has a display name (the section's
// title), a case name (its name in code and JSON), a symbol and, when the command line lists it,
// the word "verlo list" takes.
enum class SidebarSection
{
    applications,
    npm,
    homebrew,
    systemData,
    leftovers
};

const QList<SidebarSection> &allSidebarSections();

QString displayName(SidebarSection section); // "Applications", "npm", "Brew", "System Data", ...
// The case name in code ("applications", "npm", "homebrew", "systemData", "leftovers"), for the
// command line.
QString caseName(SidebarSection section);
QString iconName(SidebarSection section); // "app.fill"
// The word of "verlo list WORD" ("apps", "npm", "brew"); empty for a section it does not list.
QString commandWord(SidebarSection section);

// Exactly one of the titles; nothing for any other text ("Homebrew" included).
std::optional<SidebarSection> sidebarSectionFromDisplayName(const QString &name);
// Exactly one of the command words; nothing for any other text (case names included).
std::optional<SidebarSection> sidebarSectionFromCommandWord(const QString &word);
