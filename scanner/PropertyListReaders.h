#pragma once

#include "scanner/PropertyList.h"

// The two formats' readers behind PropertyList::readTopLevelDictionary, which picks one by the
// bytes' signature and applies the size limit first.
namespace PropertyList {

std::optional<TopLevelDictionary> readBinary(const QByteArray &bytes); // "bplist00..."
std::optional<TopLevelDictionary> readXml(const QByteArray &bytes);

} // namespace PropertyList
