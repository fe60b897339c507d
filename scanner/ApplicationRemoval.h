#pragma once

#include "model/AppInfo.h"
#include "model/AssociatedFile.h"
#include "scanner/ToolRunner.h"

#include <QString>

#include <optional>

// Removing an application, or a found item with a command of its own (a toolchain), the way it
// was installed.
class ApplicationRemoval
{
public:
    explicit ApplicationRemoval(Machine machine) : m_machine(std::move(machine)) {}

    // The command removing the application runs, as shown to the user ("flatpak uninstall
    // --noninteractive --user org.x.Y"); nothing when nothing runs (bundles, AppImages and
    // home-installed entries go to the Trash as files; system packages are never removed).
    std::optional<QString> uninstallCommandText(const AppInfo &app) const;
    // Runs the removal of the application's kind: Flatpak and Snap through their tool. Bundles,
    // AppImages and home-installed entries have nothing to run (not succeeded: their files go
    // through the Trash); a system package fails with the command that would remove it.
    // Nothing runs in either case.
    UninstallResult uninstallApplication(const AppInfo &app) const;
    // Runs the file's removalCommand, within a time limit long enough for an uninstall. Not
    // succeeded, with the reason, when it has none, the tool is gone or the tool fails.
    UninstallResult removeWithCommand(const AssociatedFile &file) const;
    // "sudo apt remove <package>" ("sudo dnf remove" where rpm is the package tool) for a system
    // package with a known owner; empty otherwise. Verlo never runs it.
    QString systemPackageRemovalCommand(const AppInfo &app) const;

private:
    Machine m_machine;
};
