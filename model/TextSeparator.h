#pragma once

#include <QString>

// What stands between the parts of one line of text, in the window and on the command line:
// "Moved 2 item(s) to Trash · 8 kB freed", "Preferences · 8 kB".
inline const QString kTextSeparator = QStringLiteral(" \u00B7 ");
