#include "scanner/platform/ThreadTimes.h"

namespace platform {

int openThreadSchedulerStats()
{
    return -1;
}

} // namespace platform
