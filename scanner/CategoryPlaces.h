#pragma once

#include "model/FileCategory.h"
#include "scanner/Places.h"

#include <optional>

// The one fixed place of the category on the given machine, if it has one.
std::optional<QString> defaultLocation(FileCategory category, const Places &places);
