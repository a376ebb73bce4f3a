#include "model/Averages.h"

#include <QTest>
#include <cmath>
#include <limits>

using averages::Range;
using averages::RowAverage;

namespace {

// The texts of a class grid of 32 columns by 64 rows, set up as a new class: coefficients "1" everywhere.
struct Grid
{
    QString cells[32][64];

    Grid()
    {
        for (int c = 2; c < 32; ++c)
            cells[c][1] = QStringLiteral("1");
    }

    averages::CellReader reader() const
    {
        return [this](int col, int row) {
            return (col >= 0 && col < 32 && row >= 0 && row < 64) ? cells[col][row] : QString();
        };
    }

    // One student's row: name, then marks from column 2.
    void student(int row, const QString& name, const QStringList& marks)
    {
        cells[1][row] = name;
        for (int i = 0; i < marks.size(); ++i)
            cells[2 + i][row] = marks[i];
    }

    void coefficients(const QStringList& values)
    {
        for (int c = 2; c < 32; ++c)
            cells[c][1] = c - 2 < values.size() ? values[c - 2] : QString();
    }
};

constexpr double None = std::numeric_limits<double>::quiet_NaN();

} // namespace

class TestAverages : public QObject
{
    Q_OBJECT

private slots:
    void studentAverage_data();
    void studentAverage();
    void wholeClassTakesEveryRubric();
    void lastStudentRow_data();
    void lastStudentRow();
    void averagedRange_data();
    void averagedRange();
    void selectionAverages();
    void rankByExchange_data();
    void rankByExchange();
    void classFigures_data();
    void classFigures();
    void classFiguresSkipsNothingButEmptyLists();
    void firstLine_data();
    void firstLine();
    void dateLine();
    void wholeReportOfASmallClass();
    void reportOfASelection();
    void reportWithoutAnyAverage();
    void rowsThatCannotCountAreNotMadeUp();
};

void TestAverages::studentAverage_data()
{
    QTest::addColumn<QStringList>("coefficients");
    QTest::addColumn<QStringList>("marks");
    QTest::addColumn<double>("expected");

    QTest::newRow("empty third mark counts 0") << QStringList{"1", "1", "1"} << QStringList{"12", "15", ""} << 9.0;
    QTest::newRow("coefficient scales its mark") << QStringList{"1", "2"} << QStringList{"10", "10"} << 15.0;
    QTest::newRow("divisor is the column count") << QStringList{"2", "2"} << QStringList{"10", "14"} << 24.0;
    QTest::newRow("decimal mark") << QStringList{"1", "1"} << QStringList{"12,5", "8"} << 10.25;
    QTest::newRow("blanks around numbers") << QStringList{" 1 ", "1"} << QStringList{" 12 ", "14 "} << 13.0;
    QTest::newRow("coefficient 0 leaves the rubric out") << QStringList{"1", "0"} << QStringList{"10", "20"} << 10.0;
    QTest::newRow("empty coefficient leaves the rubric out") << QStringList{"1", ""} << QStringList{"10", "20"} << 10.0;
    QTest::newRow("blank coefficient is no number") << QStringList{"1", " "} << QStringList{"10", "20"} << 10.0;
    QTest::newRow("text coefficient leaves the rubric out") << QStringList{"1", "x"} << QStringList{"10", "20"} << 10.0;
    QTest::newRow("full stop coefficient is no number") << QStringList{"1", "0.5"} << QStringList{"10", "20"} << 10.0;
    QTest::newRow("normalised ,50 counts") << QStringList{"1", ",50"} << QStringList{"10", "16"} << 9.0;
    QTest::newRow("0,1 counts") << QStringList{"1", "0,1"} << QStringList{"10", "20"} << 6.0;
    QTest::newRow("0,09 does not") << QStringList{"1", "0,09"} << QStringList{"10", "20"} << 10.0;
    QTest::newRow("negative coefficient does not") << QStringList{"1", "-2"} << QStringList{"10", "20"} << 10.0;
    QTest::newRow("abs skips that rubric only") << QStringList{"1", "1", "1"} << QStringList{"12", "abs", "15"} << 13.5;
    QTest::newRow("mark with full stop is no number") << QStringList{"1", "1"} << QStringList{"12.5", "8"} << 8.0;
    QTest::newRow("unusable coefficient ignores even bad marks")
        << QStringList{"0", "1"} << QStringList{"abs", "7"} << 7.0;
    QTest::newRow("negative mark counts") << QStringList{"1", "1"} << QStringList{"-4", "10"} << 3.0;
    QTest::newRow("every mark not a number") << QStringList{"1", "1"} << QStringList{"abs", "disp."} << None;
    QTest::newRow("every coefficient unusable") << QStringList{"0", ""} << QStringList{"12", "15"} << None;
    QTest::newRow("overflowing marks give no number") << QStringList{"1E300", "1"} << QStringList{"1E300", "2"} << None;
}

