#pragma once

// A rename that the system itself refuses over an existing target: renameat2 with
// RENAME_NOREPLACE on Linux; elsewhere none (see PosixFiles.h for the portable fallback).

namespace platform {

// 0 on success; else -1 with errno set, ENOSYS or EINVAL when the system or its file system
// cannot rename this way.
int renameNoReplace(int fromFolder, const char *from, int toFolder, const char *to);

} // namespace platform
