// The XML property-list reader.
#include "scanner/PropertyListReaders.h"

#include <QDateTime>
#include <QStringDecoder>
#include <QXmlStreamReader>

#include <vector>

namespace PropertyList {
namespace {

// --- XML lists ----------------------------------------------------------------------------------
//
// QXmlStreamReader is iterative, and so is this walk: open containers live on an explicit stack
// whose size is the nesting depth, so a list nested 100,000 deep costs memory, not call depth.

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

Element elementOf(QStringView name)
{
    static const struct
    {
        QStringView name;
        Element element;
    } table[] = {
        {u"plist", Element::Plist}, {u"dict", Element::Dict},     {u"array", Element::Array},
        {u"key", Element::Key},     {u"string", Element::String}, {u"integer", Element::Integer},
        {u"real", Element::Real},   {u"date", Element::Date},     {u"data", Element::Data},
        {u"true", Element::True},   {u"false", Element::False},
    };
    for (const auto &entry : table) {
        if (entry.name == name)
            return entry.element;
    }
    return Element::Unknown;
}

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

// Whether a leaf element's text is a value of its type.
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

// What an open container expects next.
enum class Frame : quint8
{
    PlistEmpty,  // <plist> before its one value
    PlistFilled, // <plist> after its one value
    DictKey,     // a dictionary waiting for a <key> or its end
    DictValue,   // a dictionary waiting for the value of the key just read
    Array,
};

// The document's text: UTF-16 when it starts with a byte-order mark or "<" as a UTF-16 unit,
// else UTF-8, which is what lists are written in. Nothing when the bytes do not decode.
std::optional<QString> decodeXml(const QByteArray &bytes)
{
    auto encoding = QStringDecoder::Utf8;
    if (bytes.startsWith("\xFE\xFF") || bytes.startsWith(QByteArrayView("\0<", 2)))
        encoding = QStringDecoder::Utf16BE;
    else if (bytes.startsWith("\xFF\xFE") || bytes.startsWith(QByteArrayView("<\0", 2)))
        encoding = QStringDecoder::Utf16LE;
    QStringDecoder decoder(encoding);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

// QXmlStreamReader does more than linear work for some markup: every attribute of a tag is
// compared with those before it, every element searches the namespace declarations in scope and
// the attribute defaults of an internal DTD subset. Lists use none of these beyond a version
// attribute, so a document with an internal subset, a namespace declaration or a tag with more
// than a few attributes is refused before it is parsed. Linear in the text.
bool hasOnlyPlainMarkup(QStringView text)
{
    constexpr int kMaxAttributes = 8;
    const qsizetype size = text.size();
    qsizetype i = 0;
    // Moves past the next occurrence of end, or to the end of the text.
    auto skipPast = [&](QStringView end) {
        const qsizetype at = text.indexOf(end, i);
        i = at < 0 ? size : at + end.size();
    };
    while ((i = text.indexOf(u'<', i)) >= 0) {
        const QStringView rest = text.sliced(i);
        if (rest.startsWith(u"<!--")) {
            i += 4;
            skipPast(u"-->");
            continue;
        }
        if (rest.startsWith(u"<![CDATA[")) {
            i += 9;
            skipPast(u"]]>");
            continue;
        }
        if (rest.startsWith(u"<?")) {
            i += 2;
            skipPast(u"?>");
            continue;
        }
        const bool declaration = rest.startsWith(u"<!");
        int attributes = 0;
        char16_t quote = 0;
        for (++i; i < size; ++i) {
            const char16_t c = text[i].unicode();
            if (quote) {
                if (c == quote)
                    quote = 0;
            } else if (c == u'"' || c == u'\'') {
                quote = c;
            } else if (c == u'>') {
                break;
            } else if (declaration) {
                if (c == u'[')
                    return false; // an internal DTD subset
            } else if (c == u'=') {
                if (++attributes > kMaxAttributes)
                    return false;
            } else if (c == u'x' && text.sliced(i).startsWith(u"xmlns")) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

std::optional<TopLevelDictionary> readXml(const QByteArray &bytes)
{
    const std::optional<QString> text = decodeXml(bytes);
    if (!text || !hasOnlyPlainMarkup(*text))
        return std::nullopt;
    QXmlStreamReader xml(*text);
    std::vector<Frame> stack;
    size_t topDictDepth = 0; // the stack's size inside the top-level dictionary; 0 before it
    bool sawTopValue = false;
    TopLevelDictionary dict;
    QString pendingKey;

    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement: {
            const Element element = elementOf(xml.qualifiedName());
            bool isTopValue = false;
            bool isTopDictValue = false;
            if (stack.empty()) {
                if (sawTopValue)
                    return std::nullopt;
                if (element == Element::Plist) {
                    stack.push_back(Frame::PlistEmpty);
                    continue;
                }
                isTopValue = true; // a bare value without the <plist> wrapper
            } else {
                switch (stack.back()) {
                case Frame::PlistEmpty:
                    stack.back() = Frame::PlistFilled;
                    isTopValue = true;
                    break;
                case Frame::PlistFilled:
                    return std::nullopt; // a list holds one value
                case Frame::DictKey: {
                    if (element != Element::Key)
                        return std::nullopt;
                    QString key = xml.readElementText();
                    if (xml.hasError())
                        return std::nullopt;
                    if (stack.size() == topDictDepth) {
                        dict.keys.insert(key);
                        pendingKey = std::move(key);
                    }
                    stack.back() = Frame::DictValue;
                    continue;
                }
                case Frame::DictValue:
                    stack.back() = Frame::DictKey;
                    isTopDictValue = stack.size() == topDictDepth;
                    break;
                case Frame::Array:
                    break;
                }
            }

            if (isTopValue) {
                if (element != Element::Dict)
                    return std::nullopt;
                sawTopValue = true;
                stack.push_back(Frame::DictKey);
                topDictDepth = stack.size();
                continue;
            }
            if (element == Element::Dict || element == Element::Array) {
                if (isTopDictValue)
                    dict.strings.remove(pendingKey);
                stack.push_back(element == Element::Dict ? Frame::DictKey : Frame::Array);
                continue;
            }
            // A leaf: its text is read whole, and a child element inside it is an error.
            const QString text = xml.readElementText();
            if (xml.hasError() || !isValidLeaf(element, text))
                return std::nullopt;
            if (isTopDictValue) {
                if (element == Element::String)
                    dict.strings.insert(pendingKey, text);
                else
                    dict.strings.remove(pendingKey);
            }
            continue;
        }
        case QXmlStreamReader::EndElement:
            // Only containers are on the stack; leaves were read whole.
            if (stack.empty() || stack.back() == Frame::DictValue ||
                stack.back() == Frame::PlistEmpty)
                return std::nullopt;
            stack.pop_back();
            continue;
        case QXmlStreamReader::Characters:
            if (!xml.isWhitespace())
                return std::nullopt;
            continue;
        case QXmlStreamReader::DTD:
            // Never reached with declarations (see hasOnlyPlainMarkup); kept so that entity
            // expansion bombs and references to outside files stay refused whatever changes.
            if (!xml.entityDeclarations().isEmpty())
                return std::nullopt;
            continue;
        case QXmlStreamReader::EntityReference:
        case QXmlStreamReader::Invalid:
            return std::nullopt;
        default:
            continue;
        }
    }
    if (xml.hasError() || !sawTopValue)
        return std::nullopt;
    return dict;
}

} // namespace PropertyList
