#include "tools/ClockFields.h"

#include <algorithm>

namespace clockfields {

namespace {

struct Place
{
    qsizetype start; // from 0
    qsizetype length;
};

Place placeOf(Field field)
{
    switch (field) {
    case Field::Hour:
    case Field::Day:
        return {0, 2};
    case Field::Minute:
    case Field::Month:
        return {3, 2};
    case Field::Year:
        return {6, 4};
    }
    return {0, 0};
}

// The whole number standing at a place of the text; the place may run past the end of a short text,
// as the year of "dd/mm/yy" does.
int numberAt(const QString& text, qsizetype start, qsizetype length)
{
    const QString digits = text.mid(start, length);
    if (digits.isEmpty())
        return -1;
    for (const QChar c : digits)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
    return digits.toInt();
}

} // namespace

Bounds bounds(Field field)
{
    switch (field) {
    case Field::Hour:
        return {0, 23};
    case Field::Minute:
        return {0, 59};
    case Field::Day:
        return {1, 31};
    case Field::Month:
        return {1, 12};
    case Field::Year:
        return {1900, 2099};
    }
    return {0, 0};
}

int fullYear(int year)
{
    return year >= 0 && year < 100 ? 1900 + year : year;
}

int value(const QString& text, Field field)
{
    const Place place = placeOf(field);
    const int n = numberAt(text, place.start, place.length);
    return field == Field::Year && n >= 0 ? fullYear(n) : n;
}

QString step(const QString& text, Field field, int delta)
{
    const int current = value(text, field);
    if (current < 0)
        return text;
    const Bounds b = bounds(field);
    const int next = std::clamp(current + delta, b.low, b.high);
    const Place place = placeOf(field);
    const int width = field == Field::Year ? 4 : 2;
    QString out = text;
    out.replace(place.start, std::min(place.length, text.size() - place.start),
                QStringLiteral("%1").arg(next, width, 10, QLatin1Char('0')));
    return out;
}

QDateTime read(const QString& timeText, const QString& dateText)
{
    const int year = value(dateText, Field::Year);
    const int month = value(dateText, Field::Month);
    const int day = value(dateText, Field::Day);
    const int hour = value(timeText, Field::Hour);
    const int minute = value(timeText, Field::Minute);
    const int second = numberAt(timeText, 6, 2);
    if (year < 0 || month < 0 || day < 0 || hour < 0 || minute < 0 || second < 0)
        return {};
    const QDate date(year, month, day);
    const QTime time(hour, minute, second, 0);
    if (!date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time);
}

} // namespace clockfields
