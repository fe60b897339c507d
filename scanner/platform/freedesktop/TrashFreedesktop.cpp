// The freedesktop.org Trash: the home trash and the top-folder trashes of other file systems.
#include "scanner/Trash.h"

#include "scanner/PosixFiles.h"
#include "scanner/TrashPaths.h"

#include <QUrl>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>

using namespace TrashPaths;

namespace {

QString parentOf(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash <= 0)
        return QStringLiteral("/");
    return path.left(slash);
}

std::optional<QString> realPath(const QString &path)
{
    char *resolved = ::realpath(encoded(path).constData(), nullptr);
    if (!resolved)
        return std::nullopt;
    const QString result = QFile::decodeName(resolved);
    ::free(resolved);
    return result;
}

// The device of path, or of its nearest existing ancestor: where a folder made there would live.
std::optional<dev_t> deviceOfNearestExisting(QString path)
{
    for (;;) {
        struct stat st;
        if (::stat(encoded(path).constData(), &st) == 0)
            return st.st_dev;
        if (errno != ENOENT || path == QLatin1String("/"))
            return std::nullopt;
        path = parentOf(path);
    }
}

// The highest folder above (and including) folder that is still on device: its mount's top.
QString topDirOf(QString folder, dev_t device)
{
    while (folder != QLatin1String("/")) {
        const QString parent = parentOf(folder);
        struct stat st;
        if (::stat(encoded(parent).constData(), &st) != 0 || st.st_dev != device)
            break;
        folder = parent;
    }
    return folder;
}

// A folder made with 0700 when missing. On a shared file system (strict) it must be this
// user's own and not a link, so no one else can steer what goes into it; in the home trash an
// existing link to a folder is the user's own arrangement and is followed.
QString ensureTrashFolder(const QString &path, bool strict)
{
    const auto inspect = [&](struct stat *st) {
        return strict ? ::lstat(encoded(path).constData(), st)
                      : ::stat(encoded(path).constData(), st);
    };
    struct stat st;
    if (inspect(&st) != 0) {
        if (errno != ENOENT)
            return QStringLiteral("Cannot use the Trash folder %1: %2").arg(path, reasonFor(errno));
        if (::mkdir(encoded(path).constData(), 0700) != 0 && errno != EEXIST)
            return QStringLiteral("Could not create the Trash folder %1: %2")
                .arg(path, reasonFor(errno));
        if (inspect(&st) != 0)
            return QStringLiteral("Cannot use the Trash folder %1: %2").arg(path, reasonFor(errno));
    }
    if (!S_ISDIR(st.st_mode))
        return QStringLiteral("Cannot use the Trash folder %1: it is not a folder").arg(path);
    if (strict && st.st_uid != ::geteuid())
        return QStringLiteral("Cannot use the Trash folder %1: it belongs to another user")
            .arg(path);
    return {};
}

// Makes every missing folder of path (0700), following existing links as the user set them up.
QString ensureFolderPath(const QString &path)
{
    struct stat st;
    if (::stat(encoded(path).constData(), &st) == 0) {
        if (!S_ISDIR(st.st_mode))
            return QStringLiteral("Cannot use the Trash folder %1: it is not a folder").arg(path);
        return {};
    }
    if (errno != ENOENT)
        return QStringLiteral("Cannot use the Trash folder %1: %2").arg(path, reasonFor(errno));
    if (path != QLatin1String("/")) {
        const QString error = ensureFolderPath(parentOf(path));
        if (!error.isEmpty())
            return error;
    }
    if (::mkdir(encoded(path).constData(), 0700) != 0 && errno != EEXIST)
        return QStringLiteral("Could not create the Trash folder %1: %2")
            .arg(path, reasonFor(errno));
    return {};
}

// The name in files/ for the attempt-th try: the item's own name, then "name.2", "name.3", ...,
// shortened so that "<name>.trashinfo" still fits in one file-name component.
QString candidateName(const QString &name, int attempt)
{
    const QString suffix = attempt == 1 ? QString() : QStringLiteral(".%1").arg(attempt);
    static constexpr int kInfoSuffixLength = 10; // ".trashinfo"
    QString base = name;
    while (!base.isEmpty() && encoded(base + suffix).size() + kInfoSuffixLength > NAME_MAX) {
        base.chop(1);
        if (!base.isEmpty() && base.back().isHighSurrogate())
            base.chop(1);
    }
    return base + suffix;
}

