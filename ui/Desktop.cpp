#include "ui/Desktop.h"

#include "scanner/Trash.h"

#include <QDesktopServices>
#include <QFileInfo>

bool Desktop::openTrash() const
{
    return QDesktopServices::openUrl(trashFolderUrl(m_places));
}

QUrl Desktop::trashFolderUrl(const Places &places)
{
    const QString trash = Trash(places).homeTrashFolder();
    if (QFileInfo(trash + QStringLiteral("/files")).isDir())
        return QUrl::fromLocalFile(trash + QStringLiteral("/files"));
    if (QFileInfo(trash).isDir())
        return QUrl::fromLocalFile(trash);
    return QUrl(QStringLiteral("trash:///"));
}
