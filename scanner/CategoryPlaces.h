#pragma once

#include "model/FileCategory.h"
#include "scanner/Places.h"

#include <optional>

// The one place of the category on the given machine, if it has one (the XDG places resolved
// through places).
std::optional<QString> defaultLocation(FileCategory category, const Places &places);
