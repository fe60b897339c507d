#include "viewmodel/PutBack.h"

#include "scanner/FileScanner.h"

#include <QCoreApplication>
#include <QSettings>

namespace {

const QString kGroup = QStringLiteral("LastRemoval");

void store(const QList<TrashedItem> &items)
{
    QSettings settings;
    settings.remove(kGroup);
    settings.beginWriteArray(kGroup, int(items.size()));
    for (int i = 0; i < items.size(); ++i) {
        settings.setArrayIndex(i);
        settings.setValue(QStringLiteral("trashFolder"), items[i].trashFolder);
        settings.setValue(QStringLiteral("name"), items[i].name);
        settings.setValue(QStringLiteral("originalPath"), items[i].originalPath);
    }
    settings.endArray();
}

} // namespace

namespace PutBack {

void rememberLastRemoval(const QList<TrashedItem> &items)
{
    QList<TrashedItem> known;
    for (const TrashedItem &item : items) {
        if (!item.name.isEmpty())
            known.append(item);
    }
    store(known);
}

QList<TrashedItem> lastRemoval()
{
    QSettings settings;
    QList<TrashedItem> items;
    const int count = settings.beginReadArray(kGroup);
    for (int i = 0; i < count; ++i) {
        settings.setArrayIndex(i);
        items.append({settings.value(QStringLiteral("trashFolder")).toString(),
                      settings.value(QStringLiteral("name")).toString(),
                      settings.value(QStringLiteral("originalPath")).toString()});
    }
    settings.endArray();
    return items;
}

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
    QList<TrashedItem> kept = lastRemoval();
    const qsizetype before = kept.size();
    for (const TrashedItem &item : std::as_const(report.restored)) {
        kept.removeIf([&item](const TrashedItem &k) {
            return k.trashFolder == item.trashFolder && k.name == item.name;
        });
    }
    if (kept.size() != before)
        store(kept);
    return report;
}

QString filesOnlyNote()
{
    return QCoreApplication::translate("PutBack", "Put Back restores the files only");
}

} // namespace PutBack
