#pragma once

#include "scanner/PackageSource.h"

#include <QHash>
#include <QStringList>

// The system's packages, through dpkg where it is there, else rpm: which package owns a file and,
// with dpkg, the other packages built from each one's source package. Verlo never removes one:
// it shows the command that would.
class SystemPackageSource : public PackageSource
{
public:
    explicit SystemPackageSource(Machine machine) : m_machine(std::move(machine)) {}

    // "dpkg" or "rpm", whichever is there (dpkg when neither is).
    QString toolName() const override;
    bool isAvailable() const override;
    // Never runs anything: fails with the command that would remove the package.
    UninstallResult uninstall(const PackageRef &package) const override;
    // One "dpkg-query -S" call, else one "rpm -qf" call; nothing when neither tool is there,
    // fails to answer or runs out of time.
    QHash<QString, QString> owningPackages(const QStringList &paths) const override;
    // "sudo apt remove <package>" ("sudo dnf remove" where rpm is the package tool); nothing for
    // a name no package has.
    std::optional<QString> removalCommandText(const PackageRef &package) const override;

    // For each installed package, the other binary packages of its source package as search
    // words (parsePackageFamilies), by one "dpkg-query -W" call; nothing without dpkg.
    QHash<QString, QStringList> packageFamilies() const;

private:
    bool hasDpkg() const;

    Machine m_machine;
};
