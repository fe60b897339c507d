#include "demo/PlistWriter.h"

#include <QDateTime>
#include <QHash>
#include <QTimeZone>
#include <QXmlStreamWriter>

#include <cstring>

namespace {

void writeXmlValue(QXmlStreamWriter &xml, const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QVariantMap: {
        xml.writeStartElement(QStringLiteral("dict"));
        const QVariantMap map = value.toMap();
        for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
            xml.writeTextElement(QStringLiteral("key"), it.key());
            writeXmlValue(xml, it.value());
        }
        xml.writeEndElement();
        break;
    }
    case QMetaType::QVariantList:
        xml.writeStartElement(QStringLiteral("array"));
        for (const QVariant &item : value.toList())
            writeXmlValue(xml, item);
        xml.writeEndElement();
        break;
    case QMetaType::Bool:
        xml.writeEmptyElement(value.toBool() ? QStringLiteral("true") : QStringLiteral("false"));
        break;
    case QMetaType::Int:
    case QMetaType::LongLong:
        xml.writeTextElement(QStringLiteral("integer"), QString::number(value.toLongLong()));
        break;
    case QMetaType::Double:
        xml.writeTextElement(QStringLiteral("real"), QString::number(value.toDouble(), 'g', 17));
        break;
    case QMetaType::QDateTime:
        xml.writeTextElement(QStringLiteral("date"),
                             value.toDateTime().toUTC().toString(Qt::ISODate));
        break;
    case QMetaType::QByteArray:
        xml.writeTextElement(QStringLiteral("data"),
                             QString::fromLatin1(value.toByteArray().toBase64()));
        break;
    default:
        xml.writeTextElement(QStringLiteral("string"), value.toString());
        break;
    }
}

} // namespace

