#pragma once

#include "model/FileCategory.h"

#include <QString>

// How safe a System Data category is to clean, as its badge tells: the window's rows and the
// command line read it here.
enum class SystemDataSafety
{
    none, // no badge
    safe,
    review,
    caution,
};

SystemDataSafety systemDataSafety(FileCategory category);
// "safe", "review", "caution"; "" for none.
QString caseName(SystemDataSafety safety);
// The badge's text ("Safe to clean", "Review first", "Caution"); "" for none.
QString badgeText(SystemDataSafety safety);
