#pragma once

#include "model/AssociatedFile.h"
#include "scanner/Machine.h"
#include "scanner/ScanProgress.h"

#include <QList>

// What only a command run as root frees outside the home folder.
class SystemCommandCaches
{
public:
    explicit SystemCommandCaches(Machine machine) : m_machine(std::move(machine)) {}

    // The download caches of apt, dnf and pacman (where the tool is installed; pacman's packages
    // of versions no longer installed), and stored core dumps (systemd's, macOS's /cores), as far
    // as they can be read. Unremovable systemManaged entries with the command in the reason;
    // nothing when empty.
    QList<AssociatedFile> scanSystemCommandCaches(const ScanProgress &progress = {}) const;

private:
    Machine m_machine;
};
