#include "app/cli/CliItems.h"

#include "app/cli/CliSupport.h"
#include "model/ByteCountFormat.h"
#include "model/TextSeparator.h"
#include "viewmodel/ItemScan.h"
#include "viewmodel/KeptLeftovers.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

QJsonValue orNull(const std::optional<QString> &text)
{
    return text ? QJsonValue(*text) : QJsonValue(QJsonValue::Null);
}

// An empty text (a field a record leaves empty when it does not apply) as null.
QJsonValue nonEmptyOrNull(const QString &text)
{
    return text.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(text);
}

QList<AppInfo> applicationsNamed(const QList<AppInfo> &apps, const QString &argument)
{
    if (argument.contains(u'/')) {
        QString path = QDir::cleanPath(QFileInfo(argument).absoluteFilePath());
        QList<AppInfo> found;
        for (const AppInfo &app : apps) {
            if (QDir::cleanPath(app.path) == path)
                found.append(app);
        }
        return found;
    }
    for (const Qt::CaseSensitivity sensitivity : {Qt::CaseSensitive, Qt::CaseInsensitive}) {
        QList<AppInfo> found;
        for (const AppInfo &app : apps) {
            if (app.name.compare(argument, sensitivity) == 0 ||
                app.bundleIdentifier.value_or(QString()).compare(argument, sensitivity) == 0)
                found.append(app);
        }
        if (!found.isEmpty())
            return found;
    }
    return {};
}

} // namespace

