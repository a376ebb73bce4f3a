#include "tools/MonthGrid.h"

#include "core/FrenchDates.h"

namespace {

bool inRange(const QDate& date)
{
    return date.isValid() && date.year() >= MonthGrid::FirstYear && date.year() <= MonthGrid::LastYear;
}

} // namespace

MonthGrid::MonthGrid(const QDate& date, int startOfWeek)
    : m_date(inRange(date) ? date : QDate(2000, 1, 1)), m_startOfWeek(((startOfWeek % 7) + 7) % 7)
{
}

bool MonthGrid::setDate(const QDate& date)
{
    if (!inRange(date) || date == m_date)
        return false;
    m_date = date;
    return true;
}

int MonthGrid::firstColumn() const
{
    const QDate first(m_date.year(), m_date.month(), 1);
    const int fromSunday = first.dayOfWeek() % 7; // Qt counts Monday 1 to Sunday 7
    return (fromSunday - m_startOfWeek + 7) % 7;
}

int MonthGrid::dayAt(int col, int row) const
{
    if (col < 0 || col >= Columns || row < 1 || row >= Rows)
        return 0;
    const int day = (row - 1) * Columns + col - firstColumn() + 1;
    return day >= 1 && day <= m_date.daysInMonth() ? day : 0;
}

QString MonthGrid::cellText(int col, int row) const
{
    if (col < 0 || col >= Columns || row < 0 || row >= Rows)
        return {};
    if (row == 0)
        return frdate::shortDayName((col + m_startOfWeek) % 7);
    const int day = dayAt(col, row);
    return day ? QString::number(day) : QString();
}

QPoint MonthGrid::cellOfDay(int day) const
{
    if (day < 1 || day > m_date.daysInMonth())
        return {-1, -1};
    const int index = firstColumn() + day - 1;
    return {index % Columns, 1 + index / Columns};
}

QDate MonthGrid::previousMonth(const QDate& date)
{
    // Qt keeps the day, or takes the month's last day when it has fewer.
    const QDate moved = date.addMonths(-1);
    return inRange(moved) ? moved : date;
}

QDate MonthGrid::nextMonth(const QDate& date)
{
    const QDate moved = date.addMonths(1);
    return inRange(moved) ? moved : date;
}

QString MonthGrid::heading(const QDate& date)
{
    return frdate::longMonthName(date.month()) + QStringLiteral("  ") +
           QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
}

QSize MonthGrid::cellSize(const QSize& client, int gridLineWidth)
{
    return {(client.width() - (Columns - 1) * gridLineWidth) / Columns,
            (client.height() - (Rows - 1) * gridLineWidth) / Rows};
}
