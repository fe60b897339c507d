// Removing a desktop application, or a toolchain, the way it was installed.

#include "scanner/ApplicationRemoval.h"

#include "scanner/FlatpakSource.h"
#include "scanner/Process.h"
#include "scanner/SnapSource.h"
#include "scanner/SystemPackageSource.h"

namespace {

// An uninstall deletes many files (a toolchain, a conda package cache): it may take minutes, but
// a tool that hangs must not hold the removal for ever.
constexpr int kRemovalTimeLimitMs = 10 * 60 * 1000;

UninstallResult failure(const QString &text)
{
    return {false, text};
}

PackageRef flatpakOf(const AppInfo &app)
{
    return {app.flatpakID, false, app.isUserFlatpak};
}

} // namespace

UninstallResult ApplicationRemoval::removeWithCommand(const AssociatedFile &file) const
{
    if (file.removalCommand.isEmpty())
        return failure(QStringLiteral("%1 has no removal command").arg(file.name));
    const QString tool = file.removalCommand.first();
    const QString toolName = tool.section(QLatin1Char('/'), -1);
    if (!m_machine.fileManager().fileExists(tool))
        return failure(QStringLiteral("%1 not found at %2")
                           .arg(toolName, m_machine.places().systemRelative(tool)));
    Process process(tool, file.removalCommand.mid(1));
    process.setEnvironment(ToolRunner(m_machine).toolEnvironment());
    process.setTimeLimit(kRemovalTimeLimitMs);
    const ProcessResult run = process.run();
    if (run.timedOut)
        return failure(
            QStringLiteral("%1 did not finish within 10 minutes and was stopped").arg(toolName));
    return uninstallOutcome(run.started ? CommandResult{run.text(), run.status} : CommandResult{},
                            toolName);
}

std::optional<QString> ApplicationRemoval::uninstallCommandText(const AppInfo &app) const
{
    switch (app.installation) {
    case InstallationKind::flatpak:
        return FlatpakSource(m_machine).removalCommandText(flatpakOf(app));
    case InstallationKind::snap:
        return SnapSource(m_machine).removalCommandText({app.snapName});
    default:
        return std::nullopt;
    }
}

UninstallResult ApplicationRemoval::uninstallApplication(const AppInfo &app) const
{
    switch (app.installation) {
    case InstallationKind::flatpak:
        return FlatpakSource(m_machine).uninstall(flatpakOf(app));
    case InstallationKind::snap:
        return SnapSource(m_machine).uninstall({app.snapName});
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

QString ApplicationRemoval::systemPackageRemovalCommand(const AppInfo &app) const
{
    if (app.installation != InstallationKind::systemPackage)
        return {};
    return SystemPackageSource(m_machine)
        .removalCommandText({app.owningPackage})
        .value_or(QString());
}
