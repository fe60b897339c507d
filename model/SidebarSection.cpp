#include "model/SidebarSection.h"

QString displayName(SidebarSection section)
{
    switch (section) {
    case SidebarSection::applications:
        return QStringLiteral("Applications");
    case SidebarSection::npm:
        return QStringLiteral("npm");
    case SidebarSection::homebrew:
        return QStringLiteral("Brew");
    case SidebarSection::systemData:
        return QStringLiteral("System Data");
    }
    return {};
}

QString caseName(SidebarSection section)
{
    switch (section) {
    case SidebarSection::applications:
        return QStringLiteral("applications");
    case SidebarSection::npm:
        return QStringLiteral("npm");
    case SidebarSection::homebrew:
        return QStringLiteral("homebrew");
    case SidebarSection::systemData:
        return QStringLiteral("systemData");
    }
    return {};
}

std::optional<SidebarSection> sidebarSectionFromDisplayName(const QString &name)
{
    for (SidebarSection section : allSidebarSections()) {
        if (displayName(section) == name)
            return section;
    }
    return std::nullopt;
}

QList<SidebarSection> allSidebarSections()
{
    return {SidebarSection::applications, SidebarSection::npm, SidebarSection::homebrew,
            SidebarSection::systemData};
}