void TestAverages::studentAverage()
{
    QFETCH(QStringList, coefficients);
    QFETCH(QStringList, marks);
    QFETCH(double, expected);
    Grid g;
    g.coefficients(coefficients);
    g.student(2, "Martin Paul", marks);
    const std::optional<double> average = averages::studentAverage(g.reader(), 2, 2, 1 + int(marks.size()));
    if (std::isnan(expected)) {
        QVERIFY(!average.has_value());
    } else {
        QVERIFY(average.has_value());
        QCOMPARE(*average, expected);
    }
}

void TestAverages::wholeClassTakesEveryRubric()
{
    // Only two marks entered, every coefficient left at 1: the other 28 rubrics count 0.
    Grid g;
    g.student(2, "Martin Paul", {"12", "15"});
    const QStringList lines = averages::report(g.reader(), {"", QDate(2026, 12, 7), {5, 5, 9, 9}, 64, 32});
    QCOMPARE(lines.at(3), QStringLiteral("Martin Paul\t\t0,90\t\t(1°)"));
    QCOMPARE(*averages::studentAverage(g.reader(), 2, 2, 31), 27.0 / 30);
}

void TestAverages::lastStudentRow_data()
{
    QTest::addColumn<QList<int>>("filledRows");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");

    QTest::newRow("empty class") << QList<int>{} << 2 << "12" << 2;
    QTest::newRow("25 students") << QList<int>{2, 3, 26} << 2 << "12" << 26;
    QTest::newRow("the very last row") << QList<int>{63} << 2 << "1" << 63;
    QTest::newRow("only the first rubric decides") << QList<int>{2, 40} << 3 << "12" << 2;
    QTest::newRow("a blank is not empty") << QList<int>{30} << 2 << " " << 30;
    QTest::newRow("any text counts") << QList<int>{17} << 2 << "abs" << 17;
}

void TestAverages::lastStudentRow()
{
    QFETCH(QList<int>, filledRows);
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(int, expected);
    Grid g;
    // The first row is always filled in column 2 so that a column-3-only case has a real first student.
    for (int row : filledRows)
        g.cells[row == filledRows.first() ? 2 : column][row] = text;
    QCOMPARE(averages::lastStudentRow(g.reader(), 64), expected);
}

void TestAverages::averagedRange_data()
{
    QTest::addColumn<Range>("selection");
    QTest::addColumn<Range>("expected");

    QTest::newRow("single cell: whole class") << Range{40, 40, 7, 7} << Range{2, 26, 2, 31};
    QTest::newRow("single first cell") << Range{2, 2, 2, 2} << Range{2, 26, 2, 31};
    QTest::newRow("rectangle taken exactly") << Range{3, 5, 2, 4} << Range{3, 5, 2, 4};
    QTest::newRow("reversed corners") << Range{5, 3, 4, 2} << Range{3, 5, 2, 4};
    QTest::newRow("one student, several rubrics") << Range{10, 10, 2, 6} << Range{10, 10, 2, 6};
    QTest::newRow("one rubric, several students") << Range{2, 40, 9, 9} << Range{2, 40, 9, 9};
}

void TestAverages::averagedRange()
{
    QFETCH(Range, selection);
    QFETCH(Range, expected);
    QCOMPARE(averages::averagedRange(selection, 26, 32), expected);
}

void TestAverages::selectionAverages()
{
    // Rows stay in their order; the whole class ends at the last row whose first rubric is filled.
    Grid g;
    g.coefficients({"1", "1"});
    g.student(2, "A", {"12", "14"});
    g.student(3, "B", {"abs", "abs"});
    g.student(4, "C", {"", "9"});
    g.student(5, "D", {"8", ""});
    g.student(6, "E", {"", "20"});
    QVector<int> without;
    QCOMPARE(averages::selectionAverages(g.reader(), {9, 9, 3, 3}, 64, 32, &without),
             (QVector<RowAverage>{{2, 13.0}, {4, 4.5}, {5, 4.0}}));
    QCOMPARE(without, QVector<int>{3});
    QCOMPARE(averages::selectionAverages(g.reader(), {4, 6, 3, 3}, 64, 32),
             (QVector<RowAverage>{{4, 9.0}, {5, 0.0}, {6, 20.0}}));
}

