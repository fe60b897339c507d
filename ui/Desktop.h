#pragma once

#include "scanner/Places.h"

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

    // The machine whose Trash is opened; the real one until set.
    void setPlaces(const Places &places) { m_places = places; }

    // Opens trashFolderUrl() with the desktop's file manager; false when nothing handled it.
    Q_INVOKABLE bool openTrash() const;

    // The folder that holds the trashed items of the user of places: the home trash's "files"
    // folder where it has one (the freedesktop.org Trash, Trash::homeTrashFolder), else the
    // home trash itself (~/.Trash on macOS), else "trash:///" while nothing was ever trashed.
    static QUrl trashFolderUrl(const Places &places);

private:
    Places m_places;
};
