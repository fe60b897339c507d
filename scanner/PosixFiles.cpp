#include "scanner/PosixFiles.h"

#include "scanner/platform/RenameCalls.h"

#include <QtGlobal>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

FileDescriptor::~FileDescriptor()
{
    if (fd >= 0)
        ::close(fd);
}

int renameWithoutReplacing(int fromFolder, const QByteArray &from, int toFolder,
                           const QByteArray &to)
{
    if (platform::renameNoReplace(fromFolder, from.constData(), toFolder, to.constData()) == 0)
        return 0;
    // Systems and file systems without such a rename say so; fall back to a test before it.
    if (errno != EINVAL && errno != ENOSYS)
        return -1;
    struct stat st;
    if (::fstatat(toFolder, to.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        errno = EEXIST;
        return -1;
    }
    return ::renameat(fromFolder, from.constData(), toFolder, to.constData());
}
