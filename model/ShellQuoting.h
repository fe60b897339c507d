#pragma once

#include <QString>

// The text as one word of a POSIX shell command line: in single quotes, each quote inside
// written as '\''. For the scripts the sample machine writes as stand-in tools.
QString shellQuoted(const QString &text);
