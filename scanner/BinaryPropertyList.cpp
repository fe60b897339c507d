// The binary property-list reader ("bplist00").
#include "scanner/PropertyListReaders.h"

#include <QStringDecoder>

#include <vector>

namespace PropertyList {
namespace {

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
    std::optional<QString> arrayHead(quint64 offset);
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

// The first item of the array at offset (already inspected) when it is a string. The item is
// decoded within the budget like any other, and a broken one is passed over: the array's
// contents are not part of the list's shape.
std::optional<QString> BinaryReader::arrayHead(quint64 offset)
{
    if ((m_data[offset] >> 4) != 0xA)
        return std::nullopt;
    quint64 pos = offset + 1;
    quint64 count = 0;
    if (!readCount(pos, m_data[offset] & 0x0F, &count) || count == 0)
        return std::nullopt;
    const std::optional<quint64> item = objectOffset(bigEndian(pos, m_refSize));
    QString string;
    if (!item || inspect(*item, &string) != Kind::String)
        return std::nullopt;
    return string;
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
        if (const std::optional<QString> head =
                kind == Kind::Other ? arrayHead(*valueOffset) : std::nullopt)
            dict.arrayHeads.insert(key, *head);
        else
            dict.arrayHeads.remove(key);
    }
    return dict;
}

} // namespace

std::optional<TopLevelDictionary> readBinary(const QByteArray &bytes)
{
    return BinaryReader(bytes).read();
}

} // namespace PropertyList
