#pragma once

#include <QtGlobal>

// System Data categories whose total reaches this are shown; smaller ones are only counted (a
// local snapshot is shown at any size).
inline constexpr qint64 kSystemDataDisplayThreshold = 100LL * 1024 * 1024;
// How the window and the command line name the threshold: "100 MB", as people say it, not the
// 104.9 MB formatByteCount would give for 100 MiB.
inline constexpr char16_t kSystemDataDisplayThresholdName[] = u"100 MB";
