#pragma once

#include "model/AssociatedFile.h"
#include "model/RecordId.h"

#include <QList>
#include <QMetaType>
#include <QUuid>

// The found files of one category.
struct FileGroup
{
    QUuid id = newRecordId();
    FileCategory category = FileCategory::caches;
    QList<AssociatedFile> files;

    FileGroup() = default;
    FileGroup(FileCategory category, QList<AssociatedFile> files);

    qint64 totalSize() const;      // every file, selected or not
    QString formattedSize() const; // byte-size text of totalSize()
    int selectedCount() const;
    int removableCount() const;  // the files that can be ticked
    qint64 selectedSize() const; // 0 when nothing is selected
};

Q_DECLARE_METATYPE(FileGroup)
