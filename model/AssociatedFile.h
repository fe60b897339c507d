#pragma once

#include "model/FileCategory.h"

#include <QHash>
#include <QMetaType>
#include <QString>
#include <QUuid>

class FileManager;

// One found file or folder that may be removed. Equal by path alone.
struct AssociatedFile
{
    QUuid id = QUuid::createUuid();
    QString path;
    QString name; // usually the last path component; a label for some system data entries
    FileCategory category = FileCategory::caches;
    qint64 size = 0;
    bool isSelected = false;

    AssociatedFile() = default;
    AssociatedFile(QString path, QString name, FileCategory category, qint64 size,
                   bool isSelected = false);

    // True exactly when something exists at path and it is a folder (links judged by target).
    bool isDirectory(const FileManager &fileManager) const;

    // "/dev/null", empty name, caches, 0 bytes: what a row shows for a file that is gone.
    static const AssociatedFile &placeholder();

    friend bool operator==(const AssociatedFile &a, const AssociatedFile &b)
    {
        return a.path == b.path;
    }
};

inline size_t qHash(const AssociatedFile &file, size_t seed = 0) { return qHash(file.path, seed); }

Q_DECLARE_METATYPE(AssociatedFile)
