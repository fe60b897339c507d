#include "model/FileGroup.h"

#include "model/ByteCountFormat.h"

FileGroup::FileGroup(FileCategory category, QList<AssociatedFile> files)
    : category(category), files(std::move(files))
{}

qint64 FileGroup::totalSize() const
{
    qint64 total = 0;
    for (const AssociatedFile &file : files)
        total += file.size;
    return total;
}

QString FileGroup::formattedSize() const
{
    return formatByteCount(totalSize());
}

int FileGroup::selectedCount() const
{
    int count = 0;
    for (const AssociatedFile &file : files)
        count += file.isSelected ? 1 : 0;
    return count;
}

int FileGroup::removableCount() const
{
    int count = 0;
    for (const AssociatedFile &file : files)
        count += file.isRemovable() ? 1 : 0;
    return count;
}

qint64 FileGroup::selectedSize() const
{
    qint64 total = 0;
    for (const AssociatedFile &file : files) {
        if (file.isSelected)
            total += file.size;
    }
    return total;
}
