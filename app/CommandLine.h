#pragma once

#include <QStringList>

#include <optional>

// The verlo program's command line: --help and --version, answered before any window exists so
// that they work without a display (help2man runs them at build time to write the manual page),
// and the commands ("verlo list apps", see app/cli/Commands.h), which run without a window.
namespace CommandLine {

// Runs a command, or prints the usage or the version, when the arguments ask for one and returns
// the exit status; nullopt when the window should open. Needs no application object.
std::optional<int> answerWithoutWindow(int argc, char *argv[]);

// The arguments left once QGuiApplication has taken its own (-platform, -style ...): 0 when none
// is left, else prints what is wrong to stderr and returns 2.
int checkWindowArguments(const QStringList &arguments);

} // namespace CommandLine
