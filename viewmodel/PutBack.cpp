#include "viewmodel/PutBack.h"

#include "scanner/FileScanner.h"
#include "viewmodel/RemovalRecord.h"

#include <QCoreApplication>

namespace PutBack {

Report putBack(const FileScanner &scanner, const QList<TrashedItem> &items)
{
    const PutBackResult result = scanner.putBackFromTrash(items);
    Report report;
    report.restored = result.restored;
    for (const PutBackFailure &failure : result.failures) {
        report.failed.append(failure.item);
        const QString label =
            failure.item.originalPath.isEmpty() ? failure.item.name : failure.item.originalPath;
        report.failureLines.append(label + QStringLiteral(": ") + failure.error);
    }
    if (!report.restored.isEmpty()) {
        report.successes.append(QCoreApplication::translate("PutBack", "Put back %1 item(s)")
                                    .arg(report.restored.size()));
    }
    if (!report.failed.isEmpty()) {
        report.errors.append(
            QCoreApplication::translate("PutBack", "Could not put back %1 item(s):\n")
                .arg(report.failed.size()) +
            report.failureLines.join(u'\n'));
    }

    // What was put back is no longer in the Trash; the rest may be tried again.
    RemovalRecord::forget(report.restored);
    return report;
}

QString filesOnlyNote()
{
    return QCoreApplication::translate("PutBack", "Put Back restores the files only");
}

} // namespace PutBack
