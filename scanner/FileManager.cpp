#include "scanner/FileManager.h"

#include "scanner/Trash.h"
#include "scanner/TrashRestore.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

QByteArray encoded(const QString &path)
{
    return QFile::encodeName(path);
}

// The rest of the file open at fd, expected to hold about expected bytes; nothing on a read error
// or once it proves longer than maxBytes. The buffer is sized to the file, not to the limit, and
// one byte more tells a file that grew (or whose reported size is wrong, as in /proc) from one that
// did not: only then does it grow, doubling, up to one byte past the limit.
std::optional<QByteArray> readUpTo(int fd, qint64 expected, qint64 maxBytes)
{
    QByteArray bytes;
    bytes.resize(std::min(expected, maxBytes) + 1);
    qint64 filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (filled > maxBytes)
                return std::nullopt;
            bytes.resize(std::min(std::max<qint64>(filled * 2, 4096), maxBytes + 1));
        }
        const ssize_t count = ::read(fd, bytes.data() + filled, size_t(bytes.size() - filled));
        if (count == 0)
            break;
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        filled += count;
    }
    bytes.truncate(filled);
    return bytes;
}

} // namespace

bool FileManager::fileExists(const QString &path) const
{
    bool ignored = false;
    return fileExists(path, &ignored);
}

bool FileManager::fileExists(const QString &path, bool *isDirectory) const
{
    if (path.isEmpty())
        return false;
    struct stat st;
    if (::stat(encoded(path).constData(), &st) != 0) {
        if (isDirectory)
            *isDirectory = false;
        return false;
    }
    if (isDirectory)
        *isDirectory = S_ISDIR(st.st_mode);
    return true;
}

bool FileManager::isDirectory(const QString &path) const
{
    bool directory = false;
    return fileExists(path, &directory) && directory;
}

std::optional<QStringList> FileManager::contentsOfDirectory(const QString &path) const
{
    const QString prefix = path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
    QStringList entries;
    if (!forEachEntry(path, [&](QByteArrayView name) {
            entries.append(prefix +
                           QFile::decodeName(QByteArray::fromRawData(name.data(), name.size())));
        }))
        return std::nullopt;
    return entries;
}

bool FileManager::forEachEntry(const QString &path,
                               const std::function<void(QByteArrayView)> &visit) const
{
    if (path.isEmpty())
        return false;
    DIR *dir = ::opendir(encoded(path).constData());
    if (!dir)
        return false;
    errno = 0;
    while (struct dirent *entry = ::readdir(dir)) {
        const char *name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        visit(QByteArrayView(name, qsizetype(std::strlen(name))));
        errno = 0; // the visitor may have set it; only readdir's own error counts
    }
    const bool failed = errno != 0;
    ::closedir(dir);
    return !failed;
}

std::optional<QStringList> FileManager::subfolderNames(const QString &path) const
{
    if (path.isEmpty())
        return std::nullopt;
    DIR *dir = ::opendir(encoded(path).constData());
    if (!dir)
        return std::nullopt;
    QStringList names;
    errno = 0;
    while (struct dirent *entry = ::readdir(dir)) {
        const char *name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        bool isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN) {
            struct stat st;
            isFolder =
                ::fstatat(::dirfd(dir), name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
        }
        if (isFolder)
            names.append(QFile::decodeName(name));
        errno = 0;
    }
    const bool failed = errno != 0;
    ::closedir(dir);
    if (failed)
        return std::nullopt;
    return names;
}

std::optional<QByteArray> FileManager::readFile(const QString &path, qint64 maxBytes) const
{
    // Regular files only: opening a pipe (say, an "Info.plist" that is a FIFO) for reading
    // waits for a writer forever, and O_NONBLOCK keeps the open itself from waiting.
    const int fd = ::open(encoded(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::optional<QByteArray> bytes;
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= maxBytes)
        bytes = readUpTo(fd, st.st_size, maxBytes);
    ::close(fd);
    return bytes;
}

bool FileManager::isSymbolicLink(const QString &path) const
{
    struct stat st;
    return !path.isEmpty() && ::lstat(encoded(path).constData(), &st) == 0 && S_ISLNK(st.st_mode);
}

std::optional<QString> FileManager::symbolicLinkTarget(const QString &path) const
{
    if (path.isEmpty())
        return std::nullopt;
    char target[4096];
    const ssize_t length = ::readlink(encoded(path).constData(), target, sizeof target);
    if (length < 0 || size_t(length) == sizeof target)
        return std::nullopt;
    return QFile::decodeName(QByteArray(target, length));
}

std::optional<FileIdentity> FileManager::identity(const QString &path) const
{
    struct stat st;
    if (path.isEmpty() || ::lstat(encoded(path).constData(), &st) != 0)
        return std::nullopt;
    return FileIdentity{static_cast<quint64>(st.st_dev), static_cast<quint64>(st.st_ino),
                        static_cast<quint32>(st.st_mode & S_IFMT)};
}

std::optional<qint64> FileManager::fileSize(const QString &path) const
{
    struct stat st;
    if (path.isEmpty() || ::lstat(encoded(path).constData(), &st) != 0)
        return std::nullopt;
    return static_cast<qint64>(st.st_size);
}

std::optional<QDateTime> FileManager::modificationDate(const QString &path) const
{
    struct stat st;
    if (path.isEmpty() || ::lstat(encoded(path).constData(), &st) != 0)
        return std::nullopt;
    return QDateTime::fromSecsSinceEpoch(st.st_mtime);
}

QString FileManager::trashItem(const QString &path, const Places &places,
                               const std::optional<FileIdentity> &expected, TrashedItem *trashed,
                               const Trash::ClaimCheck &claimed) const
{
    return Trash(places).moveToTrash(path, expected, trashed, claimed);
}

QString FileManager::putBackItem(const TrashedItem &item, const Places &places,
                                 QString *restoredTo) const
{
    return TrashRestore::putBack(item, Trash(places).homeTrashFolder(), restoredTo);
}

bool FileManager::settleTrashClaim(const TrashedItem &item, const Places &places) const
{
    return TrashRestore::settleClaim(item, Trash(places).homeTrashFolder());
}
