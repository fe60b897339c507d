// The size walk with the calls every POSIX system has: readdir on a duplicate of the folder's
// descriptor, fstatat.
#include "scanner/platform/FolderListing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

void listFolder(int folderFd, char *, std::size_t, EntryVisit visit, void *context)
{
    // fdopendir takes the descriptor over; the walk keeps its own.
    const int listingFd = ::fcntl(folderFd, F_DUPFD_CLOEXEC, 0);
    if (listingFd < 0)
        return;
    DIR *dir = ::fdopendir(listingFd);
    if (!dir) {
        ::close(listingFd);
        return;
    }
    while (const struct dirent *entry = ::readdir(dir)) {
        const char *name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        visit(context, name, entry->d_type == DT_DIR);
    }
    ::closedir(dir);
}

std::optional<EntryMeasure> measureEntry(int folderFd, const char *name, bool withModified)
{
    struct stat info;
    if (::fstatat(folderFd, name, &info, AT_SYMLINK_NOFOLLOW) != 0)
        return std::nullopt;
    EntryMeasure measure;
    measure.isFolder = S_ISDIR(info.st_mode);
    // POSIX always reports a block count, so the allocation is always known here.
    measure.allocated = static_cast<qint64>(info.st_blocks) * 512;
    measure.modified = withModified ? info.st_mtime : 0;
    return measure;
}

} // namespace platform
