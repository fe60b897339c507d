#include "scanner/platform/ThreadTimes.h"

#include <fcntl.h>

namespace platform {

int openThreadSchedulerStats()
{
    // Names the thread that opens it, for as long as the descriptor stays open.
    return ::open("/proc/thread-self/schedstat", O_RDONLY | O_CLOEXEC);
}

} // namespace platform
