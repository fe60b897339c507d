#pragma once

#include "scanner/Places.h"

#include <QString>

#include <optional>

// The sample machine the demo, the screenshots and the command line's tests run Verlo over:
// VERLO_DEMO_HOME and VERLO_DEMO_ROOT name its home folder and system root. Verlo sees it
// through Places alone; this program's own environment (HOME, the XDG variables) stays as it is.
namespace DemoMachine {

// The machine those variables name, with no XDG variable of its own; nothing when either is
// unset or no folder.
std::optional<Places> fromEnvironment();

// Keeps this program's settings (QSettings of the user: the Keep list, the divider's place, the
// last removal's record) in folder/<organisation>/<application>.conf from now on.
void keepSettingsIn(const QString &folder);

// Keeps them on machine, in its configuration home; or, when program (this program's own
// environment) names a configuration home ($XDG_CONFIG_HOME), there, as QSettings would.
void keepSettingsOn(const Places &machine, const Places &program = Places());

} // namespace DemoMachine
