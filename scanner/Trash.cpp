// The Trash's rules that hold on every platform; TrashFreedesktop.cpp and TrashMac.cpp move.
#include "scanner/Trash.h"

#include "scanner/Places.h"
#include "scanner/TrashPaths.h"

using namespace TrashPaths;

const QString Trash::kChangedReason = QStringLiteral("Changed since it was listed");

QString Trash::swappedIntoTrashReason(const QString &place, const QString &why)
{
    return QStringLiteral("%1; what was found in its place went to the Trash as %2 and could not "
                          "be moved back (%3)")
        .arg(kChangedReason, place, why);
}

Trash::Trash(const Places &places)
    : m_home(withoutTrailingSlashes(places.home())), m_dataHome(places.dataHome())
{}

Trash::Trash(QString home) : Trash(Places(std::move(home), QStringLiteral("/"))) {}

QString Trash::refusalReason(const QString &path, const QString &home)
{
    const QString cleaned = withoutTrailingSlashes(path);
    if (cleaned.isEmpty())
        return QStringLiteral("No path was given");
    if (!home.isEmpty() && !home.startsWith(QLatin1Char('/')))
        return QStringLiteral("The home folder \"%1\" is not an absolute path; Verlo cannot tell "
                              "where its Trash is")
            .arg(home);
    // A name read with U+FFFD for bytes that are not valid UTF-8 could name another item.
    if (cleaned.contains(QChar(QChar::ReplacementCharacter)))
        return QStringLiteral("Its name is not valid text, so Verlo cannot tell it apart from "
                              "other items");
    if (cleaned == QLatin1String("/"))
        return QStringLiteral("Verlo never moves the root folder to the Trash");
    if (!cleaned.startsWith(QLatin1Char('/')))
        return QStringLiteral("Not an absolute path");
    const QString name = cleaned.mid(cleaned.lastIndexOf(QLatin1Char('/')) + 1);
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return QStringLiteral("Verlo only moves items named by their own path to the Trash");
    const QString cleanedHome = withoutTrailingSlashes(home);
    if (!cleanedHome.isEmpty()) {
        if (cleaned == cleanedHome)
            return QStringLiteral("Verlo never moves the home folder to the Trash");
        if (isSameOrInside(cleanedHome, cleaned))
            return QStringLiteral("Verlo never moves a folder that holds the home folder to the "
                                  "Trash");
    }
    return {};
}
