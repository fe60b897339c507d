#pragma once

#include "model/AppInfo.h"

// The line under an application's name: its bundle identifier; for a desktop application how it
// was installed and what names it there ("Flatpak · org.gnome.Maps", "System Package ·
// gnome-calculator", "AppImage").
QString appSubtitle(const AppInfo &app);
