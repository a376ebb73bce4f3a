#include "model/Averages.h"

#include "core/FileNames.h"
#include "core/FrenchDates.h"
#include "core/FrenchNumbers.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace averages {
namespace {

constexpr int FirstStudentRow = 2;
constexpr int FirstRubricCol = 2;
constexpr int CoefficientRow = 1;
constexpr int NameCol = 1;
// Below this a coefficient leaves its rubric out: 0 is the teacher's way of switching a rubric off.
constexpr double SmallestCoefficient = 0.1;

const QString Tab = QStringLiteral("\t");

// What stands in the report where a figure cannot be computed (no student has an average).
const QString NoFigure = QStringLiteral("-");

QString figure(const ClassFigures& figures, double value)
{
    return figures.count > 0 ? frnum::format00(value) : NoFigure;
}

} // namespace

std::optional<double> readNumber(const QString& text)
{
    return frnum::read(text);
}

int lastStudentRow(const CellReader& cell, int rowCount)
{
    for (int row = rowCount - 1; row >= FirstStudentRow; --row)
        if (!cell(FirstRubricCol, row).isEmpty())
            return row;
    return FirstStudentRow;
}

Range averagedRange(const Range& selection, int lastStudentRow, int colCount)
{
    Range range{std::min(selection.firstRow, selection.lastRow), std::max(selection.firstRow, selection.lastRow),
                std::min(selection.firstCol, selection.lastCol), std::max(selection.firstCol, selection.lastCol)};
    if (range.firstRow == range.lastRow && range.firstCol == range.lastCol)
        return {FirstStudentRow, lastStudentRow, FirstRubricCol, colCount - 1};
    return range;
}

namespace {

// The coefficients of the rubrics firstCol onwards; none where a rubric does not count (no coefficient,
// one that is not a number or below the smallest).
QVector<std::optional<double>> coefficients(const CellReader& cell, int firstCol, int lastCol)
{
    QVector<std::optional<double>> out;
    for (int col = firstCol; col <= lastCol; ++col) {
        const QString coefficientText = cell(col, CoefficientRow);
        std::optional<double> coefficient;
        if (!coefficientText.isEmpty())
            coefficient = readNumber(coefficientText);
        if (coefficient && *coefficient < SmallestCoefficient)
            coefficient.reset();
        out.append(coefficient);
    }
    return out;
}

// A mark as the averages count it: an empty cell is 0; a text that is not a number is no mark.
std::optional<double> markOf(const QString& text)
{
    return text.isEmpty() ? 0.0 : readNumber(text);
}

std::optional<double> averageOf(const CellReader& cell, int row, int firstCol,
                                const QVector<std::optional<double>>& coefficientOf)
{
    double sum = 0;
    int count = 0;
    for (int i = 0; i < coefficientOf.size(); ++i) {
        if (!coefficientOf[i])
            continue;
        const std::optional<double> mark = markOf(cell(firstCol + i, row));
        if (!mark)
            continue;
        sum += *mark * *coefficientOf[i];
        ++count;
    }
    if (count == 0)
        return std::nullopt;
    const double average = sum / count;
    // Marks and coefficients near the limits of a number can overflow; such a result ranks nowhere.
    if (!std::isfinite(average))
        return std::nullopt;
    return average;
}

} // namespace

std::optional<double> studentAverage(const CellReader& cell, int row, int firstCol, int lastCol)
{
    return averageOf(cell, row, firstCol, coefficients(cell, firstCol, lastCol));
}

QVector<RowAverage> rowAverages(const CellReader& cell, const Range& range, QVector<int>* rowsWithout)
{
    // The coefficients are the same for every row: read once.
    const QVector<std::optional<double>> coefficientOf = coefficients(cell, range.firstCol, range.lastCol);
    QVector<RowAverage> rows;
    for (int row = range.firstRow; row <= range.lastRow; ++row) {
        if (const std::optional<double> average = averageOf(cell, row, range.firstCol, coefficientOf))
            rows.append({row, *average});
        else if (rowsWithout)
            rowsWithout->append(row);
    }
    return rows;
}

QVector<RowAverage> selectionAverages(const CellReader& cell, const Range& selection, int rowCount, int colCount,
                                      QVector<int>* rowsWithout)
{
    return rowAverages(cell, averagedRange(selection, lastStudentRow(cell, rowCount), colCount), rowsWithout);
}

void rankByExchange(QVector<RowAverage>& rows)
{
    const qsizetype n = rows.size();
    for (qsizetype i = 0; i + 1 < n; ++i)
        for (qsizetype j = i + 1; j < n; ++j)
            if (rows[i].average < rows[j].average)
                std::swap(rows[i], rows[j]);
}

