#pragma once

#include <QtQml/qqmlregistration.h>

#include "model/AssociatedFile.h"

#include <QAbstractListModel>
#include <QList>
#include <QSet>

// The files of one found group for QML, one row per file. Roles: fileId (QString UUID), name,
// path, size (qint64), sizeText, isSelected, isDirectory, isPackageFile (removed by its package
// manager), unremovableReason, alsoUsedBy (the other rows that list the file too, "" when none),
// lastModifiedText (medium date of the last change, "" when not
// known), canOpen (a large folder: opens to its own largest entries), and file (all of these as
// one map, what a row view takes).
// updateFiles takes the same files with new ticks and announces each changed row alone, so a
// row keeps its keyboard focus and animates when it is ticked.
class FileListModel : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The view model owns it")
    Q_PROPERTY(int count READ count CONSTANT)

public:
    enum Role
    {
        FileIdRole = Qt::UserRole + 1,
        NameRole,
        PathRole,
        SizeRole,
        SizeTextRole,
        IsSelectedRole,
        IsDirectoryRole,
        IsPackageFileRole,
        UnremovableReasonRole,
        AlsoUsedByRole,
        LastModifiedTextRole,
        CanOpenRole,
        FileRole,
    };

    FileListModel(const QList<AssociatedFile> &files, const QSet<QString> &directoryPaths,
                  QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    int count() const { return int(m_files.size()); }
    // The same files (by id, same order) with new ticks; false (and nothing changed) otherwise.
    bool updateFiles(const QList<AssociatedFile> &files);

private:
    QList<AssociatedFile> m_files;
    QSet<QString> m_directoryPaths;
};
