#pragma once

#include "scanner/PropertyList.h"

// The two formats' readers behind PropertyList::readTopLevelDictionary, which picks one by the
// bytes' signature and applies the size limit first.
namespace PropertyList {

std::optional<TopLevelDictionary> readBinary(const QByteArray &bytes); // "bplist00..."
// Tries the one-pass reader of plain lists (PlainPlistXml.h) first, then readXmlFully.
std::optional<TopLevelDictionary> readXml(const QByteArray &bytes);
// The full XML reader by itself, over QXmlStreamReader: any XML, with the same rules.
std::optional<TopLevelDictionary> readXmlFully(const QByteArray &bytes);

} // namespace PropertyList
