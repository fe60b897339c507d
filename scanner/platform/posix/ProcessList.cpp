#include "scanner/platform/ProcessList.h"

namespace platform {

std::optional<RunningProcess> processRunningFrom(const QString &)
{
    return std::nullopt;
}

} // namespace platform
