#include "viewmodel/RemovalRecord.h"

#include "scanner/FileScanner.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QSet>
#include <QSettings>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

namespace {

// The first line; a file that does not begin with it holds no record.
const QByteArray kHeader = QByteArrayLiteral("Verlo last removal 1\n");
const QByteArray kClaimed = QByteArrayLiteral("claimed");
const QByteArray kTrashed = QByteArrayLiteral("trashed");

struct Entry
{
    QByteArray state; // kClaimed or kTrashed
    TrashedItem item;
};

// Beside the settings file and named after it (~/.config/Verlo/Verlo.last-removal).
QString recordPath()
{
    const QFileInfo settings(QSettings().fileName());
    return settings.absolutePath() + u'/' + settings.completeBaseName() +
           QStringLiteral(".last-removal");
}

QString failure(const QString &path, int error)
{
    return QCoreApplication::translate("PutBack",
                                       "Could not keep the record of this removal in %1: %2")
        .arg(path, qt_error_string(error));
}

// One line per step: state, trash folder, name, original path (percent-encoded, so that no tab
// or line feed of a name can split it), device, inode and type.
QByteArray lineOf(const QByteArray &state, const TrashedItem &item)
{
    const auto field = [](const QString &text) {
        return QFile::encodeName(text).toPercentEncoding("/");
    };
    return state + '\t' + field(item.trashFolder) + '\t' + field(item.name) + '\t' +
           field(item.originalPath) + '\t' + QByteArray::number(item.identity.device) + '\t' +
           QByteArray::number(item.identity.inode) + '\t' + QByteArray::number(item.identity.type) +
           '\n';
}

std::optional<Entry> entryOf(const QByteArray &line)
{
    const QList<QByteArray> parts = line.split('\t');
    if (parts.size() != 7 || (parts[0] != kClaimed && parts[0] != kTrashed))
        return std::nullopt;
    const auto text = [](const QByteArray &field) {
        return QFile::decodeName(QByteArray::fromPercentEncoding(field));
    };
    bool deviceOk = false, inodeOk = false, typeOk = false;
    const FileIdentity identity{parts[4].toULongLong(&deviceOk), parts[5].toULongLong(&inodeOk),
                                parts[6].toUInt(&typeOk)};
    if (!deviceOk || !inodeOk || !typeOk)
        return std::nullopt;
    return Entry{parts[0], {text(parts[1]), text(parts[2]), text(parts[3]), identity}};
}

// One entry per item, in the order first named, as its latest complete line says.
QList<Entry> read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    if (!bytes.startsWith(kHeader))
        return {};
    QList<Entry> entries;
    QHash<std::pair<QString, QString>, qsizetype> index;
    for (qsizetype at = kHeader.size(), end; (end = bytes.indexOf('\n', at)) >= 0; at = end + 1) {
        const std::optional<Entry> entry = entryOf(bytes.mid(at, end - at));
        if (!entry)
            continue;
        const auto key = std::pair(entry->item.trashFolder, entry->item.name);
        if (const auto found = index.constFind(key); found != index.cend()) {
            entries[*found] = *entry;
        } else {
            index.insert(key, entries.size());
            entries.append(*entry);
        }
    }
    return entries;
}

// Replaces the record in one step, so that a crash leaves the old one or the new one.
void rewrite(const QString &path, const QList<Entry> &entries)
{
    QByteArray bytes = kHeader;
    for (const Entry &entry : entries)
        bytes += lineOf(entry.state, entry.item);
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size())
        file.commit();
}

// The lock on the file beside the record, or -1 (errno set) when it is not had; without wait,
// also when someone else holds it.
int lock(const QString &path, bool wait)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const int fd = ::open(QFile::encodeName(path + QStringLiteral(".lock")).constData(),
                          O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return -1;
    int result;
    do
        result = ::flock(fd, wait ? LOCK_EX : LOCK_EX | LOCK_NB);
    while (result != 0 && errno == EINTR);
    if (result != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

void settleClaims(const FileScanner &scanner, const QString &path)
{
    QList<Entry> entries = read(path);
    bool changed = false;
    for (qsizetype i = entries.size() - 1; i >= 0; --i) {
        if (entries[i].state != kClaimed)
            continue;
        changed = true;
        if (scanner.fileManager().settleTrashClaim(entries[i].item, scanner.places()))
            entries[i].state = kTrashed;
        else
            entries.removeAt(i);
    }
    if (changed)
        rewrite(path, entries);
}

bool writeAll(int fd, const QByteArray &bytes)
{
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + written, size_t(bytes.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        written += n;
    }
    return true;
}

} // namespace

RemovalRecord::~RemovalRecord()
{
    if (m_file >= 0)
        ::close(m_file);
    if (m_lock >= 0)
        ::close(m_lock); // lets the next removal in
}

QString RemovalRecord::start(const FileScanner &scanner)
{
    m_path = recordPath();
    m_lock = lock(m_path, true);
    if (m_lock < 0)
        return failure(m_path, errno);
    settleClaims(scanner, m_path);
    m_file = ::open(QFile::encodeName(m_path).constData(),
                    O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0600);
    if (m_file < 0)
        return failure(m_path, errno);
    m_size = 0;
    return append(kHeader);
}

QString RemovalRecord::addClaimed(const TrashedItem &item)
{
    return append(lineOf(kClaimed, item));
}

void RemovalRecord::addTrashed(const TrashedItem &item)
{
    // Should this line be lost, the claim found in the Trash at the next start counts instead.
    append(lineOf(kTrashed, item));
}

QString RemovalRecord::append(const QByteArray &line)
{
    if (m_file < 0)
        return failure(m_path, EBADF);
    if (writeAll(m_file, line)) {
        m_size += line.size();
        return {};
    }
    const int error = errno;
    // A line cut short is taken back, so that the next one starts on a line of its own.
    if (::ftruncate(m_file, m_size) != 0) {
        ::close(m_file);
        m_file = -1;
    }
    return failure(m_path, error);
}

QList<TrashedItem> RemovalRecord::lastRemoval()
{
    QList<TrashedItem> items;
    for (const Entry &entry : read(recordPath())) {
        if (entry.state == kTrashed)
            items.append(entry.item);
    }
    return items;
}

void RemovalRecord::forget(const QList<TrashedItem> &items)
{
    if (items.isEmpty())
        return;
    const QString path = recordPath();
    const int held = lock(path, true);
    QList<Entry> entries = read(path);
    const qsizetype before = entries.size();
    QSet<std::pair<QString, QString>> gone;
    for (const TrashedItem &item : items)
        gone.insert({item.trashFolder, item.name});
    entries.removeIf([&gone](const Entry &entry) {
        return gone.contains({entry.item.trashFolder, entry.item.name});
    });
    if (entries.size() != before)
        rewrite(path, entries);
    if (held >= 0)
        ::close(held);
}

void RemovalRecord::settle(const FileScanner &scanner)
{
    const QString path = recordPath();
    const int held = lock(path, false);
    if (held < 0)
        return;
    settleClaims(scanner, path);
    ::close(held);
}
