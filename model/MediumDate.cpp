#include "model/MediumDate.h"

namespace {

bool isSeparatorBesideWeekday(QChar c)
{
    return c.isSpace() || c == QLatin1Char(',') || c == QChar(0x060C) /* Arabic comma */
           || c == QChar(0x200F) /* right-to-left mark */;
}

} // namespace

QString mediumDateFormat(const QLocale &locale)
{
    QString format = locale.dateFormat(QLocale::LongFormat);
    const qsizetype weekday = format.indexOf(QLatin1String("dddd"));
    if (weekday >= 0) {
        qsizetype end = weekday + 4;
        if (end < format.size()) {
            // Words glued to the weekday ("ddddที่") go with it, then the separating spaces.
            while (end < format.size() && !format.at(end).isSpace() &&
                   !QStringView(u"dMy'").contains(format.at(end)))
                ++end;
            while (end < format.size() && isSeparatorBesideWeekday(format.at(end)))
                ++end;
            format.remove(weekday, end - weekday);
        } else {
            qsizetype start = weekday;
            while (start > 0 && isSeparatorBesideWeekday(format.at(start - 1)))
                --start;
            format.remove(start, end - start);
        }
    }
    format.replace(QLatin1String("MMMM"), QLatin1String("MMM"));
    format = format.trimmed();
    if (!format.contains(QLatin1Char('d')) || !format.contains(QLatin1Char('M')) ||
        !format.contains(QLatin1String("yy")) || format.contains(QLatin1String("ddd")))
        return QStringLiteral("d MMM yyyy");
    return format;
}

QString formatMediumDate(const QDate &date, const QLocale &locale)
{
    return locale.toString(date, mediumDateFormat(locale));
}
