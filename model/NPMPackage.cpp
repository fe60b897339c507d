#include "model/NPMPackage.h"

#include "scanner/FileManager.h"

NPMPackage::NPMPackage(QString name, std::optional<QString> version, QString path)
    : name(std::move(name)), version(std::move(version)), path(std::move(path))
{
}

ItemIcon NPMPackage::icon(const FileManager &fileManager) const
{
    if (fileManager.fileExists(path))
        return ItemIcon::workspace(path);
    return ItemIcon::symbol(QStringLiteral("terminal.fill"));
}
