#include "viewmodel/RemovalJob.h"

#include "model/ByteCountFormat.h"
#include "model/TextSeparator.h"
#include "scanner/FileScanner.h"
#include "viewmodel/RemovalRecord.h"

#include <QCoreApplication>
#include <QSet>

#include <algorithm>

namespace {

bool isSystemDataWarningCategory(FileCategory category)
{
    return category == FileCategory::deviceBackups ||
           category == FileCategory::timeMachineSnapshots || category == FileCategory::dockerData ||
           category == FileCategory::largeFolders;
}

// The command its package manager removes one store entry with.
QString removalCommand(FileCategory category)
{
    switch (category) {
    case FileCategory::homebrewCellar:
        return QStringLiteral("brew uninstall");
    case FileCategory::homebrewCaskroom:
        return QStringLiteral("brew uninstall --cask");
    case FileCategory::globalNodeModules:
        return QStringLiteral("npm uninstall -g");
    default:
        return {};
    }
}

// "Not uninstalled: firefox (Caskroom); to remove, run "brew uninstall --cask firefox"", one line
// per store, in the order the stores are first met.
QStringList leftPackageNotes(const QList<AssociatedFile> &left)
{
    QList<std::pair<FileCategory, QStringList>> stores; // entry names by store
    for (const AssociatedFile &file : left) {
        auto store = std::find_if(stores.begin(), stores.end(),
                                  [&](const auto &known) { return known.first == file.category; });
        if (store == stores.end())
            store = stores.insert(stores.end(), {file.category, {}});
        store->second.append(file.name);
    }
    QStringList notes;
    for (const auto &[store, entries] : std::as_const(stores)) {
        QString note = QCoreApplication::translate("ContentViewModel", "Not uninstalled: %1 (%2)")
                           .arg(entries.join(QStringLiteral(", ")), displayName(store));
        const QString command = removalCommand(store);
        if (!command.isEmpty()) {
            note += QCoreApplication::translate("ContentViewModel", "; to remove, run \"%1 %2\"")
                        .arg(command, entries.join(u' '));
        }
        notes.append(note);
    }
    return notes;
}

// The package manager's or the application's own uninstall of the item.
UninstallResult uninstallItem(const FileScanner &scanner, const Item &item)
{
    if (const auto *package = item.as<HomebrewPackage>())
        return scanner.uninstallHomebrewPackage(package->name,
                                                package->type == HomebrewPackageType::cask);
    if (const auto *package = item.as<NPMPackage>())
        return scanner.uninstallNPMPackage(package->name);
    return scanner.uninstallApplication(*item.as<AppInfo>());
}

// The command line of the item's uninstall, as the confirmation names it; empty when the plan
// runs none.
QString itemUninstallCommand(const RemovalPlan &plan)
{
    if (!plan.uninstallsItem)
        return {};
    if (const auto *package = plan.item->as<HomebrewPackage>()) {
        return (package->type == HomebrewPackageType::cask
                    ? QStringLiteral("brew uninstall --cask ")
                    : QStringLiteral("brew uninstall ")) +
               package->name;
    }
    if (const auto *package = plan.item->as<NPMPackage>())
        return QStringLiteral("npm uninstall -g ") + package->name;
    return plan.uninstallCommand;
}

} // namespace

RemovalPlan planRemoval(const FileScanner &scanner, const QList<AssociatedFile> &selected,
                        SidebarSection section, const std::optional<Item> &item)
{
    RemovalPlan plan;
    plan.section = section;
    if (item && item->section() == section)
        plan.item = item;
    QList<AssociatedFile> packageFiles;
    for (const AssociatedFile &file : selected) {
        if (file.isRemovedByCommand())
            plan.commandFiles.append(file);
        else if (isRemovedByPackageManager(file.category))
            packageFiles.append(file);
        else
            plan.trashFiles.append(file);
    }
    plan.hasPackageFiles = !packageFiles.isEmpty();
    const bool isPackage =
        plan.item && (plan.item->as<NPMPackage>() || plan.item->as<HomebrewPackage>());
    if (isPackage && plan.hasPackageFiles) {
        plan.uninstallsItem = true;
    } else {
        // Only a Flatpak's or Snap's own installation has its tool run here; a store entry the
        // leftover search found is its package manager's, and stays.
        const std::optional<QString> command =
            plan.app() ? scanner.uninstallCommandText(*plan.app()) : std::nullopt;
        for (const AssociatedFile &file : std::as_const(packageFiles)) {
            if (file.category == FileCategory::installedApplication && command) {
                plan.uninstallsItem = true;
                plan.uninstallCommand = *command;
            } else {
                plan.leftPackageFiles.append(file);
            }
        }
    }
    return plan;
}

