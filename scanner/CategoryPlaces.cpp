#include "scanner/CategoryPlaces.h"

std::optional<QString> defaultLocation(FileCategory category, const Places &places)
{
    // The XDG places follow the machine's variables, not a fixed path.
    switch (category) {
    case FileCategory::configDirectory:
        return places.configHome();
    case FileCategory::cacheDirectory:
        return places.cacheHome();
    case FileCategory::localShareDirectory:
        return places.dataHome();
    case FileCategory::stateDirectory:
        return places.stateHome();
    case FileCategory::desktopEntries:
        return places.dataHome() + QStringLiteral("/applications");
    case FileCategory::autostartEntries:
        return places.configHome() + QStringLiteral("/autostart");
    case FileCategory::userServices:
        return places.configHome() + QStringLiteral("/systemd/user");
    default:
        break;
    }
    const std::optional<CategoryLocation> location = fixedLocation(category);
    if (!location)
        return std::nullopt;
    return location->isInHome ? places.inHome(location->path) : places.onSystem(location->path);
}
