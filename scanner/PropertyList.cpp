#include "scanner/PropertyList.h"

#include <QDateTime>
#include <QStringDecoder>
#include <QXmlStreamReader>

#include <vector>

namespace PropertyList {
namespace {

// --- Binary lists -------------------------------------------------------------------------------
//
// Layout: "bplist00", the objects, an offset table (one big-endian offset per object), and a
// 32-byte trailer giving the widths of offsets and object references, the object count, the top
// object and where the offset table starts. Every number read from the file is checked against
// the buffer before it is used, and only the top-level dictionary's direct keys and values are
// looked at, so nested containers (and cycles between them) are never walked.

constexpr quint64 kHeaderSize = 8;
constexpr quint64 kTrailerSize = 32;

class BinaryReader
{
public:
    explicit BinaryReader(const QByteArray &bytes)
        : m_data(reinterpret_cast<const uchar *>(bytes.constData())),
          m_size(static_cast<quint64>(bytes.size())),
          // A well-formed list decodes each string once and hashes each top-level key once,
          // which never costs more than its own size; objects that overlap or keys shared by
          // many entries could cost far more, and are refused once past this.
          m_budget(2 * m_size + 1024)
    {}

    std::optional<TopLevelDictionary> read();

private:
    enum class Kind
    {
        String,
        Other,
        Invalid
    };

    bool readTrailer();
    std::optional<quint64> objectOffset(quint64 ref) const;
    bool readCount(quint64 &pos, quint8 info, quint64 *count) const;
    Kind inspect(quint64 offset, QString *string);
    bool spend(quint64 cost);

    quint64 bigEndian(quint64 pos, int width) const
    {
        quint64 value = 0;
        for (int i = 0; i < width; ++i)
            value = (value << 8) | m_data[pos + i];
        return value;
    }
    // Whether length bytes from pos lie inside the object area (pos itself must already be).
    bool fits(quint64 pos, quint64 length) const { return length <= m_objectsEnd - pos; }

