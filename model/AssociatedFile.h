#pragma once

#include "model/FileCategory.h"
#include "model/RecordId.h"

#include <QDateTime>
#include <QHash>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QUuid>

// What a found item was on disk when it was listed (device, inode and file type). A move acts
// only on an item that is still the same one; an identity that was never recorded is invalid.
struct FileIdentity
{
    quint64 device = 0;
    quint64 inode = 0;
    quint32 type = 0; // the S_IFMT bits of its mode

    bool isValid() const { return type != 0; }
    friend bool operator==(const FileIdentity &, const FileIdentity &) = default;
};

// One found file or folder that may be removed. Equal by path alone.
struct AssociatedFile
{
    QUuid id = newRecordId();
    QString path;
    QString name; // usually the last path component; a label for some system data entries
    FileCategory category = FileCategory::caches;
    qint64 size = 0;
    bool isSelected = false;
    FileIdentity identity;
    // Why this item can be shown but never ticked nor moved (a name that cannot be told apart
    // from another one's); empty for an ordinary item.
    QString unremovableReason;
    // The command that removes this item in place of the Trash: the tool's absolute path, then
    // its arguments ("/home/me/.cargo/bin/rustup", "toolchain", "uninstall", "nightly"). Empty
    // for an item that goes to the Trash.
    QStringList removalCommand;
    // When anything in it last changed, where the finder knows (the largest folders of the
    // home); invalid otherwise.
    QDateTime lastModified;
    // The other rows that list this item as much as this one does (two entries of one package),
    // for the note "Also used by ..."; such an item is ticked only by itself, never along with
    // its row. Empty for an item of this row alone.
    QString alsoUsedBy;

    AssociatedFile() = default;
    AssociatedFile(QString path, QString name, FileCategory category, qint64 size,
                   bool isSelected = false);

    bool isRemovable() const { return unremovableReason.isEmpty(); }
    bool isRemovedByCommand() const { return !removalCommand.isEmpty(); }
    // The removal command as a user would type it: the tool's name, then the arguments, those
    // with spaces quoted ("rustup toolchain uninstall nightly"); empty without one.
    QString removalCommandText() const;

    // "/dev/null", empty name, caches, 0 bytes: what a row shows for a file that is gone.
    static const AssociatedFile &placeholder();

    friend bool operator==(const AssociatedFile &a, const AssociatedFile &b)
    {
        return a.path == b.path;
    }
};

inline size_t qHash(const AssociatedFile &file, size_t seed = 0)
{
    return qHash(file.path, seed);
}

Q_DECLARE_METATYPE(AssociatedFile)
