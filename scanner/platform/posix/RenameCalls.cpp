#include "scanner/platform/RenameCalls.h"

#include <cerrno>

namespace platform {

int renameNoReplace(int, const char *, int, const char *)
{
    errno = ENOSYS;
    return -1;
}

} // namespace platform