void TestAverages::rankByExchange_data()
{
    QTest::addColumn<QList<double>>("values"); // rows 2, 3, 4... in order
    QTest::addColumn<QList<int>>("expectedRows");

    QTest::newRow("equal pair before a higher one") << QList<double>{12, 12, 15} << QList<int>{4, 3, 2};
    QTest::newRow("two equal pairs") << QList<double>{10, 14, 10, 14} << QList<int>{3, 5, 4, 2};
    QTest::newRow("already in order") << QList<double>{15, 12, 9} << QList<int>{2, 3, 4};
    QTest::newRow("reversed") << QList<double>{9, 12, 15} << QList<int>{4, 3, 2};
    QTest::newRow("all equal stay put") << QList<double>{11, 11, 11} << QList<int>{2, 3, 4};
    QTest::newRow("single") << QList<double>{7} << QList<int>{2};
    QTest::newRow("none") << QList<double>{} << QList<int>{};
}

void TestAverages::rankByExchange()
{
    QFETCH(QList<double>, values);
    QFETCH(QList<int>, expectedRows);
    QVector<RowAverage> rows;
    for (int i = 0; i < values.size(); ++i)
        rows.append({2 + i, values[i]});
    averages::rankByExchange(rows);
    QList<int> order;
    for (const RowAverage& r : rows)
        order << r.row;
    QCOMPARE(order, expectedRows);
    for (qsizetype i = 1; i < rows.size(); ++i)
        QVERIFY(rows[i - 1].average >= rows[i].average);
}

void TestAverages::classFigures_data()
{
    QTest::addColumn<QList<double>>("values");
    QTest::addColumn<double>("average");
    QTest::addColumn<double>("highest");
    QTest::addColumn<double>("lowest");
    // below average, at or above, < 10, >= 10, < 8, 8 to < 12, >= 12
    QTest::addColumn<QList<int>>("counts");

    QTest::newRow("boundaries 8, 10, 12")
        << QList<double>{8, 10, 12} << 10.0 << 12.0 << 8.0 << QList<int>{1, 2, 1, 2, 0, 2, 1};
    QTest::newRow("just below each boundary")
        << QList<double>{7.99, 9.99, 11.99} << 9.99 << 11.99 << 7.99 << QList<int>{1, 2, 2, 1, 1, 2, 0};
    QTest::newRow("everyone at the class average")
        << QList<double>{10.5, 10.5} << 10.5 << 10.5 << 10.5 << QList<int>{0, 2, 0, 2, 0, 2, 0};
    QTest::newRow("one student") << QList<double>{14} << 14.0 << 14.0 << 14.0 << QList<int>{0, 1, 0, 1, 0, 0, 1};
    QTest::newRow("zero and twenty") << QList<double>{0, 20} << 10.0 << 20.0 << 0.0 << QList<int>{1, 1, 1, 1, 1, 0, 1};
}

void TestAverages::classFigures()
{
    QFETCH(QList<double>, values);
    QFETCH(double, average);
    QFETCH(double, highest);
    QFETCH(double, lowest);
    QFETCH(QList<int>, counts);
    QVector<RowAverage> rows;
    for (int i = 0; i < values.size(); ++i)
        rows.append({2 + i, values[i]});
    const averages::ClassFigures f = averages::classFigures(rows);
    QCOMPARE(f.count, int(values.size()));
    QCOMPARE(f.average, average);
    QCOMPARE(f.highest, highest);
    QCOMPARE(f.lowest, lowest);
    QCOMPARE((QList<int>{f.belowAverage, f.atOrAboveAverage, f.below10, f.atOrAbove10, f.below8, f.from8To12,
                         f.atOrAbove12}),
             counts);
}

void TestAverages::classFiguresSkipsNothingButEmptyLists()
{
    const averages::ClassFigures none = averages::classFigures({});
    QCOMPARE(none.count, 0);
    QCOMPARE(none.belowAverage + none.atOrAboveAverage + none.below10 + none.atOrAbove10, 0);
    QVERIFY(std::isfinite(none.average));

    // Averages near the largest number still give a class average, not an overflow.
    const averages::ClassFigures huge = averages::classFigures({{2, 1.5e308}, {3, 1.5e308}});
    QVERIFY(std::isfinite(huge.average));
    QCOMPARE(huge.average, 1.5e308);
    QCOMPARE(huge.atOrAboveAverage, 2);
}

