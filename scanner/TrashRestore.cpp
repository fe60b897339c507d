// Reading the Trash's records, and the steps of Put Back every platform shares.
#include "scanner/TrashRestore.h"

#include "scanner/PosixFiles.h"
#include "scanner/TrashPaths.h"
#include "scanner/TrashRestoreSteps.h"

#include <QCoreApplication>
#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>

using namespace TrashPaths;

namespace {

// A record is a few lines; anything bigger is not one of ours.
constexpr qint64 kMaxRecordSize = 64 * 1024;

QString parentOf(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash <= 0 ? QStringLiteral("/") : path.left(slash);
}

QString nameOf(const QString &path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

// Every %XX must be two hexadecimal digits; nothing for any other use of "%".
std::optional<QByteArray> percentDecoded(const QByteArray &text)
{
    QByteArray out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size() || !isxdigit(uchar(text[i + 1])) || !isxdigit(uchar(text[i + 2])))
            return std::nullopt;
        out += char(text.mid(i + 1, 2).toInt(nullptr, 16));
        i += 2;
    }
    return out;
}

// The top folder of the file system whose Trash trashFolder is: <topdir>/.Trash-<uid> or
// <topdir>/.Trash/<uid> of this user; nothing for any other folder.
std::optional<QString> topDirOfTrash(const QString &trashFolder)
{
    const QString uid = QString::number(::geteuid());
    const QString parent = parentOf(trashFolder);
    if (nameOf(trashFolder) == QStringLiteral(".Trash-") + uid)
        return parent;
    if (nameOf(trashFolder) == uid && nameOf(parent) == u".Trash" && parent != u"/")
        return parentOf(parent);
    return std::nullopt;
}

// The Path= value of the "[Trash Info]" group, still encoded; empty with *error set when the
// record does not begin with that group or does not hold exactly one Path= in it.
QByteArray pathValue(const QByteArray &info, QString *error)
{
    bool inGroup = false;
    std::optional<QByteArray> path;
    for (const QByteArray &rawLine : info.split('\n')) {
        const QByteArray line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        if (!inGroup) {
            if (line != "[Trash Info]") {
                *error = QCoreApplication::translate("TrashRestore",
                                                     "it does not begin with [Trash Info]");
                return {};
            }
            inGroup = true;
            continue;
        }
        if (line.startsWith('['))
            break;
        const qsizetype equals = line.indexOf('=');
        if (equals <= 0) {
            *error =
                QCoreApplication::translate("TrashRestore", "it holds a line that is no entry");
            return {};
        }
        if (line.left(equals).trimmed() != "Path")
            continue;
        if (path) {
            *error = QCoreApplication::translate("TrashRestore", "it has two Path= lines");
            return {};
        }
        path = line.mid(equals + 1).trimmed();
    }
    if (!inGroup) {
        *error = QCoreApplication::translate("TrashRestore", "it does not begin with [Trash Info]");
        return {};
    }
    if (!path || path->isEmpty()) {
        *error = QCoreApplication::translate("TrashRestore", "it has no Path=");
        return {};
    }
    return *path;
}

