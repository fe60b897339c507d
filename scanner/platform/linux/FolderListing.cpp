// The size walk on Linux: getdents64 lists a folder in few calls, statx tells which fields the
// file system really filled in.
#include "scanner/platform/FolderListing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstring>

namespace platform {

void listFolder(int folderFd, char *buffer, std::size_t bufferSize, EntryVisit visit, void *context)
{
    for (;;) {
        const long length = ::syscall(SYS_getdents64, folderFd, buffer, bufferSize);
        if (length <= 0)
            return; // the end, or an error: what was read so far stands
        for (long position = 0; position < length;) {
            // struct linux_dirent64: u64 d_ino, s64 d_off, u16 d_reclen, u8 d_type, char d_name[]
            const char *record = buffer + position;
            unsigned short recordLength = 0;
            std::memcpy(&recordLength, record + 16, sizeof recordLength);
            const unsigned char type = static_cast<unsigned char>(record[18]);
            const char *name = record + 19;
            position += recordLength;
            if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
                continue;
            visit(context, name, type == DT_DIR);
        }
    }
}

std::optional<EntryMeasure> measureEntry(int folderFd, const char *name, bool withModified)
{
    EntryMeasure measure;
#ifdef STATX_BLOCKS
    // statx says which fields the file system filled in, so "no allocation known" is a real
    // answer here and the length stands in for it.
    struct statx info;
    const unsigned mask = STATX_TYPE | STATX_SIZE | STATX_BLOCKS | (withModified ? STATX_MTIME : 0);
    if (::statx(folderFd, name, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, mask, &info) != 0)
        return std::nullopt;
    measure.isFolder = (info.stx_mask & STATX_TYPE) && S_ISDIR(info.stx_mode);
    if (info.stx_mask & STATX_BLOCKS)
        measure.allocated = static_cast<qint64>(info.stx_blocks) * 512;
    else if (info.stx_mask & STATX_SIZE)
        measure.allocated = static_cast<qint64>(info.stx_size);
    measure.modified = (info.stx_mask & STATX_MTIME) ? info.stx_mtime.tv_sec : 0;
#else
    struct stat info;
    if (::fstatat(folderFd, name, &info, AT_SYMLINK_NOFOLLOW) != 0)
        return std::nullopt;
    measure.isFolder = S_ISDIR(info.st_mode);
    measure.allocated = static_cast<qint64>(info.st_blocks) * 512;
    measure.modified = withModified ? info.st_mtime : 0;
#endif
    return measure;
}

} // namespace platform