void TestAverages::firstLine_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<int>("lastRow");
    QTest::addColumn<QString>("expected");

    QTest::newRow("6A.prf, 25 students") << "/home/prof/classes/6A.prf" << 26 << QStringLiteral("6A.\t(25 élèves)");
    QTest::newRow("never saved") << "" << 26 << QStringLiteral("\t(25 élèves)");
    QTest::newRow("empty class counts one") << "/x/4C.prf" << 2 << QStringLiteral("4C.\t(1 élèves)");
    QTest::newRow("dots in the name") << "/a.b/Classe.2026.prf" << 63 << QStringLiteral("Classe.2026.\t(62 élèves)");
    QTest::newRow("name shorter than an extension") << "/x/ab" << 5 << QStringLiteral("\t(4 élèves)");
    QTest::newRow("other extension cut the same") << "3B.txt" << 3 << QStringLiteral("3B.\t(2 élèves)");
}

void TestAverages::firstLine()
{
    QFETCH(QString, fileName);
    QFETCH(int, lastRow);
    QFETCH(QString, expected);
    Grid g;
    for (int row = 2; row <= lastRow; ++row)
        g.cells[2][row] = QStringLiteral("10");
    const QStringList lines = averages::report(g.reader(), {fileName, QDate(2026, 12, 7), {2, 2, 2, 2}, 64, 32});
    QCOMPARE(lines.first(), expected);
}

void TestAverages::dateLine()
{
    Grid g;
    QCOMPARE(averages::report(g.reader(), {"", QDate(2027, 3, 5), {2, 2, 2, 2}, 64, 32}).at(1),
             QStringLiteral("Résultats au 05/03/2027"));
    QCOMPARE(averages::report(g.reader(), {"", QDate(2026, 12, 31), {2, 2, 2, 2}, 64, 32}).at(1),
             QStringLiteral("Résultats au 31/12/2026"));
}

namespace {

// Nine students over three rubrics with coefficients 1, 2 and 0,5; the other rubrics switched off.
Grid smallClass()
{
    Grid g;
    g.coefficients({"1", "2", "0,5"});
    g.student(2, "Martin Paul", {"12", "8", "10"});    // 12 + 16 + 5 = 33 / 3 = 11
    g.student(3, "Durand Léa", {"15", "7", "14"});     // 15 + 14 + 7 = 36 / 3 = 12
    g.student(4, "Petit Noé", {"abs", "4", ""});       // 8 + 0 = 8 / 2 = 4
    g.student(5, "Roux Inès", {"8", "", "20"});        // 8 + 0 + 10 = 18 / 3 = 6
    g.student(6, "Leroy Tom", {"10", "5", "4"});       // 10 + 10 + 2 = 22 / 3
    g.student(7, "Moreau Eva", {"abs", "abs", "abs"}); // nothing counts
    g.student(8, "Blanc Zoé", {"9", "10,5", "2"});     // 9 + 21 + 1 = 31 / 3
    g.student(9, "Elève8", {});                        // all empty: 0
    g.student(10, "Faure Max", {"20", "20", "20"});    // 20 + 40 + 10 = 70 / 3
    g.cells[1][11] = QStringLiteral("Elève10");        // beyond the last student row
    g.cells[3][11] = QStringLiteral("18");
    return g;
}

} // namespace

void TestAverages::wholeReportOfASmallClass()
{
    const Grid g = smallClass();
    const QStringList expected = {
        QStringLiteral("3B.\t(9 élèves)"),
        QStringLiteral("Résultats au 07/12/2026"),
        QString(),
        QStringLiteral("Faure Max\t\t23,33\t\t(1°)"),
        QStringLiteral("Durand Léa\t\t12,00\t\t(2°)"),
        QStringLiteral("Martin Paul\t\t11,00\t\t(3°)"),
        QStringLiteral("Blanc Zoé\t\t10,33\t\t(4°)"),
        QStringLiteral("Leroy Tom\t\t7,33\t\t(5°)"),
        QStringLiteral("Roux Inès\t\t6,00\t\t(6°)"),
        QStringLiteral("Petit Noé\t\t4,00\t\t(7°)"),
        QStringLiteral("Elève8\t\t0,00\t\t(8°)"),
        QStringLiteral("Moreau Eva\t\t-\t\t(non classé)"),
        QString(),
        QStringLiteral("Moyenne de la classe \t9,25"),
        QStringLiteral("Moyenne la plus haute \t23,33"),
        QStringLiteral("Moyenne la plus basse \t0,00"),
        QString(),
        QStringLiteral("Elèves < moy. de la classe \t4"),
        QStringLiteral("Elèves >= moy. de la classe \t4"),
        QString(),
        QStringLiteral("Elèves < 10 \t\t4"),
        QStringLiteral("Elèves >= 10 \t\t4"),
        QString(),
        QStringLiteral("Elèves < 8 \t\t4"),
        QStringLiteral("Elèves >= 8 et < 12 \t2"),
        QStringLiteral("Elèves >= 12\t\t2"),
    };
    const QStringList lines =
        averages::report(g.reader(), {"/home/prof/3B.prf", QDate(2026, 12, 7), {30, 30, 12, 12}, 64, 32});
    for (qsizetype i = 0; i < std::min(lines.size(), expected.size()); ++i)
        QCOMPARE(lines[i], expected[i]);
    QCOMPARE(lines.size(), expected.size());
}

