#pragma once

#include <QtGlobal>

// System Data categories whose total reaches this are shown; smaller ones are only counted (a
// local snapshot is shown at any size). The command line names it through formatByteCount.
inline constexpr qint64 kSystemDataDisplayThreshold = 100LL * 1024 * 1024;
