// verlo files ITEM [--json] and verlo system-data [--json]: what the detail pane and the System
// Data section show.
#include "app/cli/CliItems.h"
#include "app/cli/CliSupport.h"
#include "app/cli/Commands.h"
#include "model/ByteCountFormat.h"
#include "model/SystemDataThreshold.h"
#include "model/TextSeparator.h"
#include "viewmodel/FileSelection.h"
#include "viewmodel/SystemDataSafety.h"

#include <QCoreApplication>

namespace {

// System Data groups as the files command's groups, each with its safety badge, and each file
// with its last change (ISO 8601; null where not known).
QJsonArray systemDataJson(const QList<FileGroup> &groups)
{
    QJsonArray array = Cli::toJson(groups);
    for (qsizetype i = 0; i < array.size(); ++i) {
        QJsonObject group = array[i].toObject();
        QJsonArray files = group.value(QStringLiteral("files")).toArray();
        for (qsizetype f = 0; f < files.size(); ++f) {
            QJsonObject file = files[f].toObject();
            const QDateTime &modified = groups[i].files[f].lastModified;
            file.insert(QStringLiteral("lastModified"),
                        modified.isValid() ? QJsonValue(modified.toString(Qt::ISODate))
                                           : QJsonValue(QJsonValue::Null));
            files[f] = file;
        }
        group.insert(QStringLiteral("files"), files);
        const SystemDataSafety safety = systemDataSafety(groups[i].category);
        group.insert(QStringLiteral("safety"), safety == SystemDataSafety::none
                                                   ? QJsonValue(QJsonValue::Null)
                                                   : QJsonValue(caseName(safety)));
        array[i] = group;
    }
    return array;
}

} // namespace

namespace Cli {

int files(const QStringList &arguments)
{
    CommandParser command(
        QStringLiteral("files"),
        QCoreApplication::translate("Cli", "Shows the files found for one item, grouped as the "
                                           "window shows them, with the ticks they start with."));
    addItemArgument(command);
    command.addJsonOption();
    if (const std::optional<int> status = command.parse(arguments, 1, 1))
        return *status;

    const std::optional<ScannedItem> scanned =
        findAndScanItem(machineScanner(), command.positional().constFirst());
    if (!scanned)
        return usage;
    const Item &item = scanned->item.record;
    const QList<FileGroup> &groups = scanned->groups;

    if (command.wantsJson()) {
        printJson({{QStringLiteral("item"), toJson(item)},
                   {QStringLiteral("groups"), toJson(groups)},
                   {QStringLiteral("size"), FileSelection::totalSize(groups)},
                   {QStringLiteral("fileCount"), FileSelection::fileCount(groups)},
                   {QStringLiteral("tickedCount"), FileSelection::selectedCount(groups)},
                   {QStringLiteral("tickedSize"), FileSelection::selectedSize(groups)}});
        return done;
    }
    print(stdout, oneLine(item.name()) + kTextSeparator + oneLine(item.argument()) + u'\n' +
                      Cli::groupsText(groups) +
                      QCoreApplication::translate("Cli", "%1 file(s), %2; %3 ticked (%4)\n")
                          .arg(FileSelection::fileCount(groups))
                          .arg(formatByteCount(FileSelection::totalSize(groups)))
                          .arg(FileSelection::selectedCount(groups))
                          .arg(formatByteCount(FileSelection::selectedSize(groups))));
    return done;
}

int systemData(const QStringList &arguments)
{
    CommandParser command(
        QStringLiteral("system-data"),
        QCoreApplication::translate("Cli", "Measures the System Data categories as the window "
                                           "shows them: sizes, safety badges and the count of "
                                           "small categories left out."));
    command.addJsonOption();
    if (const std::optional<int> status = command.parse(arguments, 0, 0))
        return *status;

    const FileScanner scanner = machineScanner();
    SystemDataResult result;
    {
        ScanProgressLine progress;
        result = scanner.scanSystemData(progress.callback());
    }
    // The user's own files count for the home's coverage, not as system data.
    qint64 total = 0;
    for (const FileGroup &group : std::as_const(result.groups)) {
        if (group.category != FileCategory::userFiles)
            total += group.totalSize();
    }

    if (command.wantsJson()) {
        printJson({{QStringLiteral("groups"), systemDataJson(result.groups)},
                   {QStringLiteral("hiddenCount"), result.hiddenCount},
                   {QStringLiteral("hiddenGroups"), systemDataJson(result.hiddenGroups)},
                   {QStringLiteral("size"), total},
                   {QStringLiteral("homeSize"), result.homeSize},
                   {QStringLiteral("accountedSize"), result.accountedSize}});
        return done;
    }
    QString text;
    for (const FileGroup &group : std::as_const(result.groups)) {
        const QString badge = badgeText(systemDataSafety(group.category));
        text += displayName(group.category) + kTextSeparator + group.formattedSize() +
                (badge.isEmpty() ? QString() : kTextSeparator + badge) + u'\n';
        for (const AssociatedFile &file : group.files) {
            text += QStringLiteral("  ") + oneLine(file.name) + kTextSeparator + oneLine(file.path);
            // The version in use and what only a command frees say so.
            if (!file.isRemovable())
                text += kTextSeparator + oneLine(file.unremovableReason);
            text += u'\n';
        }
    }
    text += QCoreApplication::translate("Cli", "Total: %1").arg(formatByteCount(total)) + u'\n';
    text += QCoreApplication::translate("Cli", "%1 of %2 in your home accounted for")
                .arg(formatByteCount(result.accountedSize), formatByteCount(result.homeSize)) +
            u'\n';
    if (result.hiddenCount > 0) {
        QStringList hidden;
        for (const FileGroup &group : std::as_const(result.hiddenGroups))
            hidden.append(displayName(group.category) + QStringLiteral(" (") +
                          group.formattedSize() + u')');
        text += QCoreApplication::translate("Cli", "%1 category(ies) under %2 hidden: %3")
                    .arg(result.hiddenCount)
                    .arg(QString::fromUtf16(kSystemDataDisplayThresholdName),
                         hidden.join(QStringLiteral(", "))) +
                u'\n';
    }
    print(stdout, text);
    return done;
}

} // namespace Cli