namespace Cli {

std::optional<FoundItem> findItem(const FileScanner &scanner, const QString &argument,
                                  QString *error)
{
    const qsizetype colon = argument.indexOf(u':');
    const QString kind = colon > 0 ? argument.left(colon) : QString();
    const QString name = argument.mid(colon + 1);
    if (kind == u"npm") {
        const QList<NPMPackage> packages =
            scanner.isNPMAvailable() ? scanner.listNPMPackages() : QList<NPMPackage>();
        for (const NPMPackage &package : packages) {
            if (package.name == name)
                return FoundItem{package, {}};
        }
    } else if (kind == u"brew" || kind == u"cask") {
        const HomebrewPackageType type =
            kind == u"cask" ? HomebrewPackageType::cask : HomebrewPackageType::formula;
        for (const HomebrewPackage &package : scanner.listHomebrewPackages()) {
            if (package.name == name && package.type == type)
                return FoundItem{package, {}};
        }
    } else if (kind == u"leftover") {
        QList<LeftoverRow> rows;
        {
            ScanProgressLine progress;
            rows = scanner.findLeftovers(KeptLeftovers::names(), progress.callback());
        }
        for (const LeftoverRow &row : std::as_const(rows)) {
            if (row.name.compare(name, Qt::CaseInsensitive) == 0)
                return FoundItem{row, {}};
        }
    } else {
        const QList<AppInfo> installed = scanner.scanApplications();
        const QList<AppInfo> apps = applicationsNamed(installed, argument);
        if (apps.size() == 1)
            return FoundItem{apps.constFirst(), installed};
        if (apps.size() > 1) {
            QStringList lines;
            for (const AppInfo &app : apps)
                lines.append(QStringLiteral("  ") + app.path);
            *error = QCoreApplication::translate(
                         "Cli", "'%1' names %2 applications; name one by its path:\n")
                         .arg(argument)
                         .arg(apps.size()) +
                     lines.join(u'\n');
            return std::nullopt;
        }
    }
    *error = QCoreApplication::translate(
                 "Cli", "unknown item '%1'. An item is an installed application (by name, bundle "
                        "identifier or path), npm:NAME, brew:NAME (a formula), cask:NAME or "
                        "leftover:NAME; 'verlo list' and 'verlo leftovers' show them.")
                 .arg(argument);
    return std::nullopt;
}

void addItemArgument(CommandParser &command)
{
    command.addPositional(QStringLiteral("item"),
                          QCoreApplication::translate("Cli", "An application (name, bundle "
                                                             "identifier or path), npm:NAME, "
                                                             "brew:NAME, cask:NAME or "
                                                             "leftover:NAME."),
                          QStringLiteral("ITEM"));
}

std::optional<ScannedItem> findAndScanItem(const FileScanner &scanner, const QString &argument)
{
    QString error;
    std::optional<FoundItem> item = findItem(scanner, argument, &error);
    if (!item) {
        printError(error);
        return std::nullopt;
    }
    ScanProgressLine progress;
    QList<FileGroup> groups =
        ItemScan::scanItem(scanner, item->record, item->installedApps, progress.callback());
    return ScannedItem{std::move(*item), std::move(groups)};
}

QJsonObject toJson(const Item &item)
{
    if (const auto *row = item.as<LeftoverRow>()) {
        return QJsonObject{{QStringLiteral("section"), QStringLiteral("leftovers")},
                           {QStringLiteral("item"), item.argument()},
                           {QStringLiteral("name"), row->name},
                           {QStringLiteral("certainty"), caseName(row->certainty)},
                           {QStringLiteral("reason"), row->reason},
                           {QStringLiteral("lastModified"),
                            row->lastModified.isValid()
                                ? QJsonValue(row->lastModified.toString(Qt::ISODate))
                                : QJsonValue(QJsonValue::Null)},
                           {QStringLiteral("size"), row->size}};
    }
    QJsonObject object{{QStringLiteral("section"), caseName(item.section())},
                       {QStringLiteral("item"), item.argument()},
                       {QStringLiteral("name"), item.name()}};
    if (const auto *app = item.as<AppInfo>()) {
        object.insert(QStringLiteral("path"), app->path);
        object.insert(QStringLiteral("bundleIdentifier"), orNull(app->bundleIdentifier));
        // How it was installed and what owns it there, as the window's line under the name says.
        object.insert(QStringLiteral("installation"), caseName(app->installation));
        object.insert(QStringLiteral("package"), nonEmptyOrNull(app->owningPackage));
        object.insert(QStringLiteral("flatpakID"), nonEmptyOrNull(app->flatpakID));
        object.insert(QStringLiteral("snapName"), nonEmptyOrNull(app->snapName));
        object.insert(QStringLiteral("desktopFileID"), nonEmptyOrNull(app->desktopFileID));
    } else if (const auto *package = item.as<NPMPackage>()) {
        object.insert(QStringLiteral("path"), package->path);
        object.insert(QStringLiteral("version"), orNull(package->version));
    } else if (const auto *package = item.as<HomebrewPackage>()) {
        object.insert(QStringLiteral("path"), package->path);
        object.insert(QStringLiteral("version"), orNull(package->version));
        object.insert(QStringLiteral("type"), caseName(package->type));
    }
    return object;
}

// "Preferences · 8 kB" and one line per file: "[x]" ticked, "[ ]" not, "[-]" never (with why).
QString groupsText(const QList<FileGroup> &groups)
{
    QString text;
    for (const FileGroup &group : groups) {
        text += displayName(group.category) + kTextSeparator + group.formattedSize() + u'\n';
        for (const AssociatedFile &file : group.files) {
            const QString box = !file.isRemovable() ? QStringLiteral("[-]")
                                : file.isSelected   ? QStringLiteral("[x]")
                                                    : QStringLiteral("[ ]");
            text += QStringLiteral("  ") + box + u' ' + oneLine(file.path) + QStringLiteral("  (") +
                    formatByteCount(file.size) + u')';
            if (!file.isRemovable())
                text += kTextSeparator + oneLine(file.unremovableReason);
            else if (!file.alsoUsedBy.isEmpty())
                text += kTextSeparator + QCoreApplication::translate("Cli", "Also used by %1")
                                             .arg(oneLine(file.alsoUsedBy));
            text += u'\n';
        }
    }
    return text;
}

QJsonObject toJson(const LeftoverRow &row)
{
    QJsonObject object = toJson(Item(row));
    object.insert(QStringLiteral("groups"), toJson(row.groups));
    return object;
}

QJsonArray toJson(const QList<FileGroup> &groups)
{
    QJsonArray array;
    for (const FileGroup &group : groups) {
        QJsonArray files;
        for (const AssociatedFile &file : group.files) {
            files.append(QJsonObject{
                {QStringLiteral("path"), file.path},
                {QStringLiteral("name"), file.name},
                {QStringLiteral("size"), file.size},
                {QStringLiteral("ticked"), file.isSelected},
                {QStringLiteral("removable"), file.isRemovable()},
                {QStringLiteral("unremovableReason"), file.isRemovable()
                                                          ? QJsonValue(QJsonValue::Null)
                                                          : QJsonValue(file.unremovableReason)},
                {QStringLiteral("alsoUsedBy"), file.alsoUsedBy.isEmpty()
                                                   ? QJsonValue(QJsonValue::Null)
                                                   : QJsonValue(file.alsoUsedBy)},
                {QStringLiteral("packageManaged"), isRemovedByPackageManager(file.category)},
                {QStringLiteral("removalCommand"),
                 file.isRemovedByCommand()
                     ? QJsonValue(QJsonArray::fromStringList(file.removalCommand))
                     : QJsonValue(QJsonValue::Null)},
            });
        }
        array.append(QJsonObject{{QStringLiteral("category"), caseName(group.category)},
                                 {QStringLiteral("size"), group.totalSize()},
                                 {QStringLiteral("files"), files}});
    }
    return array;
}

} // namespace Cli
