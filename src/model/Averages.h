#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <optional>

// Student averages, ranking and the class report, computed from the texts of a class grid: rubric columns
// 2 onwards with their coefficient in row 1, one student per row from row 2, the student's name in column 1.
namespace averages {

// Reads one cell of the class grid (column, row).
using CellReader = std::function<QString(int col, int row)>;

// A rectangle of grid cells, first <= last in both directions.
struct Range
{
    int firstRow = 0, lastRow = 0, firstCol = 0, lastCol = 0;
    bool operator==(const Range&) const = default;
};

// A grid row and its average.
struct RowAverage
{
    int row = 0;
    double average = 0;
    bool operator==(const RowAverage&) const = default;
};

// The figures of the report over the ranked rows.
struct ClassFigures
{
    int count = 0; // rows that have an average; the other figures mean nothing when it is 0
    double average = 0;
    double highest = -99999;
    double lowest = 99999;
    int belowAverage = 0;
    int atOrAboveAverage = 0;
    int below10 = 0;
    int atOrAbove10 = 0;
    int below8 = 0;
    int from8To12 = 0;
    int atOrAbove12 = 0;
};

// Marks and coefficients: a decimal number with the comma, blanks allowed at both ends.
std::optional<double> readNumber(const QString& text);

// Scanning up from the last row to row 2, the first row whose first rubric (column 2) is filled; 2 when none is.
int lastStudentRow(const CellReader& cell, int rowCount);

// A single selected cell stands for the whole class (rows 2 to the last student row, every rubric);
// a larger selection is taken exactly.
Range averagedRange(const Range& selection, int lastStudentRow, int colCount);

// The average of one student over the columns firstCol to lastCol: the plain mean of mark x coefficient over
// the columns that count. A column whose coefficient is empty, not a number or below 0,1 never counts; an empty
// mark counts as 0; a mark that is not a number leaves that column out for this student. With no column
// counting (or a result too large to be a number) the student has no average.
std::optional<double> studentAverage(const CellReader& cell, int row, int firstCol, int lastCol);

// Every row of the range that has an average, top to bottom; rowsWithout receives the others.
QVector<RowAverage> rowAverages(const CellReader& cell, const Range& range, QVector<int>* rowsWithout = nullptr);

// What the report and the averages chart both start from: the rows and rubrics the selection stands for
// (see averagedRange), and the average of each of those rows, in row order.
QVector<RowAverage> selectionAverages(const CellReader& cell, const Range& selection, int rowCount, int colCount,
                                      QVector<int>* rowsWithout = nullptr);

// Best first, by the exchange sort the report has always used: equal averages are never swapped directly,
// so their final order is the one the sort leaves (rows 1, 2, 3 averaging 12, 12, 15 come out 3, 2, 1).
void rankByExchange(QVector<RowAverage>& rows);

ClassFigures classFigures(const QVector<RowAverage>& rows);

// The class figures as the report lists them, in groups that an empty line parts: each label exactly as the report
// writes it (its blanks and tabs included) and its figure, an average ("0.00") or a count.
struct FigureLine
{
    QString label;
    double value = 0;
    bool isAverage = false;
};
QList<QList<FigureLine>> figureLines(const ClassFigures& figures);

// Everything the report computes from the grid and the selection.
struct Results
{
    int lastStudentRow = 2;
    QVector<RowAverage> ranked; // best first
    QVector<int> rowsWithout;   // rows of the range that have no average, top to bottom
    ClassFigures figures;       // over the ranked rows
};
Results results(const CellReader& cell, const Range& selection, int rowCount, int colCount);

// The marks of one rubric over the given rows, each read as an average reads it (an empty mark is 0, a mark that
// is not a number is left out); none at all when the rubric's coefficient leaves it out of every average.
struct RubricFigures
{
    int count = 0; // marks read; the other figures mean nothing when it is 0
    double average = 0;
    double highest = 0;
    double lowest = 0;
};
RubricFigures rubricFigures(const CellReader& cell, int col, const QVector<RowAverage>& rows);

// Everything one report needs besides the grid.
struct ReportInput
{
    QString fileName; // full path of the class file, empty for a class never saved
    QDate today;
    Range selection;
    int rowCount = 64;
    int colCount = 32;
};

// The class report, line by line, as it is appended to the text editor.
QStringList report(const CellReader& cell, const ReportInput& input);

} // namespace averages
