// Running a child with the calls every POSIX system has: the exit is polled for, and a group
// that a signal still reaches counts as running.
#include "scanner/platform/ProcessCalls.h"

#include <fcntl.h>
#include <unistd.h>

namespace platform {

bool makeCloseOnExecPipe(int fds[2])
{
    if (::pipe(fds) != 0)
        return false;
    ::fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    ::fcntl(fds[1], F_SETFD, FD_CLOEXEC);
    return true;
}

short newSessionSpawnFlags(posix_spawnattr_t *attributes)
{
#ifdef POSIX_SPAWN_SETSID
    (void)attributes;
    return POSIX_SPAWN_SETSID;
#else
    posix_spawnattr_setpgroup(attributes, 0);
    return POSIX_SPAWN_SETPGROUP;
#endif
}

int openExitNotice(pid_t)
{
    return -1;
}

bool groupMembersRun(pid_t)
{
    return true;
}

} // namespace platform
