#include "scanner/platform/RenameCalls.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>

namespace platform {

int renameNoReplace(int fromFolder, const char *from, int toFolder, const char *to)
{
#ifdef RENAME_NOREPLACE
    return ::renameat2(fromFolder, from, toFolder, to, RENAME_NOREPLACE);
#else
    (void)fromFolder, (void)from, (void)toFolder, (void)to;
    errno = ENOSYS;
    return -1;
#endif
}

} // namespace platform
