#pragma once

// What running a child process needs beyond POSIX. Each platform has its own file: Linux's
// pipe2, pidfd_open and /proc, the portable calls elsewhere.

#include <spawn.h>
#include <sys/types.h>

namespace platform {

// A pipe whose two ends are closed on exec. False when none could be made.
bool makeCloseOnExecPipe(int fds[2]);

// The posix_spawn flags (and settings of attributes) that start the child in a session of its
// own, or where the system cannot, at least in a process group of its own.
short newSessionSpawnFlags(posix_spawnattr_t *attributes);

// A descriptor that becomes readable when child pid exits; -1 where the system has none (the
// caller then polls for the exit).
int openExitNotice(pid_t pid);

// Whether a member of process group, which a signal can still reach, is more than a zombie.
// True where the system cannot tell a zombie apart.
bool groupMembersRun(pid_t group);

} // namespace platform
