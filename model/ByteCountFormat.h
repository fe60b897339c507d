#pragma once

#include <QString>

// The one rule for showing a byte count, everywhere in the program: decimal units
// (1 kB = 1000 bytes), the unit chosen by magnitude: "0 bytes", "1 byte", "999 bytes", "12 kB",
// "3.4 MB", "1.23 GB". Negative counts are shown with a minus sign.
QString formatByteCount(qint64 bytes);
