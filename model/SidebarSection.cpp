#include "model/SidebarSection.h"

namespace {

struct SectionInfo
{
    SidebarSection section;
    const char *caseName;
    const char *displayName;
    const char *iconName;
    const char *commandWord; // "": not listed by the command line
};

const SectionInfo kSections[] = {
    {SidebarSection::applications, "applications", "Applications", "app.fill", "apps"},
    {SidebarSection::npm, "npm", "npm", "terminal.fill", "npm"},
    {SidebarSection::homebrew, "homebrew", "Brew", "cup.and.saucer.fill", "brew"},
    {SidebarSection::systemData, "systemData", "System Data", "internaldrive.fill", ""},
};

static_assert(std::size(kSections) == 4);

const SectionInfo &info(SidebarSection section)
{
    return kSections[static_cast<int>(section)];
}

template <typename Field>
std::optional<SidebarSection> sectionWith(Field field, const QString &text)
{
    for (const SectionInfo &section : kSections) {
        if (*(section.*field) != '\0' && text == QLatin1String(section.*field))
            return section.section;
    }
    return std::nullopt;
}

} // namespace

const QList<SidebarSection> &allSidebarSections()
{
    static const QList<SidebarSection> sections = [] {
        QList<SidebarSection> all;
        for (const SectionInfo &section : kSections)
            all.append(section.section);
        return all;
    }();
    return sections;
}

QString displayName(SidebarSection section)
{
    return QString::fromLatin1(info(section).displayName);
}

QString caseName(SidebarSection section)
{
    return QString::fromLatin1(info(section).caseName);
}

QString iconName(SidebarSection section)
{
    return QString::fromLatin1(info(section).iconName);
}

QString commandWord(SidebarSection section)
{
    return QString::fromLatin1(info(section).commandWord);
}

std::optional<SidebarSection> sidebarSectionFromDisplayName(const QString &name)
{
    return sectionWith(&SectionInfo::displayName, name);
}

std::optional<SidebarSection> sidebarSectionFromCommandWord(const QString &word)
{
    return sectionWith(&SectionInfo::commandWord, word);
}
