#pragma once

#include <QLatin1StringView>
#include <QString>
#include <QStringView>

#include <cstring>

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

// The element named so; Unknown for any other name. The Latin-1 form is for names read from
// bytes, and inline: the one-pass reader looks up every tag, and the compiler turns the loop into
// a few comparisons of known lengths.
Element elementOf(QStringView name);
Q_ALWAYS_INLINE Element elementOf(QLatin1StringView name)
{
    using namespace Qt::StringLiterals;
    static constexpr struct
    {
        QLatin1StringView name;
        Element element;
    } elements[] = {
        {"plist"_L1, Element::Plist},   {"dict"_L1, Element::Dict},
        {"array"_L1, Element::Array},   {"key"_L1, Element::Key},
        {"string"_L1, Element::String}, {"integer"_L1, Element::Integer},
        {"real"_L1, Element::Real},     {"date"_L1, Element::Date},
        {"data"_L1, Element::Data},     {"true"_L1, Element::True},
        {"false"_L1, Element::False},
    };
    for (const auto &entry : elements) {
        if (entry.name.size() == name.size() &&
            std::memcmp(entry.name.data(), name.data(), size_t(name.size())) == 0)
            return entry.element;
    }
    return Element::Unknown;
}

// Whether a leaf element's text is a value of its type.
bool isValidLeaf(Element element, const QString &text);

} // namespace PropertyList
