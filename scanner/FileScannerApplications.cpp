#include "scanner/FileScanner.h"

#include "scanner/PropertyList.h"

#include <QCollator>
#include <QSet>

#include <algorithm>

namespace {

const QString kInfoPlist = QStringLiteral("Contents/Info.plist");
const QString kResources = QStringLiteral("Contents/Resources");
const QString kGenericAppSymbol = QStringLiteral("app.generic");

// The last path component, ignoring trailing slashes.
QString lastComponent(const QString &path)
{
    qsizetype end = path.size();
    while (end > 1 && path.at(end - 1) == QLatin1Char('/'))
        --end;
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'), end - 1);
    return path.mid(slash + 1, end - slash - 1);
}

// The extension after the last dot; a leading dot starts a hidden name, not an extension.
QString extensionOf(const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? fileName.mid(dot + 1) : QString();
}

QString withoutExtension(const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? fileName.left(dot) : fileName;
}

// The icon file a bundle names, when it is a plain file name that stays inside the bundle's
// resources: a value with a slash, "." or "..", or a NUL could point anywhere.
std::optional<QString> iconFileName(const std::optional<QString> &value)
{
    if (!value || value->isEmpty() || value->contains(QLatin1Char('/')) ||
        value->contains(QChar(u'\0')) || *value == QLatin1String(".") ||
        *value == QLatin1String(".."))
        return std::nullopt;
    if (extensionOf(*value).isEmpty())
        return *value + QStringLiteral(".icns");
    return *value;
}

} // namespace

QList<AppInfo> FileScanner::scanApplications() const
{
    QList<AppInfo> apps = scanApplicationsFolder(m_places.inHome(QStringLiteral("Applications")));
    apps.append(scanApplicationsFolder(m_places.onSystem(QStringLiteral("/Applications"))));
    apps.append(scanDesktopApplications());

    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    // Stable, so equally named bundles keep the user folder first.
    std::stable_sort(apps.begin(), apps.end(), [&collator](const AppInfo &a, const AppInfo &b) {
        return collator.compare(a.name, b.name) < 0;
    });
    return apps;
}

QList<AppInfo> FileScanner::scanApplicationsFolder(const QString &folder) const
{
    QList<AppInfo> apps;
    const std::optional<QStringList> entries = m_fileManager.contentsOfDirectory(folder);
    if (!entries)
        return apps;
    // Two names that differ only in bytes that are not valid UTF-8 read as one path: list it
    // once (its bundle is then offered as unremovable), never as two rows naming one path.
    QSet<QString> seen;
    for (const QString &entry : *entries) {
        if (extensionOf(lastComponent(entry)) == QLatin1String("app") && !seen.contains(entry)) {
            seen.insert(entry);
            apps.append(readAppInfo(entry));
        }
    }
    return apps;
}

AppInfo FileScanner::readAppInfo(const QString &bundlePath) const
{
    const QString fallbackName = withoutExtension(lastComponent(bundlePath));
    const QString bundle =
        bundlePath.endsWith(QLatin1Char('/')) ? bundlePath : bundlePath + QLatin1Char('/');
    const ItemIcon genericIcon = ItemIcon::symbol(kGenericAppSymbol);

    const QString plistPath = bundle + kInfoPlist;
    if (!m_fileManager.fileExists(plistPath))
        return AppInfo(fallbackName, std::nullopt, bundlePath, genericIcon);
    const std::optional<QByteArray> bytes =
        m_fileManager.readFile(plistPath, PropertyList::kMaxInputBytes);
    if (!bytes)
        return AppInfo(fallbackName, std::nullopt, bundlePath, genericIcon);
    const std::optional<PropertyList::TopLevelDictionary> info =
        PropertyList::readTopLevelDictionary(*bytes);
    if (!info)
        return AppInfo(fallbackName, std::nullopt, bundlePath, genericIcon);

    // An empty CFBundleName still wins: the bundle chose it.
    QString name = fallbackName;
    if (const auto bundleName = info->string(QStringLiteral("CFBundleName")))
        name = *bundleName;
    else if (const auto displayName = info->string(QStringLiteral("CFBundleDisplayName")))
        name = *displayName;

    ItemIcon icon = genericIcon;
    if (const auto iconFile = iconFileName(info->string(QStringLiteral("CFBundleIconFile")))) {
        const QString iconPath = bundle + kResources + QLatin1Char('/') + *iconFile;
        bool isDirectory = false;
        if (m_fileManager.fileExists(iconPath, &isDirectory) && !isDirectory)
            icon = ItemIcon::imageFile(iconPath);
    }

    return AppInfo(name, info->string(QStringLiteral("CFBundleIdentifier")), bundlePath, icon);
}
