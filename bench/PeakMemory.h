#pragma once

#include <sys/resource.h>

// The process's peak resident memory in kilobytes; -1 when it cannot be read. getrusage gives
// kilobytes on Linux and bytes on macOS.
inline long peakResidentKilobytes()
{
    struct rusage usage;
    if (::getrusage(RUSAGE_SELF, &usage) != 0)
        return -1;
#if defined(__APPLE__)
    return usage.ru_maxrss / 1024;
#else
    return usage.ru_maxrss;
#endif
}
