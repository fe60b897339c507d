// verlo restore [--last | TRASH-NAME...]: Put Back from the command line.
#include "app/cli/CliSupport.h"
#include "app/cli/Commands.h"
#include "viewmodel/PutBack.h"
#include "viewmodel/RemovalRecord.h"

#include <QCoreApplication>

namespace Cli {

int restore(const QStringList &arguments)
{
    CommandParser command(
        QStringLiteral("restore"),
        QCoreApplication::translate("Cli", "Puts items back from the Trash where they were, "
                                           "never over anything: the files of the last removal "
                                           "(--last), or items of the home Trash by their names "
                                           "there. A package manager's uninstall is not undone."));
    command.addPositional(QStringLiteral("names"),
                          QCoreApplication::translate("Cli", "Names in the Trash (its files/ "
                                                             "folder)."),
                          QStringLiteral("[TRASH-NAME...]"));
    command.parser().addOption(QCommandLineOption(
        QStringLiteral("last"),
        QCoreApplication::translate("Cli", "The files of the last removal (window or command "
                                           "line).")));
    if (const std::optional<int> status = command.parse(arguments, 0, -1))
        return *status;
    const bool last = command.isSet(QStringLiteral("last"));
    if (last == !command.positional().isEmpty()) {
        printError(QCoreApplication::translate("Cli", "restore: give either --last or names in "
                                                      "the Trash"));
        return usage;
    }

    const FileScanner scanner = machineScanner();
    QList<TrashedItem> items;
    if (last) {
        items = RemovalRecord::lastRemoval();
        if (items.isEmpty()) {
            printError(QCoreApplication::translate("Cli", "restore: the last removal left nothing "
                                                          "to put back"));
            return partFailed;
        }
    } else {
        const QString trash = Trash(scanner.places()).homeTrashFolder();
        for (const QString &name : command.positional())
            items.append({trash, name, QString(), FileIdentity()});
    }
    const PutBack::Report report = PutBack::putBack(scanner, items);
    for (const TrashedItem &item : report.restored)
        print(stdout,
              QCoreApplication::translate("Cli", "Put back %1").arg(oneLine(item.originalPath)) +
                  u'\n');
    for (const QString &line : report.failureLines)
        printError(line);
    return report.failed.isEmpty() ? done : partFailed;
}

} // namespace Cli