void TestAverages::reportOfASelection()
{
    // Rows 3 to 5 over the first two rubrics; the first line still counts the whole class.
    const Grid g = smallClass();
    const QStringList expected = {
        QStringLiteral("3B.\t(9 élèves)"),
        QStringLiteral("Résultats au 07/12/2026"),
        QString(),
        QStringLiteral("Durand Léa\t\t14,50\t\t(1°)"),
        QStringLiteral("Petit Noé\t\t8,00\t\t(2°)"),
        QStringLiteral("Roux Inès\t\t4,00\t\t(3°)"),
        QString(),
        QStringLiteral("Moyenne de la classe \t8,83"),
        QStringLiteral("Moyenne la plus haute \t14,50"),
        QStringLiteral("Moyenne la plus basse \t4,00"),
        QString(),
        QStringLiteral("Elèves < moy. de la classe \t2"),
        QStringLiteral("Elèves >= moy. de la classe \t1"),
        QString(),
        QStringLiteral("Elèves < 10 \t\t2"),
        QStringLiteral("Elèves >= 10 \t\t1"),
        QString(),
        QStringLiteral("Elèves < 8 \t\t1"),
        QStringLiteral("Elèves >= 8 et < 12 \t1"),
        QStringLiteral("Elèves >= 12\t\t1"),
    };
    QCOMPARE(averages::report(g.reader(), {"/home/prof/3B.prf", QDate(2026, 12, 7), {5, 3, 3, 2}, 64, 32}), expected);
}

void TestAverages::reportWithoutAnyAverage()
{
    // Every rubric switched off: nobody has an average, and no figure may be made up.
    Grid g;
    g.coefficients({"0"});
    g.student(2, "Martin Paul", {"12"});
    g.student(3, "Durand Léa", {"15"});
    const QStringList expected = {
        QStringLiteral("\t(2 élèves)"),
        QStringLiteral("Résultats au 07/12/2026"),
        QString(),
        QStringLiteral("Martin Paul\t\t-\t\t(non classé)"),
        QStringLiteral("Durand Léa\t\t-\t\t(non classé)"),
        QString(),
        QStringLiteral("Moyenne de la classe \t-"),
        QStringLiteral("Moyenne la plus haute \t-"),
        QStringLiteral("Moyenne la plus basse \t-"),
        QString(),
        QStringLiteral("Elèves < moy. de la classe \t0"),
        QStringLiteral("Elèves >= moy. de la classe \t0"),
        QString(),
        QStringLiteral("Elèves < 10 \t\t0"),
        QStringLiteral("Elèves >= 10 \t\t0"),
        QString(),
        QStringLiteral("Elèves < 8 \t\t0"),
        QStringLiteral("Elèves >= 8 et < 12 \t0"),
        QStringLiteral("Elèves >= 12\t\t0"),
    };
    QCOMPARE(averages::report(g.reader(), {"", QDate(2026, 12, 7), {2, 2, 2, 2}, 64, 32}), expected);
}

void TestAverages::rowsThatCannotCountAreNotMadeUp()
{
    // A student absent from every test must not drag the class average down as a 0 would.
    Grid g;
    g.student(2, "A", {"10"});
    g.student(3, "B", {"abs"});
    g.student(4, "C", {"14"});
    QVector<int> without;
    const QVector<RowAverage> rows = averages::rowAverages(g.reader(), {2, 4, 2, 2}, &without);
    QCOMPARE(rows, (QVector<RowAverage>{{2, 10.0}, {4, 14.0}}));
    QCOMPARE(without, QVector<int>{3});
    const QStringList lines = averages::report(g.reader(), {"", QDate(2026, 12, 7), {2, 4, 2, 2}, 64, 32});
    QCOMPARE(lines.at(5), QStringLiteral("B\t\t-\t\t(non classé)"));
    QCOMPARE(lines.at(7), QStringLiteral("Moyenne de la classe \t12,00"));
    QCOMPARE(lines.at(11), QStringLiteral("Elèves < moy. de la classe \t1"));
    QCOMPARE(lines.at(12), QStringLiteral("Elèves >= moy. de la classe \t1"));
}

QTEST_APPLESS_MAIN(TestAverages)
#include "TestAverages.moc"