QByteArray deletionDate()
{
    const time_t now = ::time(nullptr);
    struct tm local;
    ::localtime_r(&now, &local);
    char text[32];
    const size_t length = ::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    return QByteArray(text, static_cast<qsizetype>(length));
}

bool writeAll(int fd, const QByteArray &bytes)
{
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n =
            ::write(fd, bytes.constData() + written, static_cast<size_t>(bytes.size() - written));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        written += n;
    }
    return true;
}

} // namespace

QString Trash::homeTrashFolder() const
{
    return joined(m_dataHome, QStringLiteral("Trash"));
}

QString Trash::trashFolderForTopDir(const QString &topDir, QString *error)
{
    const QString uid = QString::number(::geteuid());
    // The administrator's shared folder counts only when sticky and not a link; otherwise
    // another user could have planted it.
    const QString shared = joined(topDir, QStringLiteral(".Trash"));
    struct stat st;
    if (::lstat(encoded(shared).constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
        (st.st_mode & S_ISVTX)) {
        const QString mine = joined(shared, uid);
        if (ensureTrashFolder(mine, true).isEmpty())
            return mine;
    }
    const QString own = joined(topDir, QStringLiteral(".Trash-") + uid);
    const QString failure = ensureTrashFolder(own, true);
    if (!failure.isEmpty()) {
        if (error)
            *error = failure;
        return {};
    }
    return own;
}

QString Trash::moveToTrash(const QString &path, const std::optional<FileIdentity> &expected,
                           TrashedItem *trashed, const ClaimCheck &claimed) const
{
    const QString refusal = refusalReason(path, m_home);
    if (!refusal.isEmpty())
        return refusal;

    // The item is reached through its folder's descriptor and never followed itself, so what is
    // checked below is what is moved, whatever happens to the path's text meanwhile.
    const QString cleaned = withoutTrailingSlashes(path);
    const QString name = cleaned.mid(cleaned.lastIndexOf(QLatin1Char('/')) + 1);
    const QByteArray nameBytes = encoded(name);
    const FileDescriptor parent(
        ::open(encoded(parentOf(cleaned)).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (parent.fd < 0)
        return reasonFor(errno);
    struct stat item;
    if (::fstatat(parent.fd, nameBytes.constData(), &item, AT_SYMLINK_NOFOLLOW) != 0)
        return reasonFor(errno);
    if (expected && identityOf(item) != *expected)
        return kChangedReason;
    struct stat folder;
    if (::fstat(parent.fd, &folder) != 0)
        return reasonFor(errno);
    if (item.st_dev != folder.st_dev)
        return QStringLiteral("A mount point cannot be moved to the Trash");

    // Judge the item by where it really is: its folder with every link resolved, the item
    // itself not (a link is moved, never its target).
    const std::optional<QString> realFolder = realPath(parentOf(cleaned));
    struct stat realFolderStat;
    if (!realFolder || ::stat(encoded(*realFolder).constData(), &realFolderStat) != 0 ||
        realFolderStat.st_dev != folder.st_dev || realFolderStat.st_ino != folder.st_ino)
        return kChangedReason;
    const QString itemPath = joined(*realFolder, name);

    const QString realHome = realPath(m_home).value_or(m_home);
    const QString homeRefusal = refusalReason(itemPath, realHome);
    if (!homeRefusal.isEmpty())
        return homeRefusal;
    struct stat home;
    if (::stat(encoded(m_home).constData(), &home) == 0 && home.st_dev == item.st_dev &&
        home.st_ino == item.st_ino)
        return refusalReason(m_home, m_home);

    // Which trash: the home trash for items on its file system, else their own file system's.
    QString trash;
    bool isHomeTrash = false;
    QString pathInInfo = itemPath;
    const QString homeTrash = homeTrashFolder();
    if (deviceOfNearestExisting(homeTrash) == folder.st_dev) {
        const QString error = ensureFolderPath(homeTrash);
        if (!error.isEmpty())
            return error;
        trash = homeTrash;
        isHomeTrash = true;
    } else {
        const QString topDir = topDirOf(*realFolder, folder.st_dev);
        QString error;
        trash = trashFolderForTopDir(topDir, &error);
        if (trash.isEmpty())
            return error;
        pathInInfo =
            topDir == QLatin1String("/") ? itemPath.mid(1) : itemPath.mid(topDir.size() + 1);
    }
    const QString realTrash = realPath(trash).value_or(trash);
    if (isSameOrInside(realTrash, itemPath))
        return QStringLiteral("Verlo never moves a folder that holds the Trash into the Trash");
    // Its own "files" and "info" folders, or an item already trashed: moving one would part
    // trashed items from their ".trashinfo" records.
    if (isSameOrInside(itemPath, realTrash))
        return QStringLiteral("It is already in the Trash");

    const QString filesFolder = joined(trash, QStringLiteral("files"));
    const QString infoFolder = joined(trash, QStringLiteral("info"));
    for (const QString &sub : {filesFolder, infoFolder}) {
        const QString error = ensureTrashFolder(sub, !isHomeTrash);
        if (!error.isEmpty())
            return error;
    }

    const QByteArray info = QByteArrayLiteral("[Trash Info]\nPath=") +
                            QUrl::toPercentEncoding(encoded(pathInInfo), QByteArrayLiteral("/")) +
                            QByteArrayLiteral("\nDeletionDate=") + deletionDate() +
                            QByteArrayLiteral("\n");

    static constexpr int kMaxAttempts = 100000;
    for (int attempt = 1; attempt <= kMaxAttempts; ++attempt) {
        const QString trashName = candidateName(name, attempt);
        const QString infoPath = joined(infoFolder, trashName + QStringLiteral(".trashinfo"));
        // The exclusive create claims the name; whoever made it first owns it.
        const int fd = ::open(encoded(infoPath).constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return QStringLiteral("Could not write to the Trash folder %1: %2")
                .arg(infoFolder, reasonFor(errno));
        }
        const bool written = writeAll(fd, info);
        const int writeError = errno;
        if (::close(fd) != 0 || !written) {
            const int error = written ? errno : writeError;
            ::unlink(encoded(infoPath).constData());
            return QStringLiteral("Could not write to the Trash folder %1: %2")
                .arg(infoFolder, reasonFor(error));
        }

        const TrashedItem claim{trash, trashName, itemPath, identityOf(item)};
        if (claimed) {
            const QString refusal = claimed(claim);
            if (!refusal.isEmpty()) {
                ::unlink(encoded(infoPath).constData());
                return refusal;
            }
        }

        const QString place = joined(filesFolder, trashName);
        const QByteArray target = encoded(place);
        if (renameWithoutReplacing(parent.fd, nameBytes, AT_FDCWD, target) == 0) {
            // Swapped between the check and the move: put back what was taken, and say so.
            struct stat moved;
            const bool known = ::lstat(target.constData(), &moved) == 0;
            if (known && identityOf(moved) == claim.identity) {
                if (trashed)
                    *trashed = claim;
                return {};
            }
            if (renameWithoutReplacing(AT_FDCWD, target, parent.fd, nameBytes) == 0) {
                ::unlink(encoded(infoPath).constData());
                return kChangedReason;
            }
            // It stays in the Trash with its record; Put Back can return it.
            const int error = errno;
            if (trashed)
                *trashed = TrashedItem{trash, trashName, itemPath,
                                       known ? identityOf(moved) : FileIdentity()};
            return swappedIntoTrashReason(place, reasonFor(error));
        }
        const int error = errno;
        ::unlink(encoded(infoPath).constData());
        if (error == EEXIST)
            continue; // a leftover in files/ without its info: take the next name
        if (error == EXDEV)
            return QStringLiteral("It lies on another file system than its Trash folder %1; "
                                  "Verlo does not copy items into the Trash")
                .arg(trash);
        return QStringLiteral("Could not move it into the Trash folder %1: %2")
            .arg(filesFolder, reasonFor(error));
    }
    return QStringLiteral("No free name is left in the Trash folder %1").arg(filesFolder);
}
