// Removing a desktop application, or a toolchain, the way it was installed.

#include "scanner/FileScanner.h"

#include "scanner/DesktopApplicationPlaces.h"
#include "scanner/Process.h"

namespace {

const QString kFlatpak = QStringLiteral("/usr/bin/flatpak");
const QString kSnap = QStringLiteral("/usr/bin/snap");
const QString kDpkgQuery = QStringLiteral("/usr/bin/dpkg-query");
// An uninstall deletes many files (a toolchain, a conda package cache): it may take minutes, but
// a tool that hangs must not hold the removal for ever.
constexpr int kRemovalTimeLimitMs = 10 * 60 * 1000;

QStringList flatpakArguments(const QString &id, bool user)
{
    return {QStringLiteral("uninstall"), QStringLiteral("--noninteractive"),
            user ? QStringLiteral("--user") : QStringLiteral("--system"), id};
}

UninstallResult failure(const QString &text)
{
    return {false, text};
}

// What the tool said, or why it said nothing.
UninstallResult outcome(const CommandResult &command, const QString &tool)
{
    if (command.status == -1 && !command.output)
        return failure(QStringLiteral("%1 could not be started").arg(tool));
    if (command.status != 0) {
        const QString said = command.output.value_or(QString()).trimmed();
        QString text = QStringLiteral("%1 failed (exit status %2)").arg(tool).arg(command.status);
        if (!said.isEmpty())
            text += QStringLiteral(": ") + said;
        return failure(text);
    }
    return {true, command.output};
}

} // namespace

UninstallResult FileScanner::uninstallFlatpak(const QString &flatpakID, bool userInstallation) const
{
    const QString flatpak = m_places.onSystem(kFlatpak);
    if (!m_fileManager.fileExists(flatpak))
        return failure(QStringLiteral("flatpak not found at /usr/bin/flatpak"));
    if (!isValidFlatpakID(flatpakID))
        return failure(
            QStringLiteral("Refusing to uninstall a Flatpak named \"%1\"").arg(flatpakID));
    return outcome(runCommand(flatpak, flatpakArguments(flatpakID, userInstallation)),
                   QStringLiteral("flatpak uninstall"));
}

UninstallResult FileScanner::uninstallSnap(const QString &snapName) const
{
    const QString snap = m_places.onSystem(kSnap);
    if (!m_fileManager.fileExists(snap))
        return failure(QStringLiteral("snap not found at /usr/bin/snap"));
    if (!isValidSnapName(snapName))
        return failure(QStringLiteral("Refusing to remove a Snap named \"%1\"").arg(snapName));
    return outcome(runCommand(snap, {QStringLiteral("remove"), snapName}),
                   QStringLiteral("snap remove"));
}

UninstallResult FileScanner::removeWithCommand(const AssociatedFile &file) const
{
    if (file.removalCommand.isEmpty())
        return failure(QStringLiteral("%1 has no removal command").arg(file.name));
    const QString tool = file.removalCommand.first();
    const QString toolName = tool.section(QLatin1Char('/'), -1);
    if (!m_fileManager.fileExists(tool))
        return failure(
            QStringLiteral("%1 not found at %2").arg(toolName, m_places.systemRelative(tool)));
    Process process(tool, file.removalCommand.mid(1));
    process.setEnvironment(toolEnvironment());
    process.setTimeLimit(kRemovalTimeLimitMs);
    const ProcessResult run = process.run();
    if (run.timedOut)
        return failure(
            QStringLiteral("%1 did not finish within 10 minutes and was stopped").arg(toolName));
    return outcome(run.started ? CommandResult{run.text(), run.status} : CommandResult{}, toolName);
}

std::optional<QString> FileScanner::uninstallCommandText(const AppInfo &app) const
{
    switch (app.installation) {
    case InstallationKind::flatpak:
        return QStringLiteral("flatpak ") +
               flatpakArguments(app.flatpakID, app.isUserFlatpak).join(QLatin1Char(' '));
    case InstallationKind::snap:
        return QStringLiteral("snap remove ") + app.snapName;
    default:
        return std::nullopt;
    }
}

UninstallResult FileScanner::uninstallApplication(const AppInfo &app) const
{
    switch (app.installation) {
    case InstallationKind::flatpak:
        return uninstallFlatpak(app.flatpakID, app.isUserFlatpak);
    case InstallationKind::snap:
        return uninstallSnap(app.snapName);
    case InstallationKind::systemPackage: {
        const QString command = systemPackageRemovalCommand(app);
        if (command.isEmpty())
            return failure(QStringLiteral("%1 belongs to the system and is not removed by Verlo.")
                               .arg(app.name));
        return failure(QStringLiteral("%1 belongs to the system package \"%2\" and is not removed "
                                      "by Verlo. To remove it, run: %3")
                           .arg(app.name, app.owningPackage, command));
    }
    case InstallationKind::bundle:
    case InstallationKind::appImage:
    case InstallationKind::homeFolder:
        break;
    }
    // Nothing ran, so nothing was uninstalled.
    return failure(
        QStringLiteral("%1 has no uninstall command: its files go to the Trash").arg(app.name));
}

QString FileScanner::systemPackageRemovalCommand(const AppInfo &app) const
{
    if (app.installation != InstallationKind::systemPackage ||
        !isValidPackageName(app.owningPackage))
        return {};
    const bool debian = m_fileManager.fileExists(m_places.onSystem(kDpkgQuery));
    return (debian ? QStringLiteral("sudo apt remove ") : QStringLiteral("sudo dnf remove ")) +
           app.owningPackage;
}
