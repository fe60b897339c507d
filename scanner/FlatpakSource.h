#pragma once

#include "model/AssociatedFile.h"
#include "scanner/PackageSource.h"
#include "scanner/ScanProgress.h"

#include <QList>

// Flatpak applications and runtimes, through /usr/bin/flatpak.
class FlatpakSource : public PackageSource
{
public:
    explicit FlatpakSource(Machine machine) : m_machine(std::move(machine)) {}

    QString toolName() const override { return QStringLiteral("flatpak"); }
    bool isAvailable() const override;
    // "flatpak uninstall --noninteractive --user|--system <id>".
    UninstallResult uninstall(const PackageRef &package) const override;
    std::optional<QString> removalCommandText(const PackageRef &package) const override;

    // The runtimes no installed application uses, each with the size flatpak reports, as entries
    // only "flatpak uninstall --unused" frees; nothing when flatpak is not there or fails.
    QList<AssociatedFile> unusedRuntimes(const ScanProgress &progress = {}) const;

private:
    Machine m_machine;
};
