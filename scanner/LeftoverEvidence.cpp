#include "scanner/LeftoverEvidence.h"

#include "scanner/DesktopApplicationPlaces.h"
#include "scanner/DesktopEntry.h"
#include "scanner/ExecCommand.h"
#include "scanner/FileScanner.h"
#include "scanner/LeftoverClaims.h"
#include "scanner/PackageFamilies.h"
#include "scanner/PropertyList.h"

#include <QCoreApplication>

namespace {

constexpr qint64 kMaxUnitBytes = 256 * 1024;

std::optional<QString> gone(const char *sentence, const QString &what)
{
    return QCoreApplication::translate("LeftoverEvidence", sentence).arg(what);
}

} // namespace

bool programExists(const FileScanner &scanner, const QString &program)
{
    const FileManager &files = scanner.fileManager();
    if (program.startsWith(QLatin1Char('/'))) {
        const QString place = machinePath(scanner.places(), program);
        if (place.startsWith(scanner.places().home() + QLatin1Char('/')))
            return files.fileExists(place);
    } else if (files.fileExists(scanner.places().inHome(QStringLiteral(".local/bin/")) + program)) {
        return true;
    }
    return !resolvedProgram(scanner.places(), files, program).isEmpty();
}

namespace {

// The program a desktop entry starts; a Flatpak's entry by its Flatpak.
std::optional<QString> goneEntryTarget(const FileScanner &scanner, const LeftoverClaims &claims,
                                       const QString &path)
{
    const std::optional<QByteArray> bytes =
        scanner.fileManager().readFile(path, DesktopEntry::kMaxBytes);
    const std::optional<DesktopEntry> entry = bytes ? DesktopEntry::parse(*bytes) : std::nullopt;
    if (!entry)
        return std::nullopt;
    if (!entry->flatpakID.isEmpty())
        return claims.hasFlatpak(entry->flatpakID)
                   ? std::nullopt
                   : gone(QT_TRANSLATE_NOOP("LeftoverEvidence", "It starts the Flatpak %1, which "
                                                                "is not installed"),
                          entry->flatpakID);
    const ExecCommand command = entry->command();
    if (command.program.isEmpty() || command.isLauncher || programExists(scanner, command.program))
        return std::nullopt;
    return gone(QT_TRANSLATE_NOOP("LeftoverEvidence", "It starts %1, which is gone"),
                command.program);
}

// The program of a user unit's ExecStart line (its prefixes "-", "@", "+", "!" taken off).
std::optional<QString> goneUnitTarget(const FileScanner &scanner, const QString &path)
{
    const std::optional<QByteArray> bytes = scanner.fileManager().readFile(path, kMaxUnitBytes);
    if (!bytes)
        return std::nullopt;
    for (const QByteArray &rawLine : bytes->split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (!line.startsWith(QLatin1String("ExecStart=")))
            continue;
        QString program = line.mid(10).section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
        while (!program.isEmpty() && QStringLiteral("-@+!:").contains(program.front()))
            program.remove(0, 1);
        if (program.isEmpty() || programExists(scanner, program))
            return std::nullopt;
        return gone(QT_TRANSLATE_NOOP("LeftoverEvidence", "It starts %1, which is gone"), program);
    }
    return std::nullopt;
}

// A launch agent's Program, else the first of its ProgramArguments (launchd's own order).
std::optional<QString> goneAgentTarget(const FileScanner &scanner, const QString &path)
{
    const std::optional<QByteArray> bytes =
        scanner.fileManager().readFile(path, PropertyList::kMaxInputBytes);
    const auto plist = bytes ? PropertyList::readTopLevelDictionary(*bytes) : std::nullopt;
    if (!plist)
        return std::nullopt;
    const std::optional<QString> program =
        plist->contains(QStringLiteral("Program"))
            ? plist->string(QStringLiteral("Program"))
            : plist->firstOfArray(QStringLiteral("ProgramArguments"));
    if (!program || program->isEmpty() || programExists(scanner, *program))
        return std::nullopt;
    return gone(QT_TRANSLATE_NOOP("LeftoverEvidence", "It starts %1, which is gone"), *program);
}

} // namespace

std::optional<QString> goneTarget(const FileScanner &scanner, const LeftoverClaims &claims,
                                  const QString &path, const QString &name, FileCategory category)
{
    switch (category) {
    case FileCategory::flatpakData:
        if (claims.hasFlatpak(name))
            return std::nullopt;
        return gone(QT_TRANSLATE_NOOP("LeftoverEvidence", "No Flatpak %1 is installed"), name);
    case FileCategory::snapData:
        if (claims.hasSnap(name))
            return std::nullopt;
        return gone(QT_TRANSLATE_NOOP("LeftoverEvidence", "No Snap %1 is installed"), name);
    case FileCategory::autostartEntries:
    case FileCategory::desktopEntries:
        if (!name.endsWith(QLatin1String(".desktop")))
            return std::nullopt;
        return goneEntryTarget(scanner, claims, path);
    case FileCategory::userServices:
        return goneUnitTarget(scanner, path);
    case FileCategory::launchAgents:
        return goneAgentTarget(scanner, path);
    case FileCategory::preferences: {
        if (!name.endsWith(QLatin1String(".plist")))
            return std::nullopt;
        const QString identifier = name.chopped(6);
        if (!identifier.contains(QLatin1Char('.')) || claims.hasBundleIdentifier(identifier))
            return std::nullopt;
        return gone(QT_TRANSLATE_NOOP("LeftoverEvidence", "No installed application is %1"),
                    identifier);
    }
    default:
        return std::nullopt;
    }
}
