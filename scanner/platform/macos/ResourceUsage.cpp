#include "scanner/platform/ResourceUsage.h"

#include <sys/resource.h>

namespace platform {

long peakResidentKilobytes()
{
    struct rusage usage;
    if (::getrusage(RUSAGE_SELF, &usage) != 0)
        return -1;
    return usage.ru_maxrss / 1024; // bytes on macOS
}

} // namespace platform
