// The XML property-list reader: plain lists in one pass, anything else through QXmlStreamReader.
#include "scanner/PropertyListReaders.h"

#include "scanner/PlainPlistXml.h"
#include "scanner/PlistStructure.h"

#include <QStringDecoder>
#include <QXmlStreamReader>

namespace PropertyList {
namespace {

// --- XML lists ----------------------------------------------------------------------------------
//
// QXmlStreamReader is iterative, and so is this walk over its tokens: PlistStructure keeps the open
// containers on an explicit stack.

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
    // Most lists are plain ones, read in one pass; the rest take the full XML parser.
    if (TopLevelDictionary dict; readPlainXml(bytes, &dict))
        return dict;
    return readXmlFully(bytes);
}

std::optional<TopLevelDictionary> readXmlFully(const QByteArray &bytes)
{
    const std::optional<QString> text = decodeXml(bytes);
    if (!text || !hasOnlyPlainMarkup(*text))
        return std::nullopt;
    QXmlStreamReader xml(*text);
    PlistStructure structure;

    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement: {
            const PlistStructure::Step step = structure.open(elementOf(xml.qualifiedName()));
            if (step == PlistStructure::Step::Fail)
                return std::nullopt;
            if (step != PlistStructure::Step::Container) {
                // A key or leaf is read whole; a child element inside it is an error.
                QString leafText = xml.readElementText();
                if (xml.hasError() || !structure.text(std::move(leafText)))
                    return std::nullopt;
            }
            continue;
        }
        case QXmlStreamReader::EndElement:
            // Only containers get here; keys and leaves were read whole.
            if (!structure.close(elementOf(xml.qualifiedName())))
                return std::nullopt;
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
    if (xml.hasError() || !structure.finished())
        return std::nullopt;
    return structure.takeDictionary();
}

} // namespace PropertyList
