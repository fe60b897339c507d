#pragma once

#include <QByteArray>
#include <QList>
#include <QVariant>

// Writes real property lists for the sample machine and the tests: XML and binary ("bplist00").
// Values may be QString, bool, int/qint64, double, QDateTime (date), QByteArray (data),
// QVariantList (array) and QVariantMap (dictionary). Equal strings are written once in binary
// lists, as real writers do.
namespace PlistWriter {

QByteArray xml(const QVariant &root);
QByteArray binary(const QVariant &root);

// Assembles a binary list from hand-made objects, for shapes no well-behaved writer produces:
// cycles, shared containers, non-string keys, chains nested 100,000 deep. Objects are named by
// the index add() returns; references are written with refSize bytes.
class BinaryBuilder
{
public:
    explicit BinaryBuilder(int refSize = 4) : m_refSize(refSize) {}

    // Appends one encoded object; returns its index.
    quint64 add(const QByteArray &object);
    // The marker byte of type (high nibble) with count, using the extended form from 15 on.
    static QByteArray marker(quint8 type, quint64 count);
    QByteArray ref(quint64 index) const;

    // Encoded objects, ready for add().
    static QByteArray ascii(const QByteArray &latin1);
    static QByteArray utf16(const QString &text);
    static QByteArray integer(qint64 value);
    QByteArray array(const QList<quint64> &items) const;
    QByteArray dict(const QList<quint64> &keys, const QList<quint64> &values) const;

    // Header, objects, offset table and trailer, with topObject as the root.
    QByteArray build(quint64 topObject) const;

private:
    int m_refSize;
    QList<QByteArray> m_objects;
};

} // namespace PlistWriter
