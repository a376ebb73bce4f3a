#include "model/ClassExport.h"

#include "core/FileNames.h"
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
constexpr int GridRows = 64;
constexpr int GridCols = 32;

// A mark or a coefficient: a number where it reads as one, the text otherwise.
Cell valueCell(const QString& text)
{
    if (const std::optional<double> value = averages::readNumber(text))
        return Cell::ofDecimal(*value);
    return Cell::ofText(text);
}

} // namespace

QString suggestedName(const QString& classFile, const QString& caption, int filterIndex)
{
    return filenames::classStem(classFile.isEmpty() ? caption : classFile) +
           (filterIndex == 2 ? QStringLiteral(".csv") : QStringLiteral(".xlsx"));
}

QString exportPath(const QString& chosen, int filterIndex)
{
    if (chosen.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive) ||
        chosen.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
        return chosen;
    return chosen + (filterIndex == 2 ? QStringLiteral(".csv") : QStringLiteral(".xlsx"));
}

namespace {

averages::Results reportResults(const averages::CellReader& cell)
{
    // A single cell selected: the whole class, as "Calculer moyennes" reads it.
    return averages::results(cell, {GridRows - 1, GridRows - 1, 2, 2}, GridRows, GridCols);
}

// The averages read the class as the report reads its grid: grid row g is table row g - 1.
averages::CellReader gridOf(const ClassTable& table)
{
    return [&table](int col, int row) { return table.at(row - 1, col); };
}

QList<int> exported(const ClassTable& table, int lastStudentRow)
{
    QList<int> students;
    for (int n = 1; n <= StudentCount; ++n) {
        bool used = n <= lastStudentRow - 1 || !table.at(n, ClassTable::Surname).isEmpty() ||
                    !table.at(n, ClassTable::FirstName).isEmpty();
        for (int slot = FirstRubric; slot <= LastRubric && !used; ++slot)
            used = !table.at(n, slot).isEmpty();
        if (used)
            students << n;
    }
    return students;
}

} // namespace

QList<int> exportedStudents(const ClassTable& table)
{
    return exported(table, averages::lastStudentRow(gridOf(table), GridRows));
}

QList<spreadsheet::Sheet> sheets(const ClassTable& table, const QString& className)
{
    const averages::CellReader cell = gridOf(table);
    const averages::Results results = reportResults(cell);
    const QList<int> students = exported(table, results.lastStudentRow);
    QHash<int, int> rankOf;
    QHash<int, double> averageOf;
    for (qsizetype i = 0; i < results.ranked.size(); ++i) {
        rankOf.insert(results.ranked[i].row - 1, int(i + 1));
        averageOf.insert(results.ranked[i].row - 1, results.ranked[i].average);
    }
    const averages::ClassFigures& figures = results.figures;
    const Cell noAverage = Cell::ofText(QStringLiteral("-"));
    constexpr int FirstMarkCol = 3;
    constexpr int AverageCol = FirstMarkCol + LastRubric - FirstRubric + 1;

    spreadsheet::Sheet marks;
    marks.name = spreadsheet::sheetName(className, QStringLiteral("Classe"));
    marks.frozenRows = 2;
    marks.frozenCols = 3;
    marks.columnWidths = {5, 26, 16};
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
        else if (results.rowsWithout.contains(n + 1))
            row << noAverage << Cell::ofText(QStringLiteral("non classé"));
        marks.rows << row;
    }

    // Under the marks, each rubric's figures over the students ranked, then the report's figures of the class.
    const auto labelled = [](const QString& label) {
        QList<Cell> row(AverageCol + 1);
        row[1] = Cell::ofText(label);
        return row;
    };
    QList<Cell> rubricAverage = labelled(QStringLiteral("Moyenne de la rubrique"));
    QList<Cell> rubricHighest = labelled(QStringLiteral("Note la plus haute"));
    QList<Cell> rubricLowest = labelled(QStringLiteral("Note la plus basse"));
    for (int slot = FirstRubric; slot <= LastRubric; ++slot) {
        const averages::RubricFigures f = averages::rubricFigures(cell, slot, results.ranked);
        if (f.count == 0)
            continue;
        const int col = FirstMarkCol + slot - FirstRubric;
        rubricAverage[col] = Cell::ofDecimal(f.average);
        rubricHighest[col] = Cell::ofDecimal(f.highest);
        rubricLowest[col] = Cell::ofDecimal(f.lowest);
    }
    marks.rows << QList<Cell>() << rubricAverage << rubricHighest << rubricLowest;
    for (const QList<averages::FigureLine>& group : averages::figureLines(figures)) {
        marks.rows << QList<Cell>();
        for (const averages::FigureLine& line : group) {
            QList<Cell> row = labelled(line.label.trimmed());
            row[AverageCol] = !line.isAverage     ? Cell::ofWhole(int(line.value))
                              : figures.count > 0 ? Cell::ofDecimal(line.value)
                                                  : noAverage;
            marks.rows << row;
        }
    }

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

QString writtenMessage(const QString& path, const ClassTable& table)
{
    const qsizetype count = exportedStudents(table).size();
    return QStringLiteral("Classe exportée dans %1 : %2.")
        .arg(path, count == 1 ? QStringLiteral("1 élève") : QStringLiteral("%1 élèves").arg(count));
}

} // namespace classexport