// Makes every missing folder of folder (0700), following existing links as the user set them up.
QString makeMissingFolders(const QString &folder)
{
    struct stat st;
    if (::stat(encoded(folder).constData(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return {};
        return QCoreApplication::translate("TrashRestore", "%1 is not a folder").arg(folder);
    }
    if (errno != ENOENT)
        return folder + QStringLiteral(": ") + qt_error_string(errno);
    const QString error = makeMissingFolders(parentOf(folder));
    if (!error.isEmpty())
        return error;
    if (::mkdir(encoded(folder).constData(), 0700) != 0 && errno != EEXIST)
        return QCoreApplication::translate("TrashRestore", "Could not create the folder %1: %2")
            .arg(folder, qt_error_string(errno));
    return {};
}

} // namespace

namespace TrashRestore {

QString originalPath(const QByteArray &info, const QString &trashFolder, bool isHomeTrash,
                     QString *error)
{
    const QByteArray value = pathValue(info, error);
    if (value.isEmpty())
        return {};
    const std::optional<QByteArray> bytes = percentDecoded(value);
    if (!bytes) {
        *error =
            QCoreApplication::translate("TrashRestore", "its Path= has invalid percent-encoding");
        return {};
    }
    QString path = QFile::decodeName(*bytes);
    if (bytes->contains('\0') || path.contains(QChar(QChar::ReplacementCharacter))) {
        *error = QCoreApplication::translate("TrashRestore", "its Path= is not exact text");
        return {};
    }
    const std::optional<QString> topDir = topDirOfTrash(withoutTrailingSlashes(trashFolder));
    if (isHomeTrash && !path.startsWith(u'/')) {
        *error = QCoreApplication::translate("TrashRestore",
                                             "its Path= is relative, but the home Trash records "
                                             "absolute paths");
        return {};
    }
    if (!isHomeTrash) {
        if (!topDir) {
            *error =
                QCoreApplication::translate("TrashRestore", "%1 is not a Trash folder of this user")
                    .arg(trashFolder);
            return {};
        }
        if (!path.startsWith(u'/'))
            path = (*topDir == u"/" ? QString() : *topDir) + u'/' + path;
        else if (!isSameOrInside(path, *topDir)) {
            *error = QCoreApplication::translate("TrashRestore",
                                                 "its Path= lies outside the file system of its "
                                                 "Trash");
            return {};
        }
    }
    if (!isPlainAbsolutePath(path)) {
        *error = QCoreApplication::translate("TrashRestore",
                                             "its Path= \"%1\" is not a plain path (empty, "
                                             "\".\" or \"..\" parts)")
                     .arg(path);
        return {};
    }
    return path;
}

// One name inside a folder: not empty, no "/", not "." or "..".
bool isPlainName(const QString &name)
{
    return !name.isEmpty() && !name.contains(u'/') && name != u"." && name != u".." &&
           !name.contains(QChar(0));
}

// Absolute, without empty, "." or ".." components.
bool isPlainAbsolutePath(const QString &path)
{
    if (!path.startsWith(u'/'))
        return false;
    const QStringList parts = path.mid(1).split(u'/');
    return std::all_of(parts.cbegin(), parts.cend(), isPlainName);
}

QString checkTrashedItem(const TrashedItem &item, QString *trash)
{
    if (!isPlainName(item.name))
        return QCoreApplication::translate("TrashRestore",
                                           "\"%1\" is not the name of an item in the Trash")
            .arg(item.name);
    *trash = TrashPaths::withoutTrailingSlashes(item.trashFolder);
    if (!trash->startsWith(u'/'))
        return QCoreApplication::translate("TrashRestore", "%1 is not a Trash folder").arg(*trash);
    return {};
}

QString infoPathOf(const QString &trash, const QString &name)
{
    return trash + QStringLiteral("/info/") + name + QStringLiteral(".trashinfo");
}

// The record's bytes, read without following a link; nothing with *error set otherwise.
std::optional<QByteArray> readRecord(const QString &infoPath, QString *error)
{
    const FileDescriptor file(
        ::open(encoded(infoPath).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
    struct stat st;
    if (file.fd < 0 || ::fstat(file.fd, &st) != 0) {
        *error = errno == ENOENT ? QCoreApplication::translate(
                                       "TrashRestore", "Its record %1 is missing from the Trash")
                                       .arg(infoPath)
                                 : infoPath + QStringLiteral(": ") + qt_error_string(errno);
        return std::nullopt;
    }
    if (!S_ISREG(st.st_mode) || st.st_size > kMaxRecordSize) {
        *error = QCoreApplication::translate("TrashRestore", "Its record %1 is not a small file")
                     .arg(infoPath);
        return std::nullopt;
    }
    QByteArray bytes(qsizetype(st.st_size), '\0');
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(file.fd, bytes.data() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    bytes.truncate(done);
    return bytes;
}

QString moveBack(const QString &from, const QString &original, const QString &trash,
                 const FileIdentity &identity)
{
    if (isSameOrInside(original, trash) || isSameOrInside(trash, original))
        return QCoreApplication::translate("TrashRestore",
                                           "Its record points into the Trash itself (%1)")
            .arg(original);
    struct stat st;
    if (::lstat(encoded(from).constData(), &st) != 0)
        return QCoreApplication::translate("TrashRestore", "%1 is no longer in the Trash (%2)")
            .arg(from, qt_error_string(errno));
    if (identity.isValid() && identityOf(st) != identity)
        return QCoreApplication::translate("TrashRestore",
                                           "%1 is no longer the item that was moved there; "
                                           "nothing was moved")
            .arg(from);

    const QString folderError = makeMissingFolders(parentOf(original));
    if (!folderError.isEmpty())
        return folderError;
    if (renameWithoutReplacing(AT_FDCWD, encoded(from), AT_FDCWD, encoded(original)) != 0) {
        if (errno == EEXIST || errno == ENOTEMPTY)
            return QCoreApplication::translate("TrashRestore",
                                               "Its original place %1 is taken; nothing was "
                                               "overwritten")
                .arg(original);
        if (errno == EXDEV)
            return QCoreApplication::translate("TrashRestore",
                                               "Its original place %1 is on another file system "
                                               "than the Trash")
                .arg(original);
        return QCoreApplication::translate("TrashRestore", "Could not move it back to %1: %2")
            .arg(original, qt_error_string(errno));
    }
    return {};
}

} // namespace TrashRestore
