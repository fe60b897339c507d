#pragma once

#include <QStringList>

// The commands of "verlo <command> ...", each with its own --help. arguments: the program's
// whole command line (the program, the command, then the command's arguments). Each returns the
// exit status (Cli::Status). They need a QCoreApplication, and no display.
namespace Cli {

// Whether "verlo <word>" asks for a command rather than the window.
bool isCommand(const QString &word);
// Runs the command arguments[1] names; an unknown one is a usage error.
int run(const QStringList &arguments);

int list(const QStringList &arguments);
int files(const QStringList &arguments);
int remove(const QStringList &arguments);
int systemData(const QStringList &arguments);
int restore(const QStringList &arguments);
int leftovers(const QStringList &arguments);

} // namespace Cli
