#pragma once

#include "core/TextFile.h"

#include <QByteArray>
#include <QColor>
#include <QRect>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

// The annual planning as it is stored: one list of text lines for every year. A month line is the year in
// four digits, the month as one hexadecimal digit ("1" to "C") and one character per day 1 to 31, the
// subject digit of a marked day or a space. "PRJ" + subject digit + name names a subject. Any other line
// is kept as it is.
namespace planning {

// Far more than any planning (a year takes twelve lines of 36 characters, half a kilobyte); a larger file is
// refused before it is read.
constexpr textfile::Limit FileLimit{1024 * 1024, u"un fichier de planning"};

constexpr int Months = 12;
constexpr int Days = 31;
constexpr int Subjects = 8;
// Years of four digits only: a month line starts with exactly four, so another year could not be read back.
constexpr int FirstYear = 1000;
constexpr int LastYear = 9999;

// What the grid shows for one year: [month - 1][day - 1], an empty text or the day's character.
using YearCells = std::array<std::array<QString, Days>, Months>;

// Every fourth year has a 29 February, the century years included.
int daysInMonth(int month, int year);

QString monthLine(int year, int month, const std::array<QString, Days>& days);

// The colour of a subject digit; white for an empty day and for a digit outside 1 to 8. A character that
// is not a digit (from a file made elsewhere) is silver, so the day still shows as taken and a click
// clears it.
QColor dayColour(const QString& cell);
QColor subjectColour(int subject);

// The coloured square of day cell (column, row) in the grid's unscrolled coordinates, right and bottom
// edges excluded: it covers the day's character and leaves the grid lines alone.
QRect daySquare(int col, int row);

class PlanningList
{
public:
    // A planning built by the program starts with a line of one space.
    PlanningList() : m_lines{QStringLiteral(" ")} {}

    const QStringList& lines() const { return m_lines; }
    void setLines(const QStringList& lines) { m_lines = lines; }

    // Puts the year's twelve month lines at the end of the list, in place of every line of that year.
    void EcritAn(int year, const YearCells& cells);
    // The year as the grid shows it; a later line of a month overwrites an earlier one.
    YearCells LitAn(int year) const;

    // Replaces the first project line of the subject by its new name; a subject that has none gets one
    // at the end of the list, so the name comes back with the class. Returns whether one existed.
    bool MajPrj(int subject, const QString& name);
    // The name held by the first project line of the subject, if it has one.
    std::optional<QString> projectName(int subject) const;

    QByteArray toBytes() const;
    static PlanningList fromBytes(const QByteArray& bytes);

private:
    QStringList m_lines;
};

} // namespace planning
