#include "scanner/FileManager.h"

#include "scanner/Trash.h"
#include "scanner/TrashRestore.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

QByteArray encoded(const QString &path)
{
    return QFile::encodeName(path);
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
    if (path.isEmpty())
        return std::nullopt;
    DIR *dir = ::opendir(encoded(path).constData());
    if (!dir)
        return std::nullopt;
    const QString prefix = path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
    QStringList entries;
    errno = 0;
    while (struct dirent *entry = ::readdir(dir)) {
        const char *name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        entries.append(prefix + QFile::decodeName(name));
    }
    const bool failed = errno != 0;
    ::closedir(dir);
    if (failed)
        return std::nullopt;
    return entries;
}

std::optional<QByteArray> FileManager::readFile(const QString &path, qint64 maxBytes) const
{
    // Regular files only: opening a pipe (say, an "Info.plist" that is a FIFO) for reading
    // waits for a writer forever, and O_NONBLOCK keeps the open itself from waiting.
    const int fd = ::open(encoded(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat st;
    QFile file;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return std::nullopt;
    }
    // Read one byte past the limit to tell "exactly at the limit" from "too large"; this also
    // copes with files whose reported size is wrong (/proc).
    QByteArray bytes = file.read(maxBytes + 1);
    if (bytes.size() > maxBytes || file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

bool FileManager::isSymbolicLink(const QString &path) const
{
    struct stat st;
    return !path.isEmpty() && ::lstat(encoded(path).constData(), &st) == 0 && S_ISLNK(st.st_mode);
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

QString FileManager::trashItem(const QString &path, const QString &home,
                               const std::optional<FileIdentity> &expected,
                               TrashedItem *trashed) const
{
    return Trash(home).moveToTrash(path, expected, trashed);
}

QString FileManager::putBackItem(const TrashedItem &item, const QString &home,
                                 QString *restoredTo) const
{
    return TrashRestore::putBack(item, Trash(home).homeTrashFolder(), restoredTo);
}