    const uchar *m_data;
    quint64 m_size;
    quint64 m_budget;
    int m_offsetSize = 0;
    int m_refSize = 0;
    quint64 m_objectCount = 0;
    quint64 m_topObject = 0;
    quint64 m_objectsEnd = 0;          // where the offset table starts; every object lies before it
    QHash<quint64, QString> m_decoded; // strings already decoded, by offset
};

bool BinaryReader::readTrailer()
{
    // Header, at least one object, one offset, trailer.
    if (m_size < kHeaderSize + 2 + kTrailerSize)
        return false;
    const quint64 trailer = m_size - kTrailerSize;
    m_offsetSize = m_data[trailer + 6];
    m_refSize = m_data[trailer + 7];
    m_objectCount = bigEndian(trailer + 8, 8);
    m_topObject = bigEndian(trailer + 16, 8);
    const quint64 tableOffset = bigEndian(trailer + 24, 8);
    if (m_offsetSize < 1 || m_offsetSize > 8 || m_refSize < 1 || m_refSize > 8)
        return false;
    if (m_objectCount == 0 || m_topObject >= m_objectCount)
        return false;
    if (tableOffset <= kHeaderSize || tableOffset >= trailer)
        return false;
    if (m_objectCount > (trailer - tableOffset) / static_cast<quint64>(m_offsetSize))
        return false;
    m_objectsEnd = tableOffset;
    return true;
}

std::optional<quint64> BinaryReader::objectOffset(quint64 ref) const
{
    if (ref >= m_objectCount)
        return std::nullopt;
    const quint64 offset = bigEndian(m_objectsEnd + ref * m_offsetSize, m_offsetSize);
    if (offset < kHeaderSize || offset >= m_objectsEnd)
        return std::nullopt;
    return offset;
}

// A count is the marker's low nibble, or when that is 0xF, an integer object that follows.
bool BinaryReader::readCount(quint64 &pos, quint8 info, quint64 *count) const
{
    if (info != 0xF) {
        *count = info;
        return true;
    }
    if (pos >= m_objectsEnd)
        return false;
    const quint8 marker = m_data[pos];
    if ((marker & 0xF0) != 0x10 || (marker & 0x0F) > 3)
        return false;
    const int width = 1 << (marker & 0x0F);
    if (!fits(pos + 1, width))
        return false;
    *count = bigEndian(pos + 1, width);
    pos += 1 + width;
    return true;
}

bool BinaryReader::spend(quint64 cost)
{
    if (cost > m_budget)
        return false;
    m_budget -= cost;
    return true;
}

// Whether the object at offset is a string (decoded into *string), another well-formed value,
// or broken. Containers are only checked to fit, not entered.
BinaryReader::Kind BinaryReader::inspect(quint64 offset, QString *string)
{
    const auto cached = m_decoded.constFind(offset);
    if (cached != m_decoded.constEnd()) {
        *string = *cached;
        return Kind::String;
    }
    const quint8 marker = m_data[offset];
    const quint8 info = marker & 0x0F;
    quint64 pos = offset + 1;
    quint64 count = 0;
    switch (marker >> 4) {
    case 0x0: // null, false, true, fill
        return info == 0x0 || info == 0x8 || info == 0x9 || info == 0xF ? Kind::Other
                                                                        : Kind::Invalid;
    case 0x1: // integer of 2^info bytes
        return info <= 4 && fits(pos, quint64(1) << info) ? Kind::Other : Kind::Invalid;
    case 0x2: // real of 4 or 8 bytes
        return (info == 2 || info == 3) && fits(pos, quint64(1) << info) ? Kind::Other
                                                                         : Kind::Invalid;
    case 0x3: // date
        return info == 3 && fits(pos, 8) ? Kind::Other : Kind::Invalid;
    case 0x4: // data
        return readCount(pos, info, &count) && fits(pos, count) ? Kind::Other : Kind::Invalid;
    case 0x8: // UID
        return fits(pos, info + 1) ? Kind::Other : Kind::Invalid;
    case 0xA: // array
    case 0xC: // set
        return readCount(pos, info, &count) && count <= (m_objectsEnd - pos) / m_refSize
                   ? Kind::Other
                   : Kind::Invalid;
    case 0xD: // dictionary
        return readCount(pos, info, &count) && count <= (m_objectsEnd - pos) / (2 * m_refSize)
                   ? Kind::Other
                   : Kind::Invalid;
    case 0x5: { // ASCII string, count bytes
        if (!readCount(pos, info, &count) || !fits(pos, count) || !spend(count))
            return Kind::Invalid;
        const char *chars = reinterpret_cast<const char *>(m_data + pos);
        for (quint64 i = 0; i < count; ++i) {
            if (static_cast<uchar>(chars[i]) > 0x7F)
                return Kind::Invalid;
        }
        *string = QString::fromLatin1(chars, static_cast<qsizetype>(count));
        m_decoded.insert(offset, *string);
        return Kind::String;
    }
    case 0x6: { // UTF-16 big-endian string, count code units
        if (!readCount(pos, info, &count) || count > (m_objectsEnd - pos) / 2 || !spend(2 * count))
            return Kind::Invalid;
        QString decoded(static_cast<qsizetype>(count), Qt::Uninitialized);
        QChar *out = decoded.data();
        for (quint64 i = 0; i < count; ++i)
            out[i] = QChar(static_cast<char16_t>(bigEndian(pos + 2 * i, 2)));
        *string = decoded;
        m_decoded.insert(offset, decoded);
        return Kind::String;
    }
    default:
        return Kind::Invalid;
    }
}

std::optional<TopLevelDictionary> BinaryReader::read()
{
    if (!readTrailer())
        return std::nullopt;
    const std::optional<quint64> top = objectOffset(m_topObject);
    if (!top || (m_data[*top] >> 4) != 0xD)
        return std::nullopt;
    quint64 pos = *top + 1;
    quint64 count = 0;
    if (!readCount(pos, m_data[*top] & 0x0F, &count) ||
        count > (m_objectsEnd - pos) / (2 * m_refSize))
        return std::nullopt;
    const quint64 keyRefs = pos;
    const quint64 valueRefs = pos + count * m_refSize;

    TopLevelDictionary dict;
    for (quint64 i = 0; i < count; ++i) {
        const std::optional<quint64> keyOffset =
            objectOffset(bigEndian(keyRefs + i * m_refSize, m_refSize));
        const std::optional<quint64> valueOffset =
            objectOffset(bigEndian(valueRefs + i * m_refSize, m_refSize));
        if (!keyOffset || !valueOffset)
            return std::nullopt;
        QString key;
        if (inspect(*keyOffset, &key) != Kind::String || !spend(key.size()))
            return std::nullopt;
        QString value;
        const Kind kind = inspect(*valueOffset, &value);
        if (kind == Kind::Invalid)
            return std::nullopt;
        dict.keys.insert(key);
        if (kind == Kind::String)
            dict.strings.insert(key, value);
        else
            dict.strings.remove(key);
    }
    return dict;
}

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

} // namespace

std::optional<TopLevelDictionary> readTopLevelDictionary(const QByteArray &bytes)
{
    if (bytes.isEmpty() || bytes.size() > kMaxInputBytes)
        return std::nullopt;
    if (bytes.startsWith("bplist")) {
        if (!bytes.startsWith("bplist00"))
            return std::nullopt;
        return BinaryReader(bytes).read();
    }
    return readXml(bytes);
}

} // namespace PropertyList