namespace PlistWriter {

QByteArray xml(const QVariant &root)
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeDTD(QStringLiteral("<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                                "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">"));
    xml.writeStartElement(QStringLiteral("plist"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
    writeXmlValue(xml, root);
    xml.writeEndElement();
    xml.writeEndDocument();
    return out;
}

} // namespace PlistWriter

namespace {

void appendBigEndian(QByteArray &out, quint64 value, int width)
{
    for (int i = width - 1; i >= 0; --i)
        out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

int widthFor(quint64 value)
{
    int width = 1;
    while (width < 8 && (value >> (8 * width)) != 0)
        ++width;
    return width;
}

bool isAscii(const QString &text)
{
    for (QChar c : text) {
        if (c.unicode() > 0x7F)
            return false;
    }
    return true;
}

// The value tree flattened into objects, children named by index; equal strings shared.
class Flattener
{
public:
    struct Node
    {
        QVariant value;
        QList<quint64> children; // array items, or a dictionary's keys then its values
    };

    quint64 add(const QVariant &value)
    {
        if (value.typeId() == QMetaType::QString) {
            const QString text = value.toString();
            auto it = m_strings.constFind(text);
            if (it != m_strings.constEnd())
                return *it;
            m_strings.insert(text, m_nodes.size());
        }
        const quint64 index = m_nodes.size();
        m_nodes.append({value, {}});
        QList<quint64> children;
        if (value.typeId() == QMetaType::QVariantList) {
            for (const QVariant &item : value.toList())
                children.append(add(item));
        } else if (value.typeId() == QMetaType::QVariantMap) {
            const QVariantMap map = value.toMap();
            QList<quint64> values;
            for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
                children.append(add(it.key()));
                values.append(add(it.value()));
            }
            children.append(values);
        }
        m_nodes[index].children = children;
        return index;
    }

    const QList<Node> &nodes() const { return m_nodes; }

private:
    QList<Node> m_nodes;
    QHash<QString, quint64> m_strings;
};

QByteArray encodeNode(const Flattener::Node &node, const PlistWriter::BinaryBuilder &builder)
{
    using PlistWriter::BinaryBuilder;
    const QVariant &value = node.value;
    QByteArray out;
    switch (value.typeId()) {
    case QMetaType::QVariantList: {
        return builder.array(node.children);
    }
    case QMetaType::QVariantMap: {
        const qsizetype half = node.children.size() / 2;
        return builder.dict(node.children.mid(0, half), node.children.mid(half));
    }
    case QMetaType::Bool:
        out.append(static_cast<char>(value.toBool() ? 0x09 : 0x08));
        return out;
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
        return BinaryBuilder::integer(value.toLongLong());
    case QMetaType::Double:
    case QMetaType::QDateTime: {
        double number = value.toDouble();
        if (value.typeId() == QMetaType::QDateTime) {
            // Seconds since 2001-01-01 00:00:00 UTC.
            const QDateTime epoch(QDate(2001, 1, 1), QTime(0, 0), QTimeZone::utc());
            number = epoch.msecsTo(value.toDateTime()) / 1000.0;
            out.append(static_cast<char>(0x33));
        } else {
            out.append(static_cast<char>(0x23));
        }
        quint64 bits = 0;
        std::memcpy(&bits, &number, sizeof bits);
        appendBigEndian(out, bits, 8);
        return out;
    }
    case QMetaType::QByteArray: {
        const QByteArray data = value.toByteArray();
        return BinaryBuilder::marker(0x4, data.size()) + data;
    }
    default: {
        const QString text = value.toString();
        return isAscii(text) ? BinaryBuilder::ascii(text.toLatin1()) : BinaryBuilder::utf16(text);
    }
    }
}

} // namespace

namespace PlistWriter {

QByteArray binary(const QVariant &root)
{
    Flattener flattener;
    flattener.add(root);
    const QList<Flattener::Node> &nodes = flattener.nodes();
    BinaryBuilder builder(widthFor(nodes.size()));
    for (const Flattener::Node &node : nodes)
        builder.add(encodeNode(node, builder));
    return builder.build(0);
}

quint64 BinaryBuilder::add(const QByteArray &object)
{
    m_objects.append(object);
    return m_objects.size() - 1;
}

QByteArray BinaryBuilder::marker(quint8 type, quint64 count)
{
    QByteArray out;
    if (count < 15) {
        out.append(static_cast<char>((type << 4) | count));
        return out;
    }
    out.append(static_cast<char>((type << 4) | 0x0F));
    const int width = widthFor(count);
    const int exponent = width == 1 ? 0 : width == 2 ? 1 : width <= 4 ? 2 : 3;
    out.append(static_cast<char>(0x10 | exponent));
    appendBigEndian(out, count, 1 << exponent);
    return out;
}

QByteArray BinaryBuilder::ref(quint64 index) const
{
    QByteArray out;
    appendBigEndian(out, index, m_refSize);
    return out;
}

QByteArray BinaryBuilder::ascii(const QByteArray &latin1)
{
    return marker(0x5, latin1.size()) + latin1;
}

QByteArray BinaryBuilder::utf16(const QString &text)
{
    QByteArray out = marker(0x6, text.size());
    for (QChar c : text)
        appendBigEndian(out, c.unicode(), 2);
    return out;
}

QByteArray BinaryBuilder::integer(qint64 value)
{
    QByteArray out;
    const quint64 bits = static_cast<quint64>(value);
    if (value < 0 || bits > 0xFFFFFFFFu) {
        out.append(static_cast<char>(0x13));
        appendBigEndian(out, bits, 8);
    } else {
        const int width = widthFor(bits);
        const int exponent = width == 1 ? 0 : width == 2 ? 1 : 2;
        out.append(static_cast<char>(0x10 | exponent));
        appendBigEndian(out, bits, 1 << exponent);
    }
    return out;
}

QByteArray BinaryBuilder::array(const QList<quint64> &items) const
{
    QByteArray out = marker(0xA, items.size());
    for (quint64 item : items)
        out += ref(item);
    return out;
}

QByteArray BinaryBuilder::dict(const QList<quint64> &keys, const QList<quint64> &values) const
{
    QByteArray out = marker(0xD, keys.size());
    for (quint64 key : keys)
        out += ref(key);
    for (quint64 value : values)
        out += ref(value);
    return out;
}

QByteArray BinaryBuilder::build(quint64 topObject) const
{
    QByteArray out("bplist00");
    QList<quint64> offsets;
    offsets.reserve(m_objects.size());
    for (const QByteArray &object : m_objects) {
        offsets.append(out.size());
        out += object;
    }
    const quint64 tableOffset = out.size();
    const int offsetSize = widthFor(offsets.isEmpty() ? 0 : offsets.last());
    for (quint64 offset : offsets)
        appendBigEndian(out, offset, offsetSize);
    out.append(QByteArray(6, '\0')); // unused bytes and the sort version
    out.append(static_cast<char>(offsetSize));
    out.append(static_cast<char>(m_refSize));
    appendBigEndian(out, m_objects.size(), 8);
    appendBigEndian(out, topObject, 8);
    appendBigEndian(out, tableOffset, 8);
    return out;
}

} // namespace PlistWriter
