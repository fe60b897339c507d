#include "scanner/IconTheme.h"

#include "scanner/DesktopApplicationPlaces.h"
#include "scanner/FileManager.h"
#include "scanner/NameGuard.h"
#include "scanner/Places.h"

#include <QFile>

#include <sys/stat.h>

namespace {

const QStringList kImageExtensions = {QStringLiteral("png"), QStringLiteral("svg"),
                                      QStringLiteral("svgz"), QStringLiteral("xpm"),
                                      QStringLiteral("jpg")};
const QString kGenericAppSymbol = QStringLiteral("app.generic");
// A hostile theme folder with thousands of size folders is not walked whole.
constexpr int kMaxSizeFolders = 256;

bool hasImageExtension(const QString &path)
{
    return kImageExtensions.contains(path.section(QLatin1Char('.'), -1).toLower());
}

// The pixel size a hicolor folder name gives ("48x48", "48x48@2" counts double), or 0.
int pixelSize(const QString &folderName)
{
    const QString size = folderName.section(QLatin1Char('@'), 0, 0);
    const int scale = folderName.contains(QLatin1Char('@'))
                          ? qMax(1, folderName.section(QLatin1Char('@'), 1).toInt())
                          : 1;
    const QStringList sides = size.split(QLatin1Char('x'));
    if (sides.size() != 2)
        return 0;
    return sides.at(0).toInt() * scale;
}

} // namespace

IconTheme::IconTheme(const Places &places, const FileManager &fileManager)
    : m_places(places), m_fileManager(fileManager)
{
    for (const QString &dataDir : desktopDataFolders(places)) {
        m_themeFolders.append(dataDir + QStringLiteral("/icons"));
        m_pixmapFolders.append(dataDir + QStringLiteral("/pixmaps"));
    }
    m_themeFolders.insert(1, places.inHome(QStringLiteral(".icons")));
}

bool IconTheme::isUsableImage(const QString &path) const
{
    if (!hasImageExtension(path))
        return false;
    // A regular file (a link to one is fine): never a device or a fifo the view would read from.
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

QString IconTheme::findIconFile(const QString &iconValue) const
{
    if (iconValue.startsWith(QLatin1Char('/'))) {
        const QString path = machinePath(m_places, iconValue);
        return isUsableImage(path) ? path : QString();
    }
    if (!isSafeEntryName(iconValue))
        return {};
    // Names are meant without extension; some entries give one anyway.
    QString name = iconValue;
    if (hasImageExtension(name))
        name = name.section(QLatin1Char('.'), 0, -2);

    for (const QString &folder : m_themeFolders) {
        const QString hicolor = folder + QStringLiteral("/hicolor");
        for (const QString &extension : {QStringLiteral("svg"), QStringLiteral("svgz")}) {
            const QString scalable =
                hicolor + QStringLiteral("/scalable/apps/") + name + QLatin1Char('.') + extension;
            if (isUsableImage(scalable))
                return scalable;
        }
        const std::optional<QStringList> sizes = m_fileManager.contentsOfDirectory(hicolor);
        QString best;
        int bestSize = 0;
        int looked = 0;
        for (const QString &sizeFolder : sizes.value_or(QStringList())) {
            if (++looked > kMaxSizeFolders)
                break;
            const int size = pixelSize(sizeFolder.section(QLatin1Char('/'), -1));
            if (size <= bestSize)
                continue;
            const QString candidate =
                sizeFolder + QStringLiteral("/apps/") + name + QStringLiteral(".png");
            if (isUsableImage(candidate)) {
                best = candidate;
                bestSize = size;
            }
        }
        if (!best.isEmpty())
            return best;
    }
    for (const QString &folder : m_pixmapFolders) {
        for (const QString &extension : kImageExtensions) {
            const QString candidate =
                folder + QLatin1Char('/') + name + QLatin1Char('.') + extension;
            if (isUsableImage(candidate))
                return candidate;
        }
    }
    return {};
}

ItemIcon IconTheme::iconFor(const QString &iconValue) const
{
    const QString file = findIconFile(iconValue);
    if (file.isEmpty())
        return ItemIcon::symbol(kGenericAppSymbol);
    return ItemIcon::imageFile(file);
}
