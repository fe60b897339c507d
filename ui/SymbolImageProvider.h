#pragma once

#include <QColor>
#include <QImage>
#include <QQuickImageProvider>
#include <QSize>
#include <QString>
#include <QStringList>

// Draws a named symbol tinted in one colour: "image://symbol/<aarrggbb>/<name>". The colour is
// hexadecimal without "#" (a "#" would start a URL fragment). An unknown name draws nothing.
class SymbolImageProvider : public QQuickImageProvider
{
public:
    SymbolImageProvider();

    QImage requestImage(const QString &id, QSize *size, const QSize &requestedSize) override;

    // The symbol's SVG rendered into a square of the given size, centred and aspect-kept, every
    // drawn pixel in color. A transparent image when the name is unknown.
    static QImage render(const QString &name, const QColor &color, const QSize &size);

    // Every unknown symbol name asked for since the program started, sorted: a name the table
    // lacks shows as an empty square, so tests make sure the window asks for none.
    static QStringList unknownNames();
};
