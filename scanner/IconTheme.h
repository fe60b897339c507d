#pragma once

#include "model/ItemIcon.h"

#include <QString>
#include <QStringList>

class FileManager;
class Places;

// Finds the image file of a desktop entry's Icon value: an absolute path to an image, or a name
// looked up in the hicolor theme and the pixmaps folders of the data folders ($XDG_DATA_HOME,
// ~/.icons, $XDG_DATA_DIRS, the Flatpak exports), first folder first. Within one theme folder a
// scalable image wins, then the largest PNG. A small lookup of Verlo's own, not a whole theme
// engine: other themes and their inheritance are not followed.
class IconTheme
{
public:
    IconTheme(const Places &places, const FileManager &fileManager);

    // The icon, or the generic application symbol when nothing usable is found. Only regular
    // files with an image extension (png, svg, svgz, xpm, jpg) count; a name that could leave
    // its folder finds nothing.
    ItemIcon iconFor(const QString &iconValue) const;
    // The image file, or an empty string.
    QString findIconFile(const QString &iconValue) const;

    // The folders searched, in order (each holds "hicolor/..." or image files directly).
    const QStringList &themeFolders() const { return m_themeFolders; }

private:
    bool isUsableImage(const QString &path) const;

    const Places &m_places;
    const FileManager &m_fileManager;
    QStringList m_themeFolders;  // .../icons
    QStringList m_pixmapFolders; // .../pixmaps
};
