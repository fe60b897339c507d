#pragma once

// The system's own list of processes, for a machine without /proc (macOS's libproc).

#include "scanner/RunningPrograms.h"

#include <QString>

#include <optional>

namespace platform {

// The first process of the current user (its real user id) whose program lies inside folder;
// nothing where the system offers no such list.
std::optional<RunningProcess> processRunningFrom(const QString &folder);

} // namespace platform
