// verlo list apps|npm|brew [--json]
#include "app/cli/CliItems.h"
#include "app/cli/CliSupport.h"
#include "app/cli/Commands.h"
#include "viewmodel/AppSubtitle.h"
#include "viewmodel/ApplicationOrder.h"

#include <QCoreApplication>

namespace {

// Columns padded to their widest cell, two spaces apart.
QString table(const QList<QStringList> &rows)
{
    QList<qsizetype> widths;
    for (const QStringList &row : rows) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (widths.size() <= i)
                widths.append(0);
            widths[i] = std::max(widths[i], row[i].size());
        }
    }
    QString text;
    for (const QStringList &row : rows) {
        QString line;
        for (qsizetype i = 0; i < row.size(); ++i)
            line += i + 1 < row.size() ? row[i].leftJustified(widths[i] + 2) : row[i];
        text += line.trimmed() + u'\n';
    }
    return text;
}

} // namespace

namespace Cli {

int list(const QStringList &arguments)
{
    CommandParser command(
        QStringLiteral("list"),
        QCoreApplication::translate("Cli", "Lists the installed applications, global npm packages "
                                           "or Homebrew packages, in the window's order."));
    QStringList words;
    for (SidebarSection section : allSidebarSections()) {
        if (!commandWord(section).isEmpty())
            words.append(commandWord(section));
    }
    command.addPositional(QStringLiteral("section"),
                          QCoreApplication::translate("Cli", "apps, npm or brew"),
                          words.join(u'|'));
    command.addJsonOption();
    if (const std::optional<int> status = command.parse(arguments, 1, 1))
        return *status;

    const QString section = command.positional().constFirst();
    const std::optional<SidebarSection> shown = sidebarSectionFromCommandWord(section);
    if (!shown) {
        printError(QCoreApplication::translate("Cli", "list: unknown section '%1' (apps, npm or "
                                                      "brew)")
                       .arg(section));
        return usage;
    }
    const FileScanner scanner = machineScanner();
    bool available = true;
    QList<Item> items;
    QStringList locations; // applications: "user" or "system", as the window groups them
    if (shown == SidebarSection::applications) {
        const ApplicationsByLocation apps =
            applicationsByLocation(scanner, scanner.scanApplications());
        for (const AppInfo &app : apps.user) {
            items.append(app);
            locations.append(QStringLiteral("user"));
        }
        for (const AppInfo &app : apps.system) {
            items.append(app);
            locations.append(QStringLiteral("system"));
        }
    } else if (shown == SidebarSection::npm) {
        available = scanner.isNPMAvailable();
        if (available) {
            for (const NPMPackage &package : scanner.listNPMPackages())
                items.append(package);
        }
    } else {
        available = scanner.isHomebrewAvailable();
        for (const HomebrewPackage &package : scanner.listHomebrewPackages())
            items.append(package);
    }

    if (command.wantsJson()) {
        QJsonArray array;
        for (qsizetype i = 0; i < items.size(); ++i) {
            QJsonObject object = toJson(items[i]);
            if (i < locations.size())
                object.insert(QStringLiteral("location"), locations[i]);
            array.append(object);
        }
        printJson({{QStringLiteral("section"), caseName(*shown)},
                   {QStringLiteral("available"), available},
                   {QStringLiteral("items"), array}});
        return done;
    }
    if (!available) {
        printError(
            QCoreApplication::translate("Cli", "%1 was not found on this machine").arg(section));
    } else if (items.isEmpty()) {
        // Said on the error stream, so a script reading the table still gets an empty one.
        printError(shown == SidebarSection::applications
                       ? QCoreApplication::translate("Cli", "No applications found")
                   : shown == SidebarSection::npm
                       ? QCoreApplication::translate("Cli", "No global npm packages found")
                       : QCoreApplication::translate("Cli", "No Homebrew packages found"));
    }
    QList<QStringList> rows;
    for (const Item &item : std::as_const(items)) {
        QString detail;
        if (const auto *app = item.as<AppInfo>())
            detail = appSubtitle(*app); // as the window's list shows it
        else if (const auto *package = item.as<NPMPackage>())
            detail = package->version.value_or(QString());
        else if (const auto *package = item.as<HomebrewPackage>())
            detail = package->version.value_or(QString());
        // Applications by name, packages as an item argument names them ("npm:NAME").
        const bool isApp = item.as<AppInfo>() != nullptr;
        rows.append({oneLine(isApp ? item.name() : item.argument()), oneLine(detail),
                     oneLine(toJson(item).value(QStringLiteral("path")).toString())});
    }
    print(stdout, table(rows));
    return done;
}

} // namespace Cli
