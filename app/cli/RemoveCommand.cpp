// verlo remove ITEM [--all | --only CATEGORY...] [--dry-run] [--yes] [--force]: the window's
// removal.
#include "app/StopSignals.h"
#include "app/cli/CliItems.h"
#include "app/cli/CliSupport.h"
#include "app/cli/Commands.h"
#include "model/ByteCountFormat.h"
#include "viewmodel/FileSelection.h"
#include "viewmodel/PutBack.h"
#include "viewmodel/RemovalJob.h"

#include <QCoreApplication>
#include <QSet>
#include <QTextStream>

namespace {

// Neither option keeps the window's first ticks (ItemScan::applyFirstTicks): none of an
// application's files, a package's own. --all ticks every removable file, as ticking an
// application's bundle does; --only ticks exactly the removable files of the named categories, as
// ticking those groups by hand does.
void tick(QList<FileGroup> &groups, bool all, const std::optional<QSet<FileCategory>> &only)
{
    if (!all && !only)
        return;
    for (FileGroup &group : groups) {
        for (AssociatedFile &file : group.files)
            FileSelection::select(file, !only || only->contains(group.category));
    }
}

// Asks on the terminal; true only for "y" or "yes".
bool confirmed()
{
    Cli::print(stderr, QCoreApplication::translate("Cli", "Proceed? [y/N] "));
    QTextStream in(stdin);
    const QString answer = in.readLine().trimmed().toLower();
    return answer == u"y" || answer == u"yes";
}

} // namespace

namespace Cli {

int remove(const QStringList &arguments)
{
    CommandParser command(
        QStringLiteral("remove"),
        QCoreApplication::translate(
            "Cli", "Removes one item as the window does: the package manager's uninstall for a "
                   "package, then the ticked files to the Trash. The files start ticked as in the "
                   "window: none of an application's, a package's own but not the places in the "
                   "home named after it. --all ticks every file, --only the files of the named "
                   "categories. Shows the window's confirmation text first and asks on the "
                   "terminal unless --yes is given. Refuses while the application runs unless "
                   "--force is given."));
    addItemArgument(command);
    QCommandLineParser &parser = command.parser();
    parser.addOption(QCommandLineOption(
        QStringLiteral("all"),
        QCoreApplication::translate("Cli", "Tick every removable file (as ticking an "
                                           "application's bundle does).")));
    parser.addOption(QCommandLineOption(
        QStringLiteral("only"),
        QCoreApplication::translate("Cli", "Tick exactly the files of this category (its case "
                                           "name, such as caches or preferences; repeatable)."),
        QStringLiteral("CATEGORY")));
    parser.addOption(QCommandLineOption(
        QStringLiteral("dry-run"),
        QCoreApplication::translate("Cli", "Show what would be done; change nothing.")));
    parser.addOption(QCommandLineOption(
        QStringLiteral("yes"), QCoreApplication::translate("Cli", "Do not ask for confirmation.")));
    parser.addOption(QCommandLineOption(
        QStringLiteral("force"),
        QCoreApplication::translate("Cli", "Remove an application's files even while it runs.")));
    if (const std::optional<int> status = command.parse(arguments, 1, 1))
        return *status;

    std::optional<QSet<FileCategory>> only;
    if (parser.isSet(QStringLiteral("only"))) {
        only.emplace();
        QStringList known;
        for (FileCategory category : allFileCategories())
            known.append(caseName(category));
        for (const QString &name : parser.values(QStringLiteral("only"))) {
            const qsizetype at = known.indexOf(name);
            if (at < 0) {
                printError(QCoreApplication::translate("Cli", "remove: unknown category '%1'; "
                                                              "categories: %2")
                               .arg(name, known.join(QStringLiteral(", "))));
                return usage;
            }
            only->insert(allFileCategories().at(at));
        }
    }

    const FileScanner scanner = machineScanner();
    std::optional<ScannedItem> scanned =
        findAndScanItem(scanner, command.positional().constFirst());
    if (!scanned)
        return usage;
    const Item &item = scanned->item.record;
    QList<FileGroup> &groups = scanned->groups;
    tick(groups, parser.isSet(QStringLiteral("all")), only);
    const QList<AssociatedFile> selected = FileSelection::selectedFiles(groups);
    if (selected.isEmpty()) {
        printError(QCoreApplication::translate("Cli", "nothing of %1 is ticked; nothing removed "
                                                      "(--only CATEGORY ticks categories, --all "
                                                      "every file)")
                       .arg(item.argument()));
        return partFailed;
    }
    RemovalPlan plan = planRemoval(scanner, selected, item.section(), item);
    checkRunning(scanner, plan);

    QString text = confirmationMessage(plan, selected) + u'\n';
    for (const AssociatedFile &file : plan.trashFiles)
        text += QStringLiteral("  ") + oneLine(file.path) + QStringLiteral("  (") +
                formatByteCount(file.size) + QStringLiteral(")\n");
    print(stdout, text);
    if (parser.isSet(QStringLiteral("dry-run")))
        return done;
    // A running program may write its files again as they go, or lose what it has open.
    if (plan.runningProcess && !parser.isSet(QStringLiteral("force"))) {
        printError(QCoreApplication::translate("Cli", "remove: %1; quit it first, or give --force "
                                                      "to remove its files while it runs")
                       .arg(runningText(plan)));
        return usage;
    }
    if (!parser.isSet(QStringLiteral("yes"))) {
        if (!isTerminal(stdin)) {
            printError(QCoreApplication::translate("Cli", "remove: not removing without --yes: "
                                                          "there is no terminal to ask on"));
            return usage;
        }
        if (!confirmed()) {
            printError(QCoreApplication::translate("Cli", "nothing removed"));
            return partFailed;
        }
    }

    // From here a stop signal lets the item being moved finish and leaves the rest in place.
    FileScanner stoppable = scanner;
    stoppable.setCancellationFlag(StopSignals::catchStopSignals());
    const RemovalReport report = runRemoval(stoppable, plan);
    for (const QString &line : report.successes)
        print(stdout, line + u'\n');
    if (!report.trashed.isEmpty()) {
        print(stdout,
              QCoreApplication::translate("Cli", "Put them back with: verlo restore --last") +
                  (report.uninstalled ? QStringLiteral(" (") + PutBack::filesOnlyNote() + u')'
                                      : QString()) +
                  u'\n');
    }
    for (const QString &line : report.errors)
        printError(line);
    // Ticked package files left for their package manager are not done either.
    return report.errors.isEmpty() && !report.leftPackageFiles ? done : partFailed;
}
} // namespace Cli
