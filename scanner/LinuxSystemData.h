#pragma once

#include "model/FileGroup.h"
#include "scanner/Machine.h"
#include "scanner/ScanProgress.h"

#include <QList>

// The System Data step of the Linux places.
class LinuxSystemData
{
public:
    explicit LinuxSystemData(Machine machine) : m_machine(std::move(machine)) {}

    // Per-program caches under $XDG_CACHE_HOME, thumbnails, package and build caches, Android
    // images, rootless container storage, the user's Trash (shown, unremovable) and what only a
    // command frees (the journal, Docker, unused Flatpak runtimes, disabled Snap revisions,
    // SystemCommandCaches; unremovable, with the command in the reason).
    QList<FileGroup> scanLinuxSystemData(const ScanProgress &progress = {}) const;

private:
    Machine m_machine;
};
