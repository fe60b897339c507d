#include "model/ByteCountFormat.h"

#include <QLocale>

#include <cmath>

QString formatByteCount(qint64 bytes)
{
    const QLocale locale;
    if (bytes < 0)
        return QStringLiteral("-") + formatByteCount(bytes == INT64_MIN ? INT64_MAX : -bytes);
    if (bytes == 1)
        return QStringLiteral("1 byte");
    if (bytes < 1000)
        return locale.toString(bytes) + QStringLiteral(" bytes");

    static const char *const units[] = {"kB", "MB", "GB", "TB", "PB", "EB"};
    // Kilobytes show whole numbers, megabytes one decimal, larger units two: the precision a
    // reader needs to compare sizes at each magnitude.
    static const int decimals[] = {0, 1, 2, 2, 2, 2};
    double value = static_cast<double>(bytes);
    int unit = -1;
    do {
        value /= 1000.0;
        ++unit;
    } while (unit < 5 &&
             std::round(value * std::pow(10, decimals[unit])) / std::pow(10, decimals[unit]) >=
                 1000.0);

    QString number = locale.toString(value, 'f', decimals[unit]);
    // "2.00 GB" reads better as "2 GB".
    if (decimals[unit] > 0) {
        const QChar point = locale.decimalPoint().at(0);
        if (number.contains(point)) {
            while (number.endsWith(QLatin1Char('0')))
                number.chop(1);
            if (number.endsWith(point))
                number.chop(1);
        }
    }
    return number + QLatin1Char(' ') + QString::fromLatin1(units[unit]);
}
