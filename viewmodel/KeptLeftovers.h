#pragma once

#include <QStringList>

// The names the user keeps out of the leftovers (a row's name, "sketchpad"): lasting, in the
// program's settings under "Leftovers/kept", shared by the window and the command line.
namespace KeptLeftovers {

QStringList names();
void setNames(const QStringList &names);

} // namespace KeptLeftovers
