#include "ui/SymbolImageProvider.h"

#include "ui/SymbolTable.h"

#include <QMutex>
#include <QPainter>
#include <QSet>
#include <QSvgRenderer>

namespace {

constexpr int kDefaultSize = 32;

// Images are requested from the loader threads too.
QMutex unknownMutex;
QSet<QString> unknownSeen;

void noteUnknown(const QString &name)
{
    const QMutexLocker locker(&unknownMutex);
    unknownSeen.insert(name);
}

} // namespace

SymbolImageProvider::SymbolImageProvider() : QQuickImageProvider(QQuickImageProvider::Image) {}

QImage SymbolImageProvider::requestImage(const QString &id, QSize *size, const QSize &requestedSize)
{
    const qsizetype slash = id.indexOf(QLatin1Char('/'));
    QColor color(Qt::black);
    QString name = id;
    if (slash > 0) {
        const QColor parsed(QLatin1Char('#') + id.left(slash));
        if (parsed.isValid())
            color = parsed;
        name = id.mid(slash + 1);
    }
    QSize target = requestedSize;
    if (target.width() <= 0 && target.height() <= 0)
        target = QSize(kDefaultSize, kDefaultSize);
    else if (target.width() <= 0)
        target.setWidth(target.height());
    else if (target.height() <= 0)
        target.setHeight(target.width());

    const QImage image = render(name, color, target);
    if (size)
        *size = image.size();
    return image;
}

QImage SymbolImageProvider::render(const QString &name, const QColor &color, const QSize &size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const QString file = SymbolTable::filePath(name);
    if (file.isEmpty()) {
        noteUnknown(name);
        return image;
    }
    QSvgRenderer renderer(file);
    if (!renderer.isValid())
        return image;

    QSizeF drawn = renderer.defaultSize();
    drawn.scale(size, Qt::KeepAspectRatio);
    const QRectF box((size.width() - drawn.width()) / 2.0, (size.height() - drawn.height()) / 2.0,
                     drawn.width(), drawn.height());
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, box);
    // The set draws in "currentColor"; whatever it drew becomes the requested colour.
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(image.rect(), color);
    painter.end();
    return image;
}

QStringList SymbolImageProvider::unknownNames()
{
    const QMutexLocker locker(&unknownMutex);
    QStringList names(unknownSeen.cbegin(), unknownSeen.cend());
    names.sort();
    return names;
}
