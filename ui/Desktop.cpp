#include "ui/Desktop.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

bool Desktop::openTrash() const
{
    return QDesktopServices::openUrl(trashFolderUrl());
}

QUrl Desktop::trashFolderUrl()
{
#ifdef Q_OS_MACOS
    return QUrl::fromLocalFile(QDir::homePath() + QStringLiteral("/.Trash"));
#else
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty() || !QDir::isAbsolutePath(dataHome))
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    const QString trash = dataHome + QStringLiteral("/Trash");
    if (QFileInfo(trash + QStringLiteral("/files")).isDir())
        return QUrl::fromLocalFile(trash + QStringLiteral("/files"));
    if (QFileInfo(trash).isDir())
        return QUrl::fromLocalFile(trash);
    return QUrl(QStringLiteral("trash:///"));
#endif
}