ClassFigures classFigures(const QVector<RowAverage>& rows)
{
    ClassFigures f;
    f.count = int(rows.size());
    if (f.count == 0)
        return f;
    double sum = 0;
    for (const RowAverage& r : rows)
        sum += r.average;
    f.average = sum / f.count;
    if (!std::isfinite(f.average)) {
        // Averages each within range may still overflow their sum: add the shares instead.
        f.average = 0;
        for (const RowAverage& r : rows)
            f.average += r.average / f.count;
    }
    for (const RowAverage& r : rows) {
        const double x = r.average;
        if (x > f.highest)
            f.highest = x;
        if (x < f.lowest)
            f.lowest = x;
        if (x < f.average)
            ++f.belowAverage;
        else
            ++f.atOrAboveAverage;
        if (x < 10)
            ++f.below10;
        else
            ++f.atOrAbove10;
        if (x < 8)
            ++f.below8;
        else if (x < 12)
            ++f.from8To12;
        else
            ++f.atOrAbove12;
    }
    return f;
}

QList<QList<FigureLine>> figureLines(const ClassFigures& f)
{
    return {{{QStringLiteral("Moyenne de la classe \t"), f.average, true},
             {QStringLiteral("Moyenne la plus haute \t"), f.highest, true},
             {QStringLiteral("Moyenne la plus basse \t"), f.lowest, true}},
            {{QStringLiteral("Elèves < moy. de la classe \t"), double(f.belowAverage), false},
             {QStringLiteral("Elèves >= moy. de la classe \t"), double(f.atOrAboveAverage), false}},
            {{QStringLiteral("Elèves < 10 \t\t"), double(f.below10), false},
             {QStringLiteral("Elèves >= 10 \t\t"), double(f.atOrAbove10), false}},
            {{QStringLiteral("Elèves < 8 \t\t"), double(f.below8), false},
             {QStringLiteral("Elèves >= 8 et < 12 \t"), double(f.from8To12), false},
             {QStringLiteral("Elèves >= 12\t\t"), double(f.atOrAbove12), false}}};
}

Results results(const CellReader& cell, const Range& selection, int rowCount, int colCount)
{
    Results r;
    r.lastStudentRow = lastStudentRow(cell, rowCount);
    r.ranked = rowAverages(cell, averagedRange(selection, r.lastStudentRow, colCount), &r.rowsWithout);
    rankByExchange(r.ranked);
    r.figures = classFigures(r.ranked);
    return r;
}

RubricFigures rubricFigures(const CellReader& cell, int col, const QVector<RowAverage>& rows)
{
    RubricFigures f;
    if (!coefficients(cell, col, col).constFirst())
        return f;
    double sum = 0;
    for (const RowAverage& row : rows) {
        const std::optional<double> mark = markOf(cell(col, row.row));
        if (!mark)
            continue;
        f.highest = f.count == 0 ? *mark : std::max(f.highest, *mark);
        f.lowest = f.count == 0 ? *mark : std::min(f.lowest, *mark);
        sum += *mark;
        ++f.count;
    }
    if (f.count > 0)
        f.average = sum / f.count;
    return f;
}

QStringList report(const CellReader& cell, const ReportInput& input)
{
    const Results results = averages::results(cell, input.selection, input.rowCount, input.colCount);
    const int lastRow = results.lastStudentRow;
    const QVector<RowAverage>& ranked = results.ranked;
    const QVector<int>& rowsWithout = results.rowsWithout;
    const ClassFigures& f = results.figures;

    // The class file's name keeps its full stop: only the three letters of the extension go.
    const QString name = filenames::lastComponent(input.fileName);
    QStringList lines;
    lines << name.left(std::max<qsizetype>(0, name.size() - 3)) + Tab + QStringLiteral("(") +
                 QString::number(lastRow - 1) + QStringLiteral(" élèves)");
    lines << QStringLiteral("Résultats au ") + frdate::shortDate(input.today);
    lines << QString();
    for (qsizetype i = 0; i < ranked.size(); ++i)
        lines << cell(NameCol, ranked[i].row) + Tab + Tab + frnum::format00(ranked[i].average) + Tab + Tab +
                     QStringLiteral("(") + QString::number(i + 1) + QStringLiteral("°)");
    // A student with no rubric that counts has no average: listed after the ranked ones, in the columns
    // of the others, but neither ranked nor counted below.
    for (int row : rowsWithout)
        lines << cell(NameCol, row) + Tab + Tab + NoFigure + Tab + Tab + QStringLiteral("(non classé)");
    for (const QList<FigureLine>& group : figureLines(f)) {
        lines << QString();
        for (const FigureLine& line : group)
            lines << line.label + (line.isAverage ? figure(f, line.value) : QString::number(qint64(line.value)));
    }
    return lines;
}

} // namespace averages
