#include "analysis/ChartLayout.h"

#include <QHash>
#include <QTest>
#include <cmath>
#include <limits>

using charts::Picture;
using charts::Shape;

Q_DECLARE_METATYPE(QVector<double>)

namespace {

QVector<Shape> only(const Picture& picture, Shape::Kind kind)
{
    QVector<Shape> out;
    for (const Shape& s : picture)
        if (s.kind == kind)
            out.append(s);
    return out;
}

// The text drawn with its top-left corner at a point, or a null string when none is.
QString textAt(const Picture& picture, QPoint at)
{
    QString found;
    int hits = 0;
    for (const Shape& s : only(picture, Shape::Kind::Text))
        if (s.a == at) {
            found = s.text;
            ++hits;
        }
    return hits == 1 ? found : QString();
}

QStringList scaleLabels(const Picture& picture)
{
    return {textAt(picture, {10, 70}), textAt(picture, {10, 180}), textAt(picture, {10, 290})};
}

// Bar heights by mark, read back from the boxes' corners.
QVector<int> barHeights(const Picture& picture)
{
    QVector<int> heights;
    for (const Shape& s : only(picture, Shape::Kind::Box))
        heights.append(s.a.y() - s.b.y());
    return heights;
}

charts::Counts countsOf(std::initializer_list<std::pair<int, double>> entries)
{
    charts::Counts counts{};
    for (const auto& [mark, count] : entries)
        counts[std::size_t(mark)] = count;
    return counts;
}

// A class grid held in a table of texts: row 0 headings, row 1 coefficients, the student in row 2.
struct Grid
{
    QHash<QPair<int, int>, QString> cells;
    QString operator()(int col, int row) const { return cells.value({col, row}); }
    void setRow(int row, const QStringList& texts)
    {
        for (int i = 0; i < texts.size(); ++i)
            cells[{2 + i, row}] = texts[i];
    }
};

} // namespace

class TestChartLayout : public QObject
{
    Q_OBJECT

private slots:
    void countRounded_data();
    void countRounded();
    void barColours_data();
    void barColours();
    void threeAveragesRoundingToTen();
    void oneStudent();
    void heightsRoundHalvesToEven();
    void noAverageInRange();
    void axesAndMarkLabels();

    void followUpPoints_data();
    void followUpPoints();
    void levelLineAcrossAMissingMark();
    void markNotANumberSpreadsTheRest();
    void labelsCutToTenCharacters();
    void scaleRoundsHalvesToEven_data();
    void scaleRoundsHalvesToEven();
    void noPoint();
    void everyMarkZero();
    void onePointDrawsNoLine();
    void thirtyRubrics();
    void hostileMarks();
};

void TestChartLayout::countRounded_data()
{
    QTest::addColumn<QVector<double>>("averages");
    QTest::addColumn<int>("mark");
    QTest::addColumn<double>("count");
    QTest::addColumn<int>("outside");

    QTest::newRow("9,5 10,4 10,5 all under 10") << QVector<double>{9.5, 10.4, 10.5} << 10 << 3.0 << 0;
    QTest::newRow("11,5 and 12,4 under 12") << QVector<double>{11.5, 12.4} << 12 << 2.0 << 0;
    QTest::newRow("0,5 goes down to 0") << QVector<double>{0.5} << 0 << 1.0 << 0;
    QTest::newRow("-0,4 still rounds to 0") << QVector<double>{-0.4} << 0 << 1.0 << 0;
    QTest::newRow("-0,6 has no bar") << QVector<double>{-0.6} << 0 << 0.0 << 1;
    QTest::newRow("20,5 goes down to 20") << QVector<double>{20.5} << 20 << 1.0 << 0;
    QTest::newRow("20,6 has no bar") << QVector<double>{20.6, 20.4} << 20 << 1.0 << 1;
    QTest::newRow("40 with a coefficient 2") << QVector<double>{40, 19.6} << 20 << 1.0 << 1;
    QTest::newRow("far too large") << QVector<double>{1e300, -1e300, 3} << 3 << 1.0 << 2;
    QTest::newRow("not a number") << QVector<double>{std::numeric_limits<double>::quiet_NaN(), 7} << 7 << 1.0 << 1;
    QTest::newRow("none") << QVector<double>{} << 10 << 0.0 << 0;
}

