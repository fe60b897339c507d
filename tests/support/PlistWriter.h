#pragma once

#include <QByteArray>
#include <QVariant>

// Writes real property lists for tests: XML and binary ("bplist00"). Values may be QString,
// bool, int/qint64, double, QByteArray (data), QVariantList (array) and QVariantMap (dictionary).
namespace PlistWriter {

QByteArray xml(const QVariant &root);
QByteArray binary(const QVariant &root);

} // namespace PlistWriter
