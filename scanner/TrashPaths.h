#pragma once

// Small helpers shared by the Trash's common rules and its platform parts.

#include "model/AssociatedFile.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <sys/stat.h>

namespace TrashPaths {

inline QByteArray encoded(const QString &path)
{
    return QFile::encodeName(path);
}

inline QString reasonFor(int error)
{
    return qt_error_string(error);
}

inline QString withoutTrailingSlashes(QString path)
{
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

inline QString joined(const QString &folder, const QString &name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

inline bool isSameOrInside(const QString &path, const QString &folder)
{
    if (path == folder || folder == QLatin1String("/"))
        return true;
    return path.startsWith(folder + QLatin1Char('/'));
}

inline FileIdentity identityOf(const struct stat &st)
{
    return FileIdentity{static_cast<quint64>(st.st_dev), static_cast<quint64>(st.st_ino),
                        static_cast<quint32>(st.st_mode & S_IFMT)};
}

} // namespace TrashPaths
