#include "scanner/PosixFiles.h"

#include "scanner/PlatformCalls.h"

#include <QtGlobal>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

FileDescriptor::~FileDescriptor()
{
    if (fd >= 0)
        ::close(fd);
}

int renameWithoutReplacing(int fromFolder, const QByteArray &from, int toFolder,
                           const QByteArray &to)
{
#if VERLO_LINUX_CALLS && defined(RENAME_NOREPLACE)
    if (::renameat2(fromFolder, from.constData(), toFolder, to.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    // File systems without RENAME_NOREPLACE say EINVAL; fall back to a test before the rename.
    if (errno != EINVAL && errno != ENOSYS)
        return -1;
#endif
    struct stat st;
    if (::fstatat(toFolder, to.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        errno = EEXIST;
        return -1;
    }
    return ::renameat(fromFolder, from.constData(), toFolder, to.constData());
}
