#pragma once

#include <QDate>
#include <QPoint>
#include <QSize>
#include <QString>

// One month laid out as a calendar page: 7 columns and 7 rows, the first row naming the days of the week
// from the start-of-week day, the 6 rows below the day numbers week by week, days of other months left empty.
class MonthGrid
{
public:
    static constexpr int Columns = 7;
    static constexpr int Rows = 7;
    static constexpr int FirstYear = 1;
    static constexpr int LastYear = 9999;

    // startOfWeek: 0 puts Sunday in the first column, 1 Monday, and so on.
    explicit MonthGrid(const QDate& date, int startOfWeek = 0);

    const QDate& date() const { return m_date; }
    // Changes the current date; an invalid date or one outside the years 1 to 9999 is refused.
    bool setDate(const QDate& date);
    int startOfWeek() const { return m_startOfWeek; }

    // The column of the month's first day.
    int firstColumn() const;
    // The day number in a cell, 0 for the header row and for the cells outside the month.
    int dayAt(int col, int row) const;
    // What a cell shows: the short day names in the header, the day numbers, or nothing.
    QString cellText(int col, int row) const;
    QPoint cellOfDay(int day) const;
    QPoint selectedCell() const { return cellOfDay(m_date.day()); }

    // The same day of the previous or next month, or the last day of that month when it is shorter.
    static QDate previousMonth(const QDate& date);
    static QDate nextMonth(const QDate& date);
    // The month's full name in lower case, two blanks, the year: "octobre  1998".
    static QString heading(const QDate& date);
    // Every cell has the same size; the grid lines take their width between the cells.
    static QSize cellSize(const QSize& client, int gridLineWidth);

private:
    QDate m_date;
    int m_startOfWeek;
};