void checkRunning(const FileScanner &scanner, RemovalPlan &plan)
{
    plan.runningProcess.reset();
    if (plan.app() && (!plan.trashFiles.isEmpty() || plan.uninstallsItem)) {
        plan.runningProcess =
            findRunningProcess(scanner.places(), scanner.fileManager(), *plan.app());
    }
}

QString runningText(const RemovalPlan &plan)
{
    if (!plan.app() || !plan.runningProcess)
        return {};
    return QCoreApplication::translate("ContentViewModel", "%1 is running (%2, process %3)")
        .arg(plan.app()->name, plan.runningProcess->program)
        .arg(plan.runningProcess->pid);
}

RemovalReport runRemoval(const FileScanner &scanner, const RemovalPlan &plan)
{
    RemovalReport report;
    std::optional<UninstallResult> uninstall;
    const QString name = plan.item ? plan.item->name() : QString();
    if (plan.uninstallsItem)
        uninstall = uninstallItem(scanner, *plan.item);
    if (uninstall) {
        report.uninstalled = uninstall->succeeded;
        if (uninstall->succeeded) {
            report.successes.append(
                QCoreApplication::translate("ContentViewModel", "Uninstalled %1").arg(name));
        } else {
            QString detail = uninstall->output.value_or(QString()).trimmed();
            if (detail.isEmpty())
                detail = QCoreApplication::translate("ContentViewModel", "Unknown error");
            report.errors.append(
                QCoreApplication::translate("ContentViewModel", "Failed to uninstall %1:\n%2")
                    .arg(name, detail));
        }
    }

    qint64 freedByCommands = 0;
    for (const AssociatedFile &file : plan.commandFiles) {
        if (scanner.isCancelled())
            break; // a stop leaves the versions not yet removed as they are
        const UninstallResult result = scanner.removeWithCommand(file);
        if (result.succeeded) {
            report.uninstalled = true;
            freedByCommands += file.size;
            report.successes.append(
                QCoreApplication::translate("ContentViewModel", "Uninstalled %1").arg(file.name));
        } else {
            report.errors.append(
                QCoreApplication::translate("ContentViewModel", "Failed to uninstall %1:\n%2")
                    .arg(file.name, result.output.value_or(QString()).trimmed()));
        }
    }

    QList<AssociatedFile> existing;
    for (const AssociatedFile &file : plan.trashFiles) {
        if (scanner.fileManager().fileExists(file.path))
            existing.append(file);
    }
    // Started before the first move, and even when nothing moves, so that Put Back never
    // reaches back to an older removal; each item is in it before it moves.
    RemovalRecord record;
    const QString recordError = record.start(scanner);
    if (!existing.isEmpty()) {
        TrashObserver observer;
        observer.claimed = [&record](const TrashedItem &item) { return record.addClaimed(item); };
        observer.trashed = [&record, &report](const TrashedItem &item) {
            record.addTrashed(item);
            report.trashed.append(item);
        };
        TrashResult result;
        if (recordError.isEmpty()) {
            result = scanner.moveFilesToTrash(existing, observer);
        } else {
            for (const AssociatedFile &file : std::as_const(existing))
                result.failures.append({file, recordError});
        }
        QSet<QUuid> failed;
        QStringList failureLines;
        for (const TrashFailure &failure : result.failures) {
            failed.insert(failure.file.id);
            failureLines.append(failure.file.path + QStringLiteral(": ") + failure.error);
        }
        for (const AssociatedFile &file : existing.mid(existing.size() - result.notTried))
            failed.insert(file.id); // left in place by a stop
        qint64 freed = freedByCommands;
        for (const AssociatedFile &file : std::as_const(existing)) {
            if (!failed.contains(file.id))
                freed += file.size;
        }
        if (result.moved > 0) {
            freedByCommands = 0;
            report.successes.append(
                QCoreApplication::translate("ContentViewModel", "Moved %1 item(s) to Trash")
                    .arg(result.moved) +
                kTextSeparator +
                QCoreApplication::translate("ContentViewModel", "%1 freed")
                    .arg(formatByteCount(freed)));
        }
        if (!result.failures.isEmpty()) {
            report.errors.append(
                QCoreApplication::translate("ContentViewModel", "Failed to remove %1 file(s):\n")
                    .arg(result.failures.size()) +
                failureLines.join(u'\n'));
        }
        if (result.notTried > 0) {
            report.errors.append(QCoreApplication::translate("ContentViewModel",
                                                             "Stopped before %1 file(s); they "
                                                             "were left where they are")
                                     .arg(result.notTried));
        }
    }

    // What the tools freed is said once, with the Trash's share when something went there.
    if (freedByCommands > 0) {
        report.successes.append(QCoreApplication::translate("ContentViewModel", "%1 freed")
                                    .arg(formatByteCount(freedByCommands)));
    }

    report.npmCacheSize = scanner.npmCacheSize();
    report.homebrewCacheSize = scanner.homebrewCacheSize();
    if (plan.app())
        report.appBundleExists = scanner.fileManager().fileExists(plan.app()->path);
    // Said after what was done, so that the line reads as the removal went.
    report.successes.append(leftPackageNotes(plan.leftPackageFiles));
    report.leftPackageFiles = !plan.leftPackageFiles.isEmpty();
    return report;
}

