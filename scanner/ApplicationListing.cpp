#include "scanner/ApplicationListing.h"

#include "scanner/DesktopApplications.h"
#include "scanner/PropertyList.h"

#include <QCollator>
#include <QSet>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

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

// Bundles read on one thread; more share the reading of a longer list.
constexpr qsizetype kBundlesPerThread = 64;

// Reads every bundle on up to two threads: parsing the Info.plists is most of a listing's time,
// and the bundles do not depend on one another. The order of bundles is kept.
QList<AppInfo> readBundles(const ApplicationListing &listing, const QStringList &bundles)
{
    // Slots left empty until read: a default AppInfo would draw an identifier of its own.
    std::vector<std::optional<AppInfo>> read(size_t(bundles.size()));
    std::atomic<qsizetype> next{0};
    const auto work = [&] {
        for (qsizetype i = next++; i < bundles.size(); i = next++)
            read[size_t(i)] = listing.readAppInfo(bundles[i]);
    };
    std::thread helper;
    if (bundles.size() >= 2 * kBundlesPerThread && QThread::idealThreadCount() > 1) {
        try {
            helper = std::thread(work);
        } catch (const std::system_error &) {
            // no thread to be had: this one reads them all
        }
    }
    work();
    if (helper.joinable())
        helper.join();
    QList<AppInfo> apps;
    apps.reserve(bundles.size());
    for (std::optional<AppInfo> &app : read)
        apps.append(std::move(*app));
    return apps;
}

} // namespace

QList<AppInfo> ApplicationListing::scanApplications() const
{
    QList<AppInfo> apps =
        scanApplicationsFolder(m_machine.places().inHome(QStringLiteral("Applications")));
    apps.append(
        scanApplicationsFolder(m_machine.places().onSystem(QStringLiteral("/Applications"))));
    apps.append(DesktopApplications(m_machine).scanDesktopApplications());

    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    // Stable, so equally named bundles keep the user folder first.
    std::stable_sort(apps.begin(), apps.end(), [&collator](const AppInfo &a, const AppInfo &b) {
        return collator.compare(a.name, b.name) < 0;
    });
    return apps;
}

QList<AppInfo> ApplicationListing::scanApplicationsFolder(const QString &folder) const
{
    const std::optional<QStringList> entries = m_machine.fileManager().contentsOfDirectory(folder);
    if (!entries)
        return {};
    // Two names that differ only in bytes that are not valid UTF-8 read as one path: list it
    // once (its bundle is then offered as unremovable), never as two rows naming one path.
    QSet<QString> seen;
    QStringList bundles;
    for (const QString &entry : *entries) {
        if (extensionOf(lastComponent(entry)) == QLatin1String("app") && !seen.contains(entry)) {
            seen.insert(entry);
            bundles.append(entry);
        }
    }
    return readBundles(*this, bundles);
}

AppInfo ApplicationListing::readAppInfo(const QString &bundlePath) const
{
    const QString fallbackName = withoutExtension(lastComponent(bundlePath));
    const QString bundle =
        bundlePath.endsWith(QLatin1Char('/')) ? bundlePath : bundlePath + QLatin1Char('/');
    const ItemIcon genericIcon = ItemIcon::symbol(kGenericAppSymbol);

    // A missing Info.plist is no different from an unreadable one: the open tells both.
    const std::optional<QByteArray> bytes =
        m_machine.fileManager().readFile(bundle + kInfoPlist, PropertyList::kMaxInputBytes);
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
        if (m_machine.fileManager().fileExists(iconPath, &isDirectory) && !isDirectory)
            icon = ItemIcon::imageFile(iconPath);
    }

    return AppInfo(name, info->string(QStringLiteral("CFBundleIdentifier")), bundlePath, icon);
}

bool ApplicationListing::isUserApplication(const AppInfo &app) const
{
    return app.isUserInstalled(m_machine.places().inHome(QStringLiteral("Applications")) +
                               QLatin1Char('/'));
}