void TestChartLayout::countRounded()
{
    QFETCH(QVector<double>, averages);
    QFETCH(int, mark);
    QFETCH(double, count);
    QFETCH(int, outside);
    int left = -1;
    const charts::Counts counts = charts::countRounded(averages, &left);
    QCOMPARE(counts[std::size_t(mark)], count);
    QCOMPARE(left, outside);
    double total = 0;
    for (double c : counts)
        total += c;
    QCOMPARE(total + outside, double(averages.size()));
}

void TestChartLayout::barColours_data()
{
    QTest::addColumn<int>("mark");
    QTest::addColumn<QColor>("colour");
    const QColor table[] = {
        {0, 0, 0},       {128, 0, 0},     {0, 128, 0}, {128, 128, 0}, {0, 0, 128},   {0, 128, 128},   {128, 0, 128},
        {128, 128, 128}, {192, 192, 192}, {255, 0, 0}, {0, 255, 0},   {255, 255, 0}, {0, 0, 255},     {255, 0, 255},
        {0, 255, 255},   {128, 128, 128}, {0, 0, 128}, {0, 128, 128}, {128, 0, 128}, {128, 128, 128}, {0, 0, 128}};
    for (int k = 0; k < 21; ++k)
        QTest::newRow(qPrintable(QString::number(k))) << k << table[k];
}

void TestChartLayout::barColours()
{
    QFETCH(int, mark);
    QFETCH(QColor, colour);
    QCOMPARE(charts::barColours()[std::size_t(mark)], colour);
    // The bar of that mark is filled with it.
    const Picture p = charts::averagesPicture(countsOf({{mark, 1}}), charts::barColours());
    QCOMPARE(only(p, Shape::Kind::Box).at(mark).colour, colour);
}

void TestChartLayout::threeAveragesRoundingToTen()
{
    const Picture p = charts::averagesPicture(charts::countRounded({9.5, 10.4, 10.5}), charts::barColours());
    QCOMPARE(scaleLabels(p), (QStringList{"3", "1", "0"}));
    const QVector<Shape> boxes = only(p, Shape::Kind::Box);
    QCOMPARE(boxes.size(), 21);
    QCOMPARE(boxes[10], (Shape{Shape::Kind::Box, {260, 300}, {270, 80}, QColor(0, 255, 0), {}}));
    for (int k = 0; k < 21; ++k) {
        if (k == 10)
            continue;
        // Marks nobody has lie flat on the axis.
        QCOMPARE(boxes[k].a, QPoint(60 + 20 * k, 300));
        QCOMPARE(boxes[k].b, QPoint(70 + 20 * k, 300));
    }
    // Bars are drawn over the axes and the labels.
    QCOMPARE(p.last().kind, Shape::Kind::Box);
    QCOMPARE(p.first().kind, Shape::Kind::Line);
}

void TestChartLayout::oneStudent()
{
    const Picture p = charts::averagesPicture(charts::countRounded({13.26}), charts::barColours());
    QCOMPARE(scaleLabels(p), (QStringList{"1", "0", "0"}));
    QCOMPARE(only(p, Shape::Kind::Box)[13].b, QPoint(330, 80));
}

