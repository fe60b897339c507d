#pragma once

// Whether the scanner uses the Linux system calls it prefers: getdents64 and statx in the size
// walk, pidfd_open to wait for a child, renameat2(RENAME_NOREPLACE) in the Trash. A build with
// VERLO_PORTABLE (CMake option VERLO_PORTABLE_BRANCHES) takes the portable branches other systems
// take instead (readdir and fstatat, polling waitpid, a test before rename), keeping every rule,
// so that those branches are compiled and tested here too.
#if defined(__linux__) && !defined(VERLO_PORTABLE)
#define VERLO_LINUX_CALLS 1
#else
#define VERLO_LINUX_CALLS 0
#endif
