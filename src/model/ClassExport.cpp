#include "model/ClassExport.h"

#include "core/TextFile.h"
#include "model/Averages.h"
#include "model/CardColumns.h"

#include <QHash>

namespace classexport {
namespace {

using spreadsheet::Cell;
constexpr int FirstRubric = ClassTable::FirstMarkSlot;
constexpr int LastRubric = ClassTable::LastMarkSlot;
constexpr int StudentCount = 62;

// A mark or a coefficient: a number where it reads as one, the text otherwise.
Cell valueCell(const QString& text)
{
    if (const std::optional<double> value = averages::readNumber(text))
        return Cell::ofDecimal(*value);
    return Cell::ofText(text);
}

} // namespace

QList<int> exportedStudents(const ClassTable& table)
{
    QList<int> students;
    for (int n = 1; n <= StudentCount; ++n) {
        bool used = !table.at(n, ClassTable::Surname).isEmpty() || !table.at(n, ClassTable::FirstName).isEmpty();
        for (int slot = FirstRubric; slot <= LastRubric && !used; ++slot)
            used = !table.at(n, slot).isEmpty();
        if (used)
            students << n;
    }
    return students;
}

QList<spreadsheet::Sheet> sheets(const ClassTable& table, const QString& className)
{
    const QList<int> students = exportedStudents(table);
    // The averages read the class as the report reads its grid: grid row g is table row g - 1.
    const averages::CellReader cell = [&table](int col, int row) { return table.at(row - 1, col); };
    QVector<averages::RowAverage> ranked;
    QHash<int, double> averageOf;
    for (int n : students)
        if (const std::optional<double> average = averages::studentAverage(cell, n + 1, FirstRubric, LastRubric)) {
            ranked.append({n, *average});
            averageOf.insert(n, *average);
        }
    averages::rankByExchange(ranked);
    QHash<int, int> rankOf;
    for (qsizetype i = 0; i < ranked.size(); ++i)
        rankOf.insert(ranked[i].row, int(i + 1));
    const averages::ClassFigures figures = averages::classFigures(ranked);
    const Cell noAverage = Cell::ofText(QStringLiteral("-"));

    spreadsheet::Sheet marks;
    marks.name = spreadsheet::sheetName(className, QStringLiteral("Classe"));
    marks.frozenRows = 2;
    marks.frozenCols = 3;
    marks.columnWidths = {5, 22, 16};
    QList<Cell> headings = {Cell::ofText(QStringLiteral("N°")), Cell::ofText(QStringLiteral("Nom")),
                            Cell::ofText(QStringLiteral("Prénom"))};
    QList<Cell> coefficients = {Cell(), Cell::ofText(QStringLiteral("Coefficients")), Cell()};
    for (int slot = FirstRubric; slot <= LastRubric; ++slot) {
        headings << Cell::ofText(table.at(-1, slot));
        coefficients << valueCell(table.at(0, slot));
    }
    headings << Cell::ofText(QStringLiteral("Moyenne")) << Cell::ofText(QStringLiteral("Rang"));
    marks.rows << headings << coefficients;
    for (int n : students) {
        QList<Cell> row = {Cell::ofWhole(n), Cell::ofText(table.at(n, ClassTable::Surname)),
                           Cell::ofText(table.at(n, ClassTable::FirstName))};
        for (int slot = FirstRubric; slot <= LastRubric; ++slot)
            row << valueCell(table.at(n, slot));
        if (averageOf.contains(n))
            row << Cell::ofDecimal(averageOf.value(n)) << Cell::ofWhole(rankOf.value(n));
        else
            row << noAverage << Cell::ofText(QStringLiteral("non classé"));
        marks.rows << row;
    }
    QList<Cell> classAverage(3 + LastRubric - FirstRubric + 1);
    classAverage[1] = Cell::ofText(QStringLiteral("Moyenne de la classe"));
    classAverage << (figures.count > 0 ? Cell::ofDecimal(figures.average) : noAverage);
    marks.rows << QList<Cell>() << classAverage;

    spreadsheet::Sheet cards;
    cards.name = spreadsheet::sheetName(QStringLiteral("Fiches élèves"), {});
    if (cards.name.compare(marks.name, Qt::CaseInsensitive) == 0)
        cards.name += QStringLiteral(" (2)");
    cards.frozenRows = 1;
    cards.frozenCols = 3;
    cards.columnWidths = {5, 22, 16};
    QList<Cell> cardHeadings = {Cell::ofText(QStringLiteral("N°"))};
    for (const CardColumn& column : cardColumns())
        cardHeadings << Cell::ofText(column.heading);
    cards.rows << cardHeadings;
    for (int n : students) {
        QList<Cell> row = {Cell::ofWhole(n)};
        for (const CardColumn& column : cardColumns())
            row << Cell::ofText(table.at(n, column.slot));
        cards.rows << row;
    }
    return {marks, cards};
}

void write(const QString& path, const ClassTable& table, const QString& className)
{
    const QList<spreadsheet::Sheet> book = sheets(table, className);
    if (path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
        textfile::writeBytes(path, spreadsheet::csvBytes(book.constFirst()));
    else
        spreadsheet::writeXlsx(path, book);
}

} // namespace classexport
