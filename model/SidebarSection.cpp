#include "model/SidebarSection.h"

#include <QtGlobal>

namespace {

struct SectionInfo
{
    SidebarSection section;
    const char *caseName;
    const char *displayName;
    const char *iconName;
    const char *commandWord; // "": not listed by the command line
};

// The display names are translated where they are shown (context "SidebarSection").
const SectionInfo kSections[] = {
    {SidebarSection::applications, "applications",
     QT_TRANSLATE_NOOP("SidebarSection", "Applications"), "app.fill", "apps"},
    {SidebarSection::npm, "npm", QT_TRANSLATE_NOOP("SidebarSection", "npm"), "terminal.fill",
     "npm"},
    {SidebarSection::homebrew, "homebrew", QT_TRANSLATE_NOOP("SidebarSection", "Brew"),
     "cup.and.saucer.fill", "brew"},
    {SidebarSection::systemData, "systemData", QT_TRANSLATE_NOOP("SidebarSection", "System Data"),
     "internaldrive.fill", ""},
    {SidebarSection::leftovers, "leftovers", QT_TRANSLATE_NOOP("SidebarSection", "Leftovers"),
     "leftovers.fill", ""},
};

static_assert(std::size(kSections) == int(SidebarSection::leftovers) + 1);

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
