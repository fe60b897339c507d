#pragma once

#include <QObject>
#include <QString>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

// What the window asks of the desktop: opening the user's Trash in the file manager.
class Desktop : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    using QObject::QObject;

    // Opens trashFolderUrl() with the desktop's file manager; false when nothing handled it.
    Q_INVOKABLE bool openTrash() const;

    // The folder that holds the current user's trashed items: ~/.Trash on macOS; on Linux the
    // home trash's "files" folder ($XDG_DATA_HOME/Trash, else ~/.local/share/Trash), falling
    // back to the trash folder itself and then to "trash:///" while nothing was ever trashed.
    static QUrl trashFolderUrl();
};
