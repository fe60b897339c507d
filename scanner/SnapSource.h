#pragma once

#include "model/AssociatedFile.h"
#include "scanner/PackageSource.h"
#include "scanner/ScanProgress.h"

#include <QList>

// Snaps, through /usr/bin/snap.
class SnapSource : public PackageSource
{
public:
    explicit SnapSource(Machine machine) : m_machine(std::move(machine)) {}

    QString toolName() const override { return QStringLiteral("snap"); }
    bool isAvailable() const override;
    // "snap remove <name>".
    UninstallResult uninstall(const PackageRef &package) const override;
    std::optional<QString> removalCommandText(const PackageRef &package) const override;

    // The disabled revisions snapd keeps, each measured, as entries only a "snap remove
    // --revision" command frees; nothing when snap is not there or fails.
    QList<AssociatedFile> disabledRevisions(const ScanProgress &progress = {}) const;

private:
    Machine m_machine;
};
