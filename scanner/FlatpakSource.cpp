#include "scanner/FlatpakSource.h"

#include "scanner/DesktopApplicationPlaces.h"
#include "scanner/FoundFile.h"
#include "scanner/ToolOutput.h"

namespace {

const QString kFlatpak = QStringLiteral("/usr/bin/flatpak");

QStringList uninstallArguments(const PackageRef &package)
{
    return {QStringLiteral("uninstall"), QStringLiteral("--noninteractive"),
            package.userInstallation ? QStringLiteral("--user") : QStringLiteral("--system"),
            package.name};
}

} // namespace

bool FlatpakSource::isAvailable() const
{
    return m_machine.fileManager().fileExists(m_machine.places().onSystem(kFlatpak));
}

UninstallResult FlatpakSource::uninstall(const PackageRef &package) const
{
    const QString flatpak = m_machine.places().onSystem(kFlatpak);
    if (!m_machine.fileManager().fileExists(flatpak))
        return {false, QStringLiteral("flatpak not found at /usr/bin/flatpak")};
    if (!isValidFlatpakID(package.name))
        return {false,
                QStringLiteral("Refusing to uninstall a Flatpak named \"%1\"").arg(package.name)};
    return uninstallOutcome(ToolRunner(m_machine).runCommand(flatpak, uninstallArguments(package)),
                            QStringLiteral("flatpak uninstall"));
}

std::optional<QString> FlatpakSource::removalCommandText(const PackageRef &package) const
{
    return QStringLiteral("flatpak ") + uninstallArguments(package).join(QLatin1Char(' '));
}

QList<AssociatedFile> FlatpakSource::unusedRuntimes(const ScanProgress &progress) const
{
    const Places &places = m_machine.places();
    const QString flatpak = places.onSystem(kFlatpak);
    if (!m_machine.fileManager().fileExists(flatpak))
        return {};
    if (progress)
        progress(flatpak);
    const ToolRunner tools(m_machine);
    const CommandResult runtimes =
        tools.runQuery(flatpak, {QStringLiteral("list"), QStringLiteral("--runtime"),
                                 QStringLiteral("--columns=ref,size")});
    const CommandResult apps =
        tools.runQuery(flatpak, {QStringLiteral("list"), QStringLiteral("--app"),
                                 QStringLiteral("--columns=runtime")});
    if (runtimes.status != 0 || apps.status != 0 || !runtimes.output || !apps.output)
        return {};
    QList<AssociatedFile> unused;
    for (const ReclaimableItem &item : parseUnusedFlatpakRuntimes(*runtimes.output, *apps.output)) {
        unused.append(
            freedOnlyByCommand(places.onSystem(QStringLiteral("/var/lib/flatpak/runtime/")) +
                                   item.name.section(QLatin1Char('/'), 0, 0),
                               QStringLiteral("Unused Flatpak runtime ") + item.name, item.bytes,
                               QStringLiteral("flatpak uninstall --unused")));
    }
    return unused;
}