void TestChartLayout::heightsRoundHalvesToEven()
{
    // 220 / 8 per student: 1 gives 27,5 -> 28, 3 gives 82,5 -> 82, 5 gives 137,5 -> 138.
    const Picture p =
        charts::averagesPicture(countsOf({{15, 8}, {3, 1}, {4, 3}, {6, 5}, {7, 2}}), charts::barColours());
    const QVector<int> h = barHeights(p);
    QCOMPARE(h[15], 220);
    QCOMPARE(h[3], 28);
    QCOMPARE(h[4], 82);
    QCOMPARE(h[6], 138);
    QCOMPARE(h[7], 55);
    QCOMPARE(scaleLabels(p), (QStringList{"8", "4", "0"}));
    // An odd tallest count halves downwards.
    QCOMPARE(scaleLabels(charts::averagesPicture(countsOf({{2, 7}}), charts::barColours())),
             (QStringList{"7", "3", "0"}));
}

void TestChartLayout::noAverageInRange()
{
    int outside = 0;
    const Picture p = charts::averagesPicture(charts::countRounded({25, 31.2}, &outside), charts::barColours());
    QCOMPARE(outside, 2);
    QCOMPARE(scaleLabels(p), (QStringList{"0", "0", "0"}));
    QVERIFY(only(p, Shape::Kind::Box).isEmpty());
    QCOMPARE(only(p, Shape::Kind::Line).size(), 2);
    QCOMPARE(only(p, Shape::Kind::Text).size(), 21 + 3);
}

void TestChartLayout::axesAndMarkLabels()
{
    const Picture p = charts::averagesPicture(countsOf({{12, 2}}), charts::barColours());
    const QVector<Shape> lines = only(p, Shape::Kind::Line);
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0].a, QPoint(50, 300));
    QCOMPARE(lines[0].b, QPoint(50, 70));
    QCOMPARE(lines[1].a, QPoint(50, 300));
    QCOMPARE(lines[1].b, QPoint(500, 300));
    QCOMPARE(lines[0].colour, QColor(Qt::black));
    for (int k = 0; k <= 20; ++k)
        QCOMPARE(textAt(p, {60 + 20 * k, 320}), QString::number(k));
}

// --- the follow-up chart ---------------------------------------------------------------------

void TestChartLayout::followUpPoints_data()
{
    QTest::addColumn<QStringList>("coefficients");
    QTest::addColumn<QStringList>("marks");
    QTest::addColumn<QVector<double>>("points");
    QTest::addColumn<QStringList>("labels");

    const QStringList three{"A", "B", "C"};
    QTest::newRow("empty mark repeats") << QStringList{"1", "1", "1"} << QStringList{"10", "", "14"}
                                        << QVector<double>{10, 10, 14} << three;
    QTest::newRow("abs skipped") << QStringList{"1", "1", "1"} << QStringList{"10", "abs", "14"}
                                 << QVector<double>{10, 14} << QStringList{"A", "C"};
    QTest::newRow("coefficient 0 charted, empty not")
        << QStringList{"0", "", "1"} << QStringList{"8", "9", "11"} << QVector<double>{8, 11} << QStringList{"A", "C"};
    QTest::newRow("coefficient not a number charted")
        << QStringList{"x", "1", "1"} << QStringList{"8", "9", "11"} << QVector<double>{8, 9, 11} << three;
    QTest::newRow("first mark empty is 0")
        << QStringList{"1", "1", "1"} << QStringList{"", "", "7,5"} << QVector<double>{0, 0, 7.5} << three;
    QTest::newRow("repeat skips over a non-number") << QStringList{"1", "1", "1"} << QStringList{"12", "abs", ""}
                                                    << QVector<double>{12, 12} << QStringList{"A", "C"};
    QTest::newRow("repeat skips over an uncharted rubric")
        << QStringList{"1", "", "1"} << QStringList{"12", "3", ""} << QVector<double>{12, 12} << QStringList{"A", "C"};
    QTest::newRow("blanks around a mark") << QStringList{"1", "1", "1"} << QStringList{" 12,5 ", "1e3x", "-2"}
                                          << QVector<double>{12.5, -2} << QStringList{"A", "C"};
    QTest::newRow("no coefficient at all")
        << QStringList{"", "", ""} << QStringList{"1", "2", "3"} << QVector<double>{} << QStringList{};
}

