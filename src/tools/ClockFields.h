#pragma once

#include <QDateTime>
#include <QString>

// The clock's two texts, the time "hh:mm:ss" and the date "dd/mm/yyyy" (or "dd/mm/yy"), read and stepped
// field by field at fixed character places: hour and day at 1-2, minute and month at 4-5, second at 7-8,
// year at 7-10.
namespace clockfields {

enum class Field
{
    Hour,
    Minute,
    Day,
    Month,
    Year
};

struct Bounds
{
    int low;
    int high;
};

// Stepping stops at these, it never wraps round.
Bounds bounds(Field field);
// A year written with two digits belongs to the 1900s.
int fullYear(int year);
// The field's value in its text (the time text for hour and minute, the date text for the others);
// -1 when the characters there are not a number.
int value(const QString& text, Field field);
// The text with the field moved by delta and held within its bounds, written back with two digits, four
// for the year (a two-digit year becomes four). A text without a number at that place comes back unchanged.
QString step(const QString& text, Field field, int delta);
// The date and time the texts show, milliseconds 0; invalid when they do not make a real date and time.
QDateTime read(const QString& timeText, const QString& dateText);

} // namespace clockfields
