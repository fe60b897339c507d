#pragma once

#include "model/HomebrewPackage.h"
#include "model/NPMPackage.h"

class FileManager;

// The file manager's icon for the package folder while it exists, else "terminal.fill".
ItemIcon iconOf(const NPMPackage &package, const FileManager &fileManager);
// A cask whose folder exists shows the file manager's icon for it; everything else shows
// "shippingbox.fill".
ItemIcon iconOf(const HomebrewPackage &package, const FileManager &fileManager);
