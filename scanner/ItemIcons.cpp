#include "scanner/ItemIcons.h"

#include "scanner/FileManager.h"

ItemIcon iconOf(const NPMPackage &package, const FileManager &fileManager)
{
    if (fileManager.fileExists(package.path))
        return ItemIcon::workspace(package.path);
    return ItemIcon::symbol(QStringLiteral("terminal.fill"));
}

ItemIcon iconOf(const HomebrewPackage &package, const FileManager &fileManager)
{
    if (package.type == HomebrewPackageType::cask && fileManager.fileExists(package.path))
        return ItemIcon::workspace(package.path);
    return ItemIcon::symbol(QStringLiteral("shippingbox.fill"));
}
