#include "model/AssociatedFile.h"

AssociatedFile::AssociatedFile(QString path, QString name, FileCategory category, qint64 size,
                               bool isSelected)
    : path(std::move(path)), name(std::move(name)), category(category), size(size),
      isSelected(isSelected)
{}

const AssociatedFile &AssociatedFile::placeholder()
{
    static const AssociatedFile value(QStringLiteral("/dev/null"), QString(), FileCategory::caches,
                                      0, false);
    return value;
}
