#include "model/RecordId.h"

#include <QRandomGenerator>

#include <cstring>

QUuid newRecordId()
{
    thread_local QRandomGenerator64 generator(QRandomGenerator::system()->generate());
    quint64 bits[2] = {generator.generate(), generator.generate()};
    QByteArray bytes(sizeof bits, Qt::Uninitialized);
    std::memcpy(bytes.data(), bits, sizeof bits);
    bytes[6] = char((bytes[6] & 0x0F) | 0x40); // version 4: random
    bytes[8] = char((bytes[8] & 0x3F) | 0x80); // the RFC 4122 variant
    return QUuid::fromRfc4122(bytes);
}
