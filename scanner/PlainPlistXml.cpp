#include "scanner/PlainPlistXml.h"

#include "scanner/PlistStructure.h"

#include <cstring>

namespace PropertyList {
namespace {

constexpr const char *kDeclarations[] = {
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>",
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>",
    "<?xml version=\"1.0\"?>",
};
constexpr const char *kDoctypes[] = {
    "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
    "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">",
    "<!DOCTYPE plist PUBLIC \"-//Apple Computer//DTD PLIST 1.0//EN\" "
    "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">",
};
constexpr const char *kEntities[][2] = {
    {"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"},
};

struct Tag
{
    Element element = Element::Unknown;
    bool closing = false; // </name>
    bool empty = false;   // <name/>
};

class PlainReader
{
public:
    explicit PlainReader(const QByteArray &bytes)
        : m_at(bytes.constData()), m_end(bytes.constData() + bytes.size())
    {}

    bool read(TopLevelDictionary *dict);

private:
    void skipSpace()
    {
        while (m_at < m_end && (*m_at == ' ' || *m_at == '\n' || *m_at == '\t' || *m_at == '\r'))
            ++m_at;
    }
    bool skipLiteral(const char *text)
    {
        const size_t length = std::strlen(text);
        if (size_t(m_end - m_at) < length || std::memcmp(m_at, text, length) != 0)
            return false;
        m_at += length;
        return true;
    }
    template <size_t N> void skipOneOf(const char *const (&texts)[N])
    {
        for (const char *text : texts) {
            if (skipLiteral(text))
                return;
        }
    }
    bool readTag(Tag *tag);
    bool readText(Element element, QString *text);
    bool skipText(Element element);
    bool isPlainCharacter(qsizetype *length) const;

    const char *m_at;
    const char *m_end;
};

bool PlainReader::readTag(Tag *tag)
{
    if (m_at == m_end || *m_at != '<')
        return false;
    ++m_at;
    tag->closing = m_at < m_end && *m_at == '/';
    m_at += tag->closing;
    const char *name = m_at;
    while (m_at < m_end && *m_at >= 'a' && *m_at <= 'z')
        ++m_at;
    tag->element = elementOf(QLatin1StringView(name, m_at - name));
    if (tag->element == Element::Unknown)
        return false;
    if (!tag->closing && tag->element == Element::Plist)
        skipLiteral(" version=\"1.0\"");
    tag->empty = !tag->closing && skipLiteral("/");
    return skipLiteral(">");
}

// The length of the plain character at m_at: ASCII other than control characters, or a
// well-formed UTF-8 sequence of a character XML allows and that no reader treats specially.
bool PlainReader::isPlainCharacter(qsizetype *length) const
{
    const auto *p = reinterpret_cast<const unsigned char *>(m_at);
    const qsizetype left = m_end - m_at;
    if (p[0] < 0x80) {
        *length = 1;
        return (p[0] >= 0x20 || p[0] == '\t' || p[0] == '\n') && p[0] != 0x7F;
    }
    char32_t c = 0;
    if (p[0] >= 0xC2 && p[0] <= 0xDF) {
        *length = 2;
        c = p[0] & 0x1F;
    } else if (p[0] >= 0xE0 && p[0] <= 0xEF) {
        *length = 3;
        c = p[0] & 0x0F;
    } else if (p[0] >= 0xF0 && p[0] <= 0xF4) {
        *length = 4;
        c = p[0] & 0x07;
    } else {
        return false;
    }
    if (*length > left)
        return false;
    for (qsizetype i = 1; i < *length; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return false;
        c = (c << 6) | (p[i] & 0x3F);
    }
    const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < smallest[*length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return false;
    // C1 controls and non-characters: allowed by XML 1.0, but not worth a difference.
    return c > 0x9F && !(c >= 0xFDD0 && c <= 0xFDEF) && (c & 0xFFFE) != 0xFFFE;
}

// A leaf's text checked like readText's, but not kept: a string or key below the top level.
bool PlainReader::skipText(Element element)
{
    return readText(element, nullptr);
}

// The text of a leaf up to its end tag, which is consumed too; decoded into *text when given.
bool PlainReader::readText(Element element, QString *text)
{
    const char *start = m_at;
    QByteArray decoded; // only when an entity needs replacing
    const char *copiedUpTo = start;
    while (m_at < m_end && *m_at != '<') {
        if (*m_at == '&') {
            const char *entityAt = m_at;
            bool known = false;
            for (const auto &entity : kEntities) {
                if (skipLiteral(entity[0])) {
                    if (text)
                        decoded.append(copiedUpTo, entityAt - copiedUpTo).append(entity[1]);
                    copiedUpTo = m_at;
                    known = true;
                    break;
                }
            }
            if (!known)
                return false;
            continue;
        }
        if (*m_at == ']' && m_end - m_at >= 3 && std::memcmp(m_at, "]]>", 3) == 0)
            return false;
        qsizetype length = 0;
        if (!isPlainCharacter(&length))
            return false;
        m_at += length;
    }
    const char *stop = m_at;
    Tag end;
    if (!readTag(&end) || !end.closing || end.element != element)
        return false;
    if (!text)
        return true;
    if (copiedUpTo == start) {
        *text = QString::fromUtf8(start, stop - start);
    } else {
        decoded.append(copiedUpTo, stop - copiedUpTo);
        *text = QString::fromUtf8(decoded);
    }
    return true;
}

bool PlainReader::read(TopLevelDictionary *dict)
{
    // Nothing may come before an XML declaration, not even white space.
    skipOneOf(kDeclarations);
    skipSpace();
    skipOneOf(kDoctypes);

    PlistStructure structure;
    for (;;) {
        skipSpace();
        if (m_at == m_end)
            break;
        Tag tag;
        if (!readTag(&tag))
            return false;
        if (tag.closing) {
            if (!structure.close(tag.element))
                return false;
            continue;
        }
        switch (structure.open(tag.element)) {
        case PlistStructure::Step::Fail:
            return false;
        case PlistStructure::Step::Container:
            // An empty container opens and closes at once, so <plist/> is refused there.
            if (tag.empty && !structure.close(tag.element))
                return false;
            continue;
        case PlistStructure::Step::SkipText:
            if (!tag.empty && !skipText(tag.element))
                return false;
            continue;
        case PlistStructure::Step::ReadText: {
            QString text;
            if ((!tag.empty && !readText(tag.element, &text)) || !structure.text(std::move(text)))
                return false;
            continue;
        }
        }
    }
    if (!structure.finished())
        return false;
    *dict = structure.takeDictionary();
    return true;
}

} // namespace

bool readPlainXml(const QByteArray &bytes, TopLevelDictionary *dict)
{
    return PlainReader(bytes).read(dict);
}

} // namespace PropertyList
