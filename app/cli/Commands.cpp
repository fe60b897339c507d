#include "app/cli/Commands.h"

#include "app/cli/CliSupport.h"
#include "viewmodel/RemovalRecord.h"

#include <QCoreApplication>

#include <functional>
#include <utility>

namespace {

using Command = int (*)(const QStringList &);

const QList<std::pair<QString, Command>> &commands()
{
    static const QList<std::pair<QString, Command>> table{
        {QStringLiteral("list"), Cli::list},       {QStringLiteral("files"), Cli::files},
        {QStringLiteral("remove"), Cli::remove},   {QStringLiteral("system-data"), Cli::systemData},
        {QStringLiteral("restore"), Cli::restore}, {QStringLiteral("leftovers"), Cli::leftovers},
    };
    return table;
}

} // namespace

namespace Cli {

bool isCommand(const QString &word)
{
    return !word.isEmpty() && !word.startsWith(u'-');
}

int run(const QStringList &arguments)
{
    const QString name = arguments.value(1);
    QStringList names;
    for (const auto &[known, command] : commands()) {
        if (known == name) {
            // What a removal stopped between claiming a name in the Trash and moving left.
            RemovalRecord::settle(machineScanner());
            return command(arguments);
        }
        names.append(known);
    }
    printError(QCoreApplication::translate("Cli", "unknown command '%1'; commands: %2 (see verlo "
                                                  "--help)")
                   .arg(name, names.join(QStringLiteral(", "))));
    return usage;
}

} // namespace Cli