void TestChartLayout::followUpPoints()
{
    QFETCH(QStringList, coefficients);
    QFETCH(QStringList, marks);
    QFETCH(QVector<double>, points);
    QFETCH(QStringList, labels);
    Grid grid;
    grid.setRow(0, {"A", "B", "C", "D"});
    grid.setRow(1, coefficients + QStringList{"1"});
    grid.setRow(5, marks + QStringList{"19"});
    const QVector<charts::Point> got = charts::followUpPoints(grid, 5, 2, 4);
    QVector<double> gotMarks;
    QStringList gotLabels;
    for (const charts::Point& point : got) {
        gotMarks.append(point.mark);
        gotLabels.append(point.label);
    }
    QCOMPARE(gotMarks, points);
    QCOMPARE(gotLabels, labels);
}

void TestChartLayout::levelLineAcrossAMissingMark()
{
    const Picture p = charts::followUpPicture({{10, "A"}, {10, "B"}, {14, "C"}}, QStringLiteral("Dupont Jean"));
    QCOMPARE(scaleLabels(p), (QStringList{"14", "7", "0"}));
    QCOMPARE(textAt(p, {300, 40}), QStringLiteral("Dupont Jean"));
    QCOMPARE(textAt(p, {60, 310}), QStringLiteral("A"));
    QCOMPARE(textAt(p, {210, 310}), QStringLiteral("B"));
    QCOMPARE(textAt(p, {360, 310}), QStringLiteral("C"));
    const QVector<Shape> lines = only(p, Shape::Kind::Line);
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines[0].a, QPoint(50, 300));
    QCOMPARE(lines[0].b, QPoint(50, 70));
    QCOMPARE(lines[1].b, QPoint(500, 300));
    // 10 x 220 / 14 = 157,14 -> 157 above the axis.
    const QColor navy(0, 0, 128);
    QCOMPARE(lines[2], (Shape{Shape::Kind::Line, {60, 143}, {210, 143}, navy, {}}));
    QCOMPARE(lines[3], (Shape{Shape::Kind::Line, {210, 143}, {360, 80}, navy, {}}));
    QCOMPARE(p.last().kind, Shape::Kind::Line);
}

void TestChartLayout::markNotANumberSpreadsTheRest()
{
    const Picture p = charts::followUpPicture({{10, "Devoir 1"}, {14, "Devoir 3"}}, QString());
    QCOMPARE(textAt(p, {285, 310}), QStringLiteral("Devoir 3"));
    const QVector<Shape> lines = only(p, Shape::Kind::Line);
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[2].a, QPoint(60, 143));
    QCOMPARE(lines[2].b, QPoint(285, 80));
}

void TestChartLayout::labelsCutToTenCharacters()
{
    const Picture p = charts::followUpPicture(
        {{5, QStringLiteral("Interrogation écrite")}, {6, QStringLiteral("Exposé oral")}, {7, "Dictée"}}, "X");
    QCOMPARE(textAt(p, {60, 310}), QStringLiteral("Interrogat"));
    QCOMPARE(textAt(p, {210, 310}), QStringLiteral("Exposé ora"));
    QCOMPARE(textAt(p, {360, 310}), QStringLiteral("Dictée"));
}

void TestChartLayout::scaleRoundsHalvesToEven_data()
{
    QTest::addColumn<double>("best");
    QTest::addColumn<QStringList>("labels");
    QTest::newRow("12,5") << 12.5 << QStringList{"12", "6", "0"};
    QTest::newRow("13,5") << 13.5 << QStringList{"14", "7", "0"};
    QTest::newRow("15,4") << 15.4 << QStringList{"15", "7", "0"};
    QTest::newRow("0,4") << 0.4 << QStringList{"0", "0", "0"};
    QTest::newRow("1,5") << 1.5 << QStringList{"2", "1", "0"};
}

