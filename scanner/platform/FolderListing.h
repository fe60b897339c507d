#pragma once

// How the size walk reads a folder and measures an entry. Each platform has its own file:
// getdents64 and statx on Linux, readdir and fstatat elsewhere.

#include <QtGlobal>

#include <cstddef>
#include <optional>
#include <type_traits>

namespace platform {

// Calls visit(context, name, isFolder) for every entry of the open folder folderFd except "."
// and "..". isFolder is what the listing says: false may still be a folder that a measurement
// then tells. buffer (bufferSize bytes) is scratch space for the listing. What was listed
// before an error stands.
using EntryVisit = void (*)(void *context, const char *name, bool isFolder);
void listFolder(int folderFd, char *buffer, std::size_t bufferSize, EntryVisit visit,
                void *context);

template <typename Visit>
void listFolder(int folderFd, char *buffer, std::size_t bufferSize, Visit &&visit)
{
    using Function = std::remove_reference_t<Visit>;
    listFolder(
        folderFd, buffer, bufferSize,
        [](void *context, const char *name, bool isFolder) {
            (*static_cast<Function *>(context))(name, isFolder);
        },
        &visit);
}

struct EntryMeasure
{
    bool isFolder = false;
    qint64 allocated = 0; // bytes on disk; the length where the file system tells no allocation
    qint64 modified = 0;  // seconds since the epoch, when asked for
};

// The entry name of folder folderFd itself (a link is not followed, nothing is mounted on the
// way); nothing when it cannot be read.
std::optional<EntryMeasure> measureEntry(int folderFd, const char *name, bool withModified);

} // namespace platform
