#pragma once

#include <QDate>
#include <QString>
#include <QTime>

// Dates and times on French settings, whatever the machine's locale.
namespace frdate {

// "dd/mm/yyyy"
QString shortDate(const QDate& date);
// "HH:mm:ss", 24-hour
QString longTime(const QTime& time);
// "janvier" ... "décembre" for months 1 to 12
QString longMonthName(int month);
// "dim." ... "sam." for days 0 (Sunday) to 6
QString shortDayName(int dayOfWeekFromSunday);
// Reads "dd/mm/yyyy" (a two-digit year is 19xx); an invalid QDate when it is not a date.
QDate readShortDate(const QString& text);

} // namespace frdate
