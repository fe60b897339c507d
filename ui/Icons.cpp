#include "ui/Icons.h"

#include "ui/ItemIconProvider.h"
#include "ui/SymbolImageProvider.h"

#include <QQmlEngine>

namespace {

const QLatin1String kSymbolPrefix("symbol:");
const QLatin1String kImagePrefix("image:");
const QLatin1String kWorkspacePrefix("workspace:");

QString encodedPath(const QString &path)
{
    return QString::fromLatin1(
        path.toUtf8().toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
}

} // namespace

QString Icons::symbolUrl(const QString &name, const QColor &color) const
{
    if (name.isEmpty())
        return {};
    return QStringLiteral("image://symbol/") + color.name(QColor::HexArgb).mid(1) +
           QLatin1Char('/') + name;
}

QString Icons::itemUrl(const QString &source) const
{
    // The generic application symbol is drawn as a full-colour icon, like a bundle's own.
    if (source == QLatin1String("symbol:app.generic"))
        return QStringLiteral("image://item/generic");
    if (source.startsWith(kImagePrefix))
        return QStringLiteral("image://item/image/") + encodedPath(source.mid(kImagePrefix.size()));
    if (source.startsWith(kWorkspacePrefix)) {
        return QStringLiteral("image://item/workspace/") +
               encodedPath(source.mid(kWorkspacePrefix.size()));
    }
    return {};
}

QString Icons::symbolName(const QString &source) const
{
    if (source.startsWith(kSymbolPrefix))
        return source.mid(kSymbolPrefix.size());
    return {};
}

void Icons::installImageProviders(QQmlEngine *engine)
{
    engine->addImageProvider(QStringLiteral("symbol"), new SymbolImageProvider);
    engine->addImageProvider(QStringLiteral("item"), new ItemIconProvider);
}
