#include "scanner/PlistValues.h"

#include <QDateTime>

namespace PropertyList {
namespace {

bool isInteger(QStringView text)
{
    if (text.startsWith(u'+') || text.startsWith(u'-'))
        text = text.mid(1);
    const bool hex = text.startsWith(u"0x", Qt::CaseInsensitive);
    if (hex)
        text = text.mid(2);
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        const bool digit = c >= u'0' && c <= u'9';
        const bool hexLetter = (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
        if (!digit && !(hex && hexLetter))
            return false;
    }
    return true;
}

bool isReal(QStringView text)
{
    static const QStringView specials[] = {u"nan",      u"inf",       u"+inf",     u"-inf",
                                           u"infinity", u"+infinity", u"-infinity"};
    for (QStringView special : specials) {
        if (text.compare(special, Qt::CaseInsensitive) == 0)
            return true;
    }
    bool ok = false;
    static_cast<void>(text.toDouble(&ok));
    return ok;
}

bool isBase64(QStringView text)
{
    for (QChar c : text) {
        const bool ok = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') ||
                        (c >= u'0' && c <= u'9') || c == u'+' || c == u'/' || c == u'=' ||
                        c.isSpace();
        if (!ok)
            return false;
    }
    return true;
}

} // namespace

Element elementOf(QStringView name)
{
    // Every name is short and ASCII: anything else is no element, the rest is narrowed.
    char narrow[8];
    if (name.size() > qsizetype(sizeof narrow))
        return Element::Unknown;
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (name[i].unicode() > 0x7F)
            return Element::Unknown;
        narrow[i] = char(name[i].unicode());
    }
    return elementOf(QLatin1StringView(narrow, name.size()));
}

bool isValidLeaf(Element element, const QString &text)
{
    const QStringView trimmed = QStringView(text).trimmed();
    switch (element) {
    case Element::String:
        return true;
    case Element::Integer:
        return isInteger(trimmed);
    case Element::Real:
        return isReal(trimmed);
    case Element::Date:
        return QDateTime::fromString(trimmed.toString(), Qt::ISODate).isValid();
    case Element::Data:
        return isBase64(text);
    case Element::True:
    case Element::False:
        return trimmed.isEmpty();
    default:
        return false;
    }
}

} // namespace PropertyList
