#pragma once

#include <QImage>
#include <QQuickImageProvider>
#include <QSize>
#include <QString>

// Draws the icons of installed items: "image://item/image/<path>" reads an image file (a
// bundle's .icns, through Qt's image plugins) and falls back to the generic application icon
// when it cannot be read; "image://item/workspace/<path>" draws a folder or a document icon for
// whatever lies at path; "image://item/generic" is the generic application icon. Paths travel
// base64url-encoded (see Icons::itemUrl), so spaces, "#", "?" and "%" in them survive the URL.
class ItemIconProvider : public QQuickImageProvider
{
public:
    ItemIconProvider();

    QImage requestImage(const QString &id, QSize *size, const QSize &requestedSize) override;

    // The largest picture of the file scaled into size; a null image when unreadable.
    static QImage readImageFile(const QString &path, const QSize &size);
    // A rounded tile with the application symbol, for bundles without a readable icon.
    static QImage genericApplicationIcon(const QSize &size);
    // A folder for folders, a document for anything else (including nothing at all).
    static QImage workspaceIcon(const QString &path, const QSize &size);
};
