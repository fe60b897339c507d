#include "model/NPMPackage.h"

NPMPackage::NPMPackage(QString name, std::optional<QString> version, QString path)
    : name(std::move(name)), version(std::move(version)), path(std::move(path))
{}