void TestChartLayout::scaleRoundsHalvesToEven()
{
    QFETCH(double, best);
    QFETCH(QStringList, labels);
    const Picture p = charts::followUpPicture({{best / 2, "a"}, {best, "b"}}, "X");
    QCOMPARE(scaleLabels(p), labels);
    // The best mark stands 220 pixels above the axis whatever its value.
    QCOMPARE(only(p, Shape::Kind::Line).last().b, QPoint(285, 80));
    QCOMPARE(only(p, Shape::Kind::Line).last().a, QPoint(60, 190));
}

void TestChartLayout::noPoint()
{
    const Picture p = charts::followUpPicture({}, QStringLiteral("Martin Léa"));
    QCOMPARE(only(p, Shape::Kind::Line).size(), 2);
    QCOMPARE(scaleLabels(p), (QStringList{"0", "0", "0"}));
    QCOMPARE(textAt(p, {300, 40}), QStringLiteral("Martin Léa"));
    QCOMPARE(only(p, Shape::Kind::Text).size(), 4);
}

void TestChartLayout::everyMarkZero()
{
    const Picture p = charts::followUpPicture({{0, "a"}, {0, "b"}, {0, "c"}, {0, "d"}}, "X");
    QCOMPARE(scaleLabels(p), (QStringList{"0", "0", "0"}));
    const QVector<Shape> lines = only(p, Shape::Kind::Line);
    QCOMPARE(lines.size(), 2 + 3);
    // step 450 / 4 = 112, and the curve lies along the axis.
    QCOMPARE(lines[2].a, QPoint(60, 300));
    QCOMPARE(lines[4].b, QPoint(396, 300));
}

void TestChartLayout::onePointDrawsNoLine()
{
    const Picture p = charts::followUpPicture({{12, "Seul"}}, "X");
    QCOMPARE(only(p, Shape::Kind::Line).size(), 2);
    QCOMPARE(textAt(p, {60, 310}), QStringLiteral("Seul"));
    QCOMPARE(scaleLabels(p), (QStringList{"12", "6", "0"}));
}

void TestChartLayout::thirtyRubrics()
{
    QVector<charts::Point> points;
    for (int i = 1; i <= 30; ++i)
        points.append({double(i % 5), QString::number(i)});
    const Picture p = charts::followUpPicture(points, "X");
    // 450 / 30 = 15 pixels a rubric.
    QCOMPARE(textAt(p, {60 + 29 * 15, 310}), QStringLiteral("30"));
    const QVector<Shape> lines = only(p, Shape::Kind::Line);
    QCOMPARE(lines.size(), 2 + 29);
    QCOMPARE(lines[2].a, QPoint(60, 245)); // 1 x 220 / 4 = 55
    QCOMPARE(lines.last().b, QPoint(495, 300));
}

void TestChartLayout::hostileMarks()
{
    // Marks that read as numbers but are far beyond any scale must neither crash nor wrap around.
    const Picture p = charts::followUpPicture({{-1e300, "a"}, {10, "b"}, {1e-300, "c"}}, "X");
    const QVector<Shape> lines = only(p, Shape::Kind::Line);
    QCOMPARE(lines.size(), 4);
    QVERIFY(lines[2].a.y() > 300);
    QCOMPARE(lines[2].b, QPoint(210, 80));
    QCOMPARE(lines[3].b, QPoint(360, 300));
    const Picture huge = charts::followUpPicture({{1e300, "a"}, {1, "b"}}, "X");
    QCOMPARE(only(huge, Shape::Kind::Line)[2].a, QPoint(60, 80));
    QCOMPARE(only(huge, Shape::Kind::Line)[2].b, QPoint(285, 300));
    QCOMPARE(textAt(huge, {10, 70}).size(), 301);
}

QTEST_GUILESS_MAIN(TestChartLayout)
#include "TestChartLayout.moc"
