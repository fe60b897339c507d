// verlo leftovers [--json]: what programs that are gone left in the home.
#include "app/cli/CliItems.h"
#include "app/cli/CliSupport.h"
#include "app/cli/Commands.h"
#include "model/ByteCountFormat.h"
#include "model/MediumDate.h"
#include "model/TextSeparator.h"
#include "viewmodel/KeptLeftovers.h"

#include <QCoreApplication>

namespace {

// "sketchpad · Certain · 1.2 MB · changed 3 Mar 2025", the reason, then the row's files.
QString rowText(const LeftoverRow &row)
{
    QString text = Cli::oneLine(row.name) + kTextSeparator + displayName(row.certainty) +
                   kTextSeparator + formatByteCount(row.size);
    if (row.lastModified.isValid())
        text += kTextSeparator + QCoreApplication::translate("Cli", "changed %1")
                                     .arg(formatMediumDate(row.lastModified.date()));
    text += u'\n' + QStringLiteral("  ") + Cli::oneLine(row.reason) + u'\n';
    for (const QString &line : Cli::groupsText(row.groups).split(u'\n', Qt::SkipEmptyParts))
        text += QStringLiteral("  ") + line + u'\n';
    return text;
}

} // namespace

namespace Cli {

int leftovers(const QStringList &arguments)
{
    CommandParser command(
        QStringLiteral("leftovers"),
        QCoreApplication::translate(
            "Cli", "Lists what programs that are no longer installed left in the home: the "
                   "entries of the searched places that no installed application, package or "
                   "program, nor the desktop, claims, one row per former program, certain ones "
                   "first. 'verlo files leftover:NAME' and 'verlo remove leftover:NAME' take a "
                   "row."));
    command.addJsonOption();
    if (const std::optional<int> status = command.parse(arguments, 0, 0))
        return *status;

    const FileScanner scanner = machineScanner();
    QList<LeftoverRow> rows;
    {
        ScanProgressLine progress;
        rows = scanner.findLeftovers(KeptLeftovers::names(), progress.callback());
    }
    if (command.wantsJson()) {
        QJsonArray array;
        for (const LeftoverRow &row : std::as_const(rows))
            array.append(toJson(row));
        printJson({{QStringLiteral("rows"), array}});
        return done;
    }
    if (rows.isEmpty())
        printError(QCoreApplication::translate("Cli", "No leftovers found"));
    QStringList blocks;
    for (const LeftoverRow &row : std::as_const(rows))
        blocks.append(rowText(row));
    print(stdout, blocks.join(u'\n'));
    return done;
}

} // namespace Cli
