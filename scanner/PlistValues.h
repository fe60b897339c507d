#pragma once

#include <QString>
#include <QStringView>

// The elements of an XML property list and what their text may be, shared by its readers.
namespace PropertyList {

enum class Element
{
    Plist,
    Dict,
    Array,
    Key,
    String,
    Integer,
    Real,
    Date,
    Data,
    True,
    False,
    Unknown
};

Element elementOf(QStringView name);

// Whether a leaf element's text is a value of its type.
bool isValidLeaf(Element element, const QString &text);

} // namespace PropertyList
