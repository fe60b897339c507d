#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

// The medium date style ("Dec 6, 2026" in American English, "6 Dec 2026" in British English and
// the C locale), which Qt does not offer: the locale's long format without the weekday and with
// abbreviated month names.
QString mediumDateFormat(const QLocale &locale);
// date in the medium style of locale (the default locale unless given).
QString formatMediumDate(const QDate &date, const QLocale &locale = QLocale());
