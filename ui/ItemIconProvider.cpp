#include "ui/ItemIconProvider.h"

#include "ui/SymbolImageProvider.h"

#include <QFileInfo>
#include <QImageReader>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int kDefaultSize = 64;
// Whatever an image file claims, nothing larger than this is decoded.
constexpr int kMaxDecodedSide = 1024;

QSize normalized(QSize size)
{
    if (size.width() <= 0 && size.height() <= 0)
        return QSize(kDefaultSize, kDefaultSize);
    if (size.width() <= 0)
        size.setWidth(size.height());
    if (size.height() <= 0)
        size.setHeight(size.width());
    return size;
}

QImage centred(const QImage &picture, const QSize &size)
{
    QImage canvas(size, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    const QImage scaled = picture.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPainter painter(&canvas);
    painter.drawImage((size.width() - scaled.width()) / 2, (size.height() - scaled.height()) / 2,
                      scaled);
    return canvas;
}

} // namespace

ItemIconProvider::ItemIconProvider() : QQuickImageProvider(QQuickImageProvider::Image) {}

QImage ItemIconProvider::requestImage(const QString &id, QSize *size, const QSize &requestedSize)
{
    const QSize target = normalized(requestedSize);
    const qsizetype slash = id.indexOf(QLatin1Char('/'));
    const QString kind = slash < 0 ? id : id.left(slash);
    const QString path = slash < 0
                             ? QString()
                             : QString::fromUtf8(QByteArray::fromBase64(
                                   id.mid(slash + 1).toLatin1(),
                                   QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
    QImage image;
    if (kind == QLatin1String("workspace")) {
        image = workspaceIcon(path, target);
    } else if (kind == QLatin1String("generic")) {
        image = genericApplicationIcon(target);
    } else {
        image = path.isEmpty() ? QImage() : readImageFile(path, target);
        if (image.isNull())
            image = genericApplicationIcon(target);
    }
    if (size)
        *size = image.size();
    return image;
}

QImage ItemIconProvider::readImageFile(const QString &path, const QSize &size)
{
    QImageReader reader(path);
    if (!reader.canRead())
        return {};
    // An .icns holds one picture per size; the largest one scales down best.
    QImage best;
    int index = 0;
    do {
        const QSize claimed = reader.size();
        if (claimed.isValid() &&
            (claimed.width() > kMaxDecodedSide || claimed.height() > kMaxDecodedSide)) {
            continue;
        }
        QImage picture = reader.read();
        if (!picture.isNull() && (best.isNull() || picture.width() > best.width()))
            best = std::move(picture);
    } while (++index < 64 && reader.jumpToNextImage());
    if (best.isNull())
        return {};
    return centred(best, size);
}

QImage ItemIconProvider::genericApplicationIcon(const QSize &size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const qreal side = qMin(size.width(), size.height());
    const QRectF tile((size.width() - side) / 2.0 + side * 0.06,
                      (size.height() - side) / 2.0 + side * 0.06, side * 0.88, side * 0.88);
    QPainterPath shape;
    shape.addRoundedRect(tile, side * 0.2, side * 0.2);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(tile.topLeft(), tile.bottomLeft());
    fill.setColorAt(0, QColor(0x9A, 0xA5, 0xB8));
    fill.setColorAt(1, QColor(0x6B, 0x77, 0x8C));
    painter.fillPath(shape, fill);
    painter.setPen(QPen(QColor(0, 0, 0, 40), qMax<qreal>(1.0, side / 64.0)));
    painter.drawPath(shape);

    const int glyph = qRound(side * 0.5);
    const QImage symbol = SymbolImageProvider::render(
        QStringLiteral("app.generic"), QColor(255, 255, 255, 235), QSize(glyph, glyph));
    painter.drawImage(QPointF(tile.center().x() - glyph / 2.0, tile.center().y() - glyph / 2.0),
                      symbol);
    return image;
}

QImage ItemIconProvider::workspaceIcon(const QString &path, const QSize &size)
{
    const bool isFolder = !path.isEmpty() && QFileInfo(path).isDir();
    if (isFolder)
        return SymbolImageProvider::render(QStringLiteral("folder.fill"), QColor(0x4A, 0x9E, 0xF0),
                                           size);
    return SymbolImageProvider::render(QStringLiteral("doc.fill"), QColor(0xA3, 0xAA, 0xB6), size);
}
