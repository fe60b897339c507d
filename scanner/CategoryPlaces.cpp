#include "scanner/CategoryPlaces.h"

std::optional<QString> defaultLocation(FileCategory category, const Places &places)
{
    const std::optional<CategoryLocation> location = fixedLocation(category);
    if (!location)
        return std::nullopt;
    return location->isInHome ? places.inHome(location->path) : places.onSystem(location->path);
}