QString confirmationMessage(const RemovalPlan &plan, const QList<AssociatedFile> &selected)
{
    qint64 trashSize = 0;
    bool warn = false;
    for (const AssociatedFile &file : selected) {
        if (!isRemovedByPackageManager(file.category) && !file.isRemovedByCommand())
            trashSize += file.size;
        warn = warn || isSystemDataWarningCategory(file.category);
    }

    QStringList parts;
    if (const QString command = itemUninstallCommand(plan); !command.isEmpty())
        parts.append(QCoreApplication::translate("ContentViewModel", "Run \"%1\"").arg(command));
    for (const AssociatedFile &file : plan.commandFiles) {
        parts.append(QCoreApplication::translate("ContentViewModel", "Run \"%1\"")
                         .arg(file.removalCommandText()));
    }
    if (!plan.trashFiles.isEmpty()) {
        parts.append(
            QCoreApplication::translate("ContentViewModel", "Move %1 item(s) (%2) to Trash")
                .arg(QString::number(plan.trashFiles.size()), formatByteCount(trashSize)));
    }
    const QString joined = parts.join(kTextSeparator);
    QStringList sentences;
    if (!joined.isEmpty()) {
        sentences.append(
            QCoreApplication::translate("ContentViewModel", "%1. This cannot be undone.")
                .arg(joined));
    }
    for (const QString &note : leftPackageNotes(plan.leftPackageFiles))
        sentences.append(note + u'.');
    if (sentences.isEmpty())
        return QCoreApplication::translate("ContentViewModel", "No items selected.");
    QString message = sentences.join(u' ');
    if (const QString running = runningText(plan); !running.isEmpty()) {
        message += QStringLiteral("\n\n") +
                   QCoreApplication::translate("ContentViewModel",
                                               "%1: quit it first, or it may write its files "
                                               "again and lose what it has open.")
                       .arg(running);
    }
    if (warn) {
        message += QCoreApplication::translate(
            "ContentViewModel", "\n\n\u26A0\uFE0F This includes system data that may not be "
                                "recoverable. Make sure you have backups.");
    }
    return message;
}

QString removalButtonTitle(const RemovalPlan &plan)
{
    return plan.runsUninstall()
               ? QCoreApplication::translate("ContentViewModel", "Uninstall & Remove")
               : QCoreApplication::translate("ContentViewModel", "Move to Trash");
}
