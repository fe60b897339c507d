#pragma once

#include "scanner/PropertyList.h"

#include <QByteArray>

// A quick reader for the plain XML lists that real writers produce: UTF-8, the usual XML
// declaration and Apple DOCTYPE, elements of the list format without attributes (but <plist
// version="1.0">), text with the five predefined entities. It reads such a document in one pass
// over its bytes, with the full reader's rules on structure and values. On anything else (a
// comment, a character reference, CDATA, a carriage return in text, an error of any kind) it
// declines, and the full reader, which parses any XML, decides. So it never reads a list
// differently from the full reader, only faster.
namespace PropertyList {

// True when bytes are such a plain list, read into *dict; false when the full reader must decide.
bool readPlainXml(const QByteArray &bytes, TopLevelDictionary *dict);

} // namespace PropertyList
