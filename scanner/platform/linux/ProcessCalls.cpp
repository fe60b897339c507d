// Running a child on Linux: pipe2, a process descriptor to wait on, and /proc to tell live
// members of a group from zombies.
#include "scanner/platform/ProcessCalls.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace platform {

bool makeCloseOnExecPipe(int fds[2])
{
    return ::pipe2(fds, O_CLOEXEC) == 0;
}

short newSessionSpawnFlags(posix_spawnattr_t *)
{
    return POSIX_SPAWN_SETSID;
}

int openExitNotice(pid_t pid)
{
#ifdef SYS_pidfd_open
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
#else
    (void)pid;
    return -1;
#endif
}

bool groupMembersRun(pid_t group)
{
    DIR *proc = ::opendir("/proc");
    if (!proc)
        return true;
    bool found = false;
    while (!found) {
        const dirent *entry = ::readdir(proc);
        if (!entry)
            break;
        if (entry->d_name[0] < '1' || entry->d_name[0] > '9')
            continue;
        char path[64];
        std::snprintf(path, sizeof path, "/proc/%s/stat", entry->d_name);
        const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        char stat[512];
        const ssize_t n = ::read(fd, stat, sizeof stat - 1);
        ::close(fd);
        if (n <= 0)
            continue;
        stat[n] = '\0';
        // "pid (name) state ppid pgrp ...": the name may hold anything, so start after the last
        // ')'.
        const char *afterName = std::strrchr(stat, ')');
        char state = 0;
        int parent = 0;
        int processGroup = 0;
        if (afterName &&
            std::sscanf(afterName + 1, " %c %d %d", &state, &parent, &processGroup) == 3 &&
            processGroup == group && state != 'Z' && state != 'X')
            found = true;
    }
    ::closedir(proc);
    return found;
}

} // namespace platform
