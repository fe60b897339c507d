#include "viewmodel/RemovalJob.h"

#include "model/ByteCountFormat.h"
#include "scanner/FileScanner.h"
#include "viewmodel/RemovalRecord.h"

#include <QCoreApplication>
#include <QSet>

namespace {

const QString kSeparator = QStringLiteral(" \u00B7 ");

bool isSystemDataWarningCategory(FileCategory category)
{
    return category == FileCategory::deviceBackups ||
           category == FileCategory::timeMachineSnapshots || category == FileCategory::dockerData;
}

} // namespace

RemovalPlan planRemoval(const FileScanner &scanner, const QList<AssociatedFile> &selected,
                        SidebarSection section,
                        const std::optional<HomebrewPackage> &homebrewPackage,
                        const std::optional<NPMPackage> &npmPackage,
                        const std::optional<AppInfo> &app)
{
    RemovalPlan plan;
    plan.section = section;
    plan.app = app;
    for (const AssociatedFile &file : selected) {
        if (isRemovedByPackageManager(file.category))
            plan.hasPackageFiles = true;
        else
            plan.trashFiles.append(file);
    }
    if (plan.hasPackageFiles) {
        if (section == SidebarSection::homebrew)
            plan.homebrewPackage = homebrewPackage;
        else if (section == SidebarSection::npm)
            plan.npmPackage = npmPackage;
        else if (section == SidebarSection::applications && app) {
            plan.uninstalledApp = app;
            plan.uninstallCommand = scanner.uninstallCommandText(*app).value_or(QString());
        }
    }
    return plan;
}

RemovalReport runRemoval(const FileScanner &scanner, const RemovalPlan &plan)
{
    RemovalReport report;
    std::optional<UninstallResult> uninstall;
    QString name;
    if (plan.homebrewPackage) {
        name = plan.homebrewPackage->name;
        uninstall = scanner.uninstallHomebrewPackage(name, plan.homebrewPackage->type ==
                                                               HomebrewPackageType::cask);
    } else if (plan.npmPackage) {
        name = plan.npmPackage->name;
        uninstall = scanner.uninstallNPMPackage(name);
    } else if (plan.uninstalledApp) {
        name = plan.uninstalledApp->name;
        uninstall = scanner.uninstallApplication(*plan.uninstalledApp);
    }
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
        qint64 freed = 0;
        for (const AssociatedFile &file : std::as_const(existing)) {
            if (!failed.contains(file.id))
                freed += file.size;
        }
        if (result.moved > 0) {
            report.successes.append(
                QCoreApplication::translate("ContentViewModel", "Moved %1 item(s) to Trash")
                    .arg(result.moved) +
                kSeparator +
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

    report.npmCacheSize = scanner.npmCacheSize();
    report.homebrewCacheSize = scanner.homebrewCacheSize();
    if (plan.app)
        report.appBundleExists = scanner.fileManager().fileExists(plan.app->path);
    return report;
}

QString confirmationMessage(const RemovalPlan &plan, const QList<AssociatedFile> &selected)
{
    qint64 trashSize = 0;
    bool warn = false;
    for (const AssociatedFile &file : selected) {
        if (!isRemovedByPackageManager(file.category))
            trashSize += file.size;
        warn = warn || isSystemDataWarningCategory(file.category);
    }

    QStringList parts;
    if (plan.homebrewPackage) {
        const QString command = plan.homebrewPackage->type == HomebrewPackageType::cask
                                    ? QStringLiteral("brew uninstall --cask")
                                    : QStringLiteral("brew uninstall");
        parts.append(QCoreApplication::translate("ContentViewModel", "Run \"%1 %2\"")
                         .arg(command, plan.homebrewPackage->name));
    } else if (plan.uninstalledApp && !plan.uninstallCommand.isEmpty()) {
        parts.append(QCoreApplication::translate("ContentViewModel", "Run \"%1\"")
                         .arg(plan.uninstallCommand));
    } else if (plan.npmPackage) {
        parts.append(QCoreApplication::translate("ContentViewModel", "Run \"%1 %2\"")
                         .arg(QStringLiteral("npm uninstall -g"), plan.npmPackage->name));
    }
    if (!plan.trashFiles.isEmpty()) {
        parts.append(
            QCoreApplication::translate("ContentViewModel", "Move %1 item(s) (%2) to Trash")
                .arg(QString::number(plan.trashFiles.size()), formatByteCount(trashSize)));
    }
    const QString joined = parts.join(kSeparator);
    if (joined.isEmpty())
        return QCoreApplication::translate("ContentViewModel", "No items selected.");
    QString message =
        QCoreApplication::translate("ContentViewModel", "%1. This cannot be undone.").arg(joined);
    if (warn) {
        message += QCoreApplication::translate(
            "ContentViewModel", "\n\n\u26A0\uFE0F This includes system data that may not be "
                                "recoverable. Make sure you have backups.");
    }
    return message;
}

QString removalButtonTitle(bool hasPackageFiles)
{
    return hasPackageFiles ? QCoreApplication::translate("ContentViewModel", "Uninstall & Remove")
                           : QCoreApplication::translate("ContentViewModel", "Move to Trash");
}
