#include "Rows.h"
#include "analysis/PrintLayout.h"

#include <QSet>
#include <QTest>

using printlayout::Layout;
using printlayout::PrinterGeometry;
using printlayout::Text;

namespace {

// Ten pixels a character: right-aligned positions are easy to check by hand.
int tenPerChar(const QString& text)
{
    return static_cast<int>(text.size()) * 10;
}

// The class grid of a window: 32 columns (0 numbers, 1 names, 2 to 31 rubrics), 64 rows.
struct FakeGrid
{
    QList<QStringList> cells = QList<QStringList>(32, QStringList(64));
    QList<int> widths = QList<int>(32, 32);
    // A large-font screen: 600 dpi printers print at 5 times its size.
    int screenDpi = 120;

    FakeGrid()
    {
        widths[1] = 192;
        cells[1][0] = QStringLiteral("                 Rubriques");
        cells[1][1] = QStringLiteral("Elèves \\ Coefficients");
        for (int c = 2; c < 32; ++c) {
            cells[c][0] = QString::number(c - 1);
            cells[c][1] = QStringLiteral("1");
        }
        for (int r = 2; r < 64; ++r) {
            cells[0][r] = QString::number(r - 1);
            cells[1][r] = QStringLiteral(" ");
        }
    }
    printlayout::Sheet sheet() const
    {
        printlayout::Sheet s;
        s.colCount = 32;
        s.rowCount = 64;
        s.colWidths = widths;
        s.screenDpi = screenDpi;
        s.cell = [this](int c, int r) { return cells[c][r]; };
        return s;
    }
};

PrinterGeometry a4At600()
{
    // A4 printable area of a 600 dpi printer.
    return {4760, 6814, 201, 288, 600};
}

PrinterGeometry wideAt600()
{
    // As high as A4 and wide enough for the names and 30 rubrics at 5 times the screen's size (5760 pixels).
    return {5800, 6814, 245, 288, 600};
}

// The sheet's texts by place and text, without the cells they are cut to (columnsCarriedToFollowingPages checks them).
Layout unclipped(Layout layout)
{
    for (printlayout::Page& page : layout)
        for (Text& text : page.texts)
            text.clip = {};
    return layout;
}

QList<int> linesOf(const printlayout::Page& page)
{
    QList<int> ys;
    for (const Text& t : page.texts)
        if (!ys.contains(t.y))
            ys << t.y;
    std::sort(ys.begin(), ys.end());
    return ys;
}

const Text* find(const printlayout::Page& page, const QString& text)
{
    for (const Text& t : page.texts)
        if (t.text == text)
            return &t;
    return nullptr;
}

} // namespace

class TestPrintLayout : public QObject
{
    Q_OBJECT

private slots:
    void scaling_data();
    void scaling();
    void millimetres_data();
    void millimetres();
    void columnEdgesRoundHalvesToEven();
    void lastStudentRow_data();
    void lastStudentRow();
    void twentyFiveStudents();
    void cellPositions();
    void emptyCoefficients();
    void nothingBeyondLastStudentRow();
    void sixtyTwoStudentsContinueOnASecondPage();
    void pageBreakBoundary_data();
    void pageBreakBoundary();
    void columnsCarriedToFollowingPages_data();
    void columnsCarriedToFollowingPages();
    void cardLines();
    void cardPhotoRectangle();
    void cardWithoutPhotoOrFile();
    void memoLines_data();
    void memoLines();
    void longRemarksContinue();
};

void TestPrintLayout::scaling_data()
{
    QTest::addColumn<int>("dpi");
    QTest::addColumn<int>("screen");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("width32");
    QTest::addColumn<int>("width192");
    // A column keeps its length in inches: 32 pixels of a 96 dpi screen are a third of an inch on paper.
    QTest::newRow("600 dpi, 96 screen: 6.25") << 600 << 96 << 150 << 200 << 1200;
    QTest::newRow("300 dpi, 96 screen: 3.125") << 300 << 96 << 75 << 100 << 600;
    QTest::newRow("96 dpi, 96 screen: screen size") << 96 << 96 << 24 << 32 << 192;
    QTest::newRow("72 dpi, 96 screen: 0.75") << 72 << 96 << 18 << 24 << 144;
    QTest::newRow("600 dpi, 120 screen: 5") << 600 << 120 << 120 << 160 << 960;
    QTest::newRow("1200 dpi, 120 screen: 10") << 1200 << 120 << 240 << 320 << 1920;
    QTest::newRow("96 dpi, 120 screen: 0.8, 19.2 rounds down") << 96 << 120 << 19 << 26 << 154;
    QTest::newRow("150 dpi, 144 screen: 33.3 rounds down") << 150 << 144 << 25 << 33 << 200;
    QTest::newRow("unknown screen taken as 96") << 600 << 0 << 150 << 200 << 1200;
}

void TestPrintLayout::scaling()
{
    QFETCH(int, dpi);
    QFETCH(int, screen);
    QFETCH(int, line);
    QFETCH(int, width32);
    QFETCH(int, width192);
    const PrinterGeometry g{1000, 1000, 100, 100, dpi};
    const double r = printlayout::ratio(g, screen);
    QCOMPARE(printlayout::lineHeight(r), line);
    QCOMPARE(printlayout::scaled(32, r), width32);
    QCOMPARE(printlayout::scaled(192, r), width192);
}

void TestPrintLayout::millimetres_data()
{
    QTest::addColumn<int>("mm");
    QTest::addColumn<int>("mh");
    QTest::addColumn<int>("mv");
    // 4800 / 200 = 24 pixels a millimetre across, 6900 / 300 = 23 down.
    QTest::newRow("0 is 5 mm in") << 0 << 120 << 115;
    QTest::newRow("10") << 10 << 360 << 345;
    QTest::newRow("80") << 80 << 2040 << 1955;
    QTest::newRow("125") << 125 << 3120 << 2990;
}

void TestPrintLayout::millimetres()
{
    QFETCH(int, mm);
    QFETCH(int, mh);
    QFETCH(int, mv);
    const PrinterGeometry g{4800, 6900, 200, 300, 600};
    QCOMPARE(printlayout::Mh(g, mm), mh);
    QCOMPARE(printlayout::Mv(g, mm), mv);
    // The factor is truncated before it is multiplied: 4799 / 200 is 23, not 23.995.
    const PrinterGeometry h{4799, 6899, 200, 300, 600};
    QCOMPARE(printlayout::Mh(h, mm), 23 * (mm + 5));
    QCOMPARE(printlayout::Mv(h, mm), 22 * (mm + 5));
}

void TestPrintLayout::columnEdgesRoundHalvesToEven()
{
    FakeGrid grid;
    grid.widths[1] = 33; // 49.5 -> 50
    grid.widths[2] = 35; // 52.5 -> 52
    grid.widths[3] = 40; // 60
    grid.widths[4] = 0;
    const QList<int> edges = printlayout::columnEdges(grid.sheet(), 1.5);
    QCOMPARE(edges.size(), 33);
    QCOMPARE(edges[1], 0);
    QCOMPARE(edges[2], 50);
    QCOMPARE(edges[3], 102);
    QCOMPARE(edges[4], 162);
    QCOMPARE(edges[5], 162);
    QCOMPARE(edges[6], 162 + 48);
    QCOMPARE(edges[32], 162 + 27 * 48);
}

void TestPrintLayout::lastStudentRow_data()
{
    QTest::addColumn<QList<int>>("filledRows");
    QTest::addColumn<int>("expected");
    QTest::newRow("none") << QList<int>{} << 2;
    QTest::newRow("first only") << QList<int>{2} << 2;
    QTest::newRow("gap before the last") << QList<int>{2, 3, 10} << 10;
    QTest::newRow("student 62") << QList<int>{63} << 63;
}

void TestPrintLayout::lastStudentRow()
{
    QFETCH(QList<int>, filledRows);
    QFETCH(int, expected);
    FakeGrid grid;
    for (int r : filledRows)
        grid.cells[2][r] = QStringLiteral("10,00");
    // Other rubrics do not count.
    grid.cells[3][40] = QStringLiteral("9,00");
    QCOMPARE(printlayout::lastStudentRow(grid.sheet()), expected);
}

void TestPrintLayout::twentyFiveStudents()
{
    FakeGrid grid;
    for (int n = 1; n <= 25; ++n) {
        grid.cells[1][n + 1] = QStringLiteral("Eleve%1 X").arg(n);
        grid.cells[2][n + 1] = QStringLiteral("12,50");
    }
    const Layout layout = unclipped(printlayout::sheetLayout(grid.sheet(), wideAt600(), tenPerChar));
    QCOMPARE(layout.size(), 1);
    QList<int> expected;
    for (int k = 0; k < 27; ++k)
        expected << k * 120;
    QCOMPARE(linesOf(layout[0]), expected);
    for (int n = 1; n <= 25; ++n) {
        const Text* name = find(layout[0], QStringLiteral("Eleve%1 X").arg(n));
        QVERIFY(name);
        QCOMPARE(name->x, 0);
        QCOMPARE(name->y, (n + 1) * 120);
    }
    QVERIFY(!layout[0].image.isValid());
    QCOMPARE(layout[0].tabStop, 0);
}

void TestPrintLayout::cellPositions()
{
    FakeGrid grid;
    grid.cells[1][2] = QStringLiteral("Dupont Luc");
    grid.cells[2][2] = QStringLiteral("12,50");
    grid.cells[3][2] = QStringLiteral("8,00");
    grid.cells[31][2] = QStringLiteral(",50");
    const Layout layout = unclipped(printlayout::sheetLayout(grid.sheet(), wideAt600(), tenPerChar));
    const QList<Text>& t = layout[0].texts;
    // Column 1 spans 0..960, column 2 960..1120, column 3 1120..1280, column 31 5600..5760.
    QVERIFY(t.contains(Text{0, 0, QStringLiteral("                 Rubriques")}));
    QVERIFY(t.contains(Text{0, 120, QStringLiteral("Elèves \\ Coefficients")}));
    QVERIFY(t.contains(Text{1120 - 10 - 2, 0, QStringLiteral("1")}));
    QVERIFY(t.contains(Text{5760 - 20 - 2, 0, QStringLiteral("30")}));
    QVERIFY(t.contains(Text{1120 - 10 - 2, 120, QStringLiteral("1")}));
    QVERIFY(t.contains(Text{0, 240, QStringLiteral("Dupont Luc")}));
    QVERIFY(t.contains(Text{1120 - 50 - 2, 240, QStringLiteral("12,50")}));
    QVERIFY(t.contains(Text{1280 - 40 - 2, 240, QStringLiteral("8,00")}));
    QVERIFY(t.contains(Text{5760 - 30 - 2, 240, QStringLiteral(",50")}));
    // Column 0 (numbers) never prints.
    QVERIFY(!find(layout[0], QStringLiteral("1")) || find(layout[0], QStringLiteral("1"))->x != 0);
    // 2 lines of 31 cells, one line of a name and 3 marks.
    QCOMPARE(t.size(), 31 + 31 + 4);
}

void TestPrintLayout::emptyCoefficients()
{
    FakeGrid grid;
    grid.cells[2][2] = QStringLiteral("10,00");
    for (int c = 11; c < 32; ++c)
        grid.cells[c][1].clear();
    grid.cells[6][1].clear(); // between printed columns
    grid.cells[6][2] = QStringLiteral("7,00");
    grid.cells[12][2] = QStringLiteral("20,00"); // after the last coefficient
    const printlayout::Sheet sheet = grid.sheet();
    QCOMPARE(printlayout::lastPrintedColumn(sheet), 10);
    const Layout layout = unclipped(printlayout::sheetLayout(sheet, a4At600(), tenPerChar));
    const QList<Text>& t = layout[0].texts;
    // Column 6 spans 1600..1760: its heading and mark print, its empty coefficient draws nothing.
    QVERIFY(t.contains(Text{1760 - 10 - 2, 0, QStringLiteral("5")}));
    QVERIFY(t.contains(Text{1760 - 40 - 2, 240, QStringLiteral("7,00")}));
    QVERIFY(!find(layout[0], QStringLiteral("20,00")));
    // Column 10's heading is 9, column 11's is 10.
    QVERIFY(t.contains(Text{160 * 9 + 960 - 10 - 2, 0, QStringLiteral("9")}));
    QVERIFY(!find(layout[0], QStringLiteral("10")));
    QCOMPARE(t.size(), 10 + 9 + 3);

    // Only the names column's label left: the names print, no rubric does.
    for (int c = 2; c < 32; ++c)
        grid.cells[c][1].clear();
    QCOMPARE(printlayout::lastPrintedColumn(grid.sheet()), 1);
    // Nothing at all in row 1: nothing prints.
    grid.cells[1][1].clear();
    QCOMPARE(printlayout::lastPrintedColumn(grid.sheet()), 0);
    QVERIFY(printlayout::sheetLayout(grid.sheet(), a4At600(), tenPerChar)[0].texts.isEmpty());
}

void TestPrintLayout::nothingBeyondLastStudentRow()
{
    FakeGrid grid;
    // No marks at all: rows 0 to 2 print, the name of student 2 does not.
    grid.cells[1][2] = QStringLiteral("Premier");
    grid.cells[1][3] = QStringLiteral("Second");
    grid.cells[3][3] = QStringLiteral("15,00");
    const Layout layout = printlayout::sheetLayout(grid.sheet(), a4At600(), tenPerChar);
    QCOMPARE(linesOf(layout[0]), (QList<int>{0, 120, 240}));
    QVERIFY(find(layout[0], QStringLiteral("Premier")));
    QVERIFY(!find(layout[0], QStringLiteral("Second")));
}

void TestPrintLayout::sixtyTwoStudentsContinueOnASecondPage()
{
    FakeGrid grid;
    for (int n = 1; n <= 62; ++n) {
        grid.cells[1][n + 1] = QStringLiteral("Eleve%1").arg(n);
        grid.cells[2][n + 1] = QStringLiteral("%1,00").arg(n % 20);
    }
    // 6814 / 120: 56 lines a page. Page 1: rows 0 to 55; page 2: headings, coefficients, rows 56 to 63.
    const Layout layout = unclipped(printlayout::sheetLayout(grid.sheet(), wideAt600(), tenPerChar));
    QCOMPARE(layout.size(), 2);
    QList<int> first, second;
    for (int k = 0; k < 56; ++k)
        first << k * 120;
    for (int k = 0; k < 10; ++k)
        second << k * 120;
    QCOMPARE(linesOf(layout[0]), first);
    QCOMPARE(linesOf(layout[1]), second);
    for (int n = 1; n <= 62; ++n) {
        const QString name = QStringLiteral("Eleve%1").arg(n);
        const Text* onFirst = find(layout[0], name);
        const Text* onSecond = find(layout[1], name);
        QVERIFY2((onFirst != nullptr) != (onSecond != nullptr), qPrintable(name));
        if (n <= 54)
            QCOMPARE(onFirst->y, (n + 1) * 120);
        else
            QCOMPARE(onSecond->y, (n - 55 + 2) * 120);
    }
    QVERIFY(layout[1].texts.contains(Text{0, 0, QStringLiteral("                 Rubriques")}));
    QVERIFY(layout[1].texts.contains(Text{0, 120, QStringLiteral("Elèves \\ Coefficients")}));
    QVERIFY(layout[1].texts.contains(Text{5760 - 20 - 2, 0, QStringLiteral("30")}));
    for (const auto& page : layout)
        for (const Text& t : page.texts)
            QVERIFY(t.y + 120 <= 6814);
}

void TestPrintLayout::pageBreakBoundary_data()
{
    QTest::addColumn<int>("pageHeight");
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("lastY");
    // 64 lines of 120 pixels need 7680.
    QTest::newRow("fits exactly") << 7680 << 1 << 63 * 120;
    QTest::newRow("one pixel short") << 7679 << 2 << 2 * 120;
    QTest::newRow("half a page") << 3840 << 3 << (2 + 63 - 32 - 30) * 120;
}

void TestPrintLayout::pageBreakBoundary()
{
    QFETCH(int, pageHeight);
    QFETCH(int, pages);
    QFETCH(int, lastY);
    FakeGrid grid;
    for (int n = 1; n <= 62; ++n)
        grid.cells[2][n + 1] = QStringLiteral("1,00");
    grid.cells[1][63] = QStringLiteral("Dernier");
    const PrinterGeometry g{5800, pageHeight, 245, 288, 600};
    const Layout layout = printlayout::sheetLayout(grid.sheet(), g, tenPerChar);
    QCOMPARE(layout.size(), pages);
    const Text* last = find(layout.last(), QStringLiteral("Dernier"));
    QVERIFY(last);
    QCOMPARE(last->y, lastY);
    int names = 0;
    for (const auto& page : layout)
        for (const Text& t : page.texts)
            names += t.text == QStringLiteral("1,00") ? 1 : 0;
    QCOMPARE(names, 62);
}

// At 96 pixels per inch the names take 1200 pixels and a rubric 200: 17 rubrics fit in 4760; at 120, 960 and 160:
// 23 fit. 62 students go down on two pages, each carried across. A page narrower than the names and one rubric
// holds one rubric, so that printing ends.
void TestPrintLayout::columnsCarriedToFollowingPages_data()
{
    rows::add({"96 screen, A4 | 96 4760 25 | 17 13", "120 screen, A4 | 120 4760 25 | 23 7",
               "96 screen, 62 students | 96 4760 62 | 17 13 17 13", "fits exactly | 96 7200 3 | 30",
               "one pixel short | 96 7199 3 | 29 1", "narrow page | 96 1300 3 | " + QString("1 ").repeated(30)});
}

void TestPrintLayout::columnsCarriedToFollowingPages()
{
    const QStringList row = rows::fields(), given = row[1].split(' '), perPage = row[2].split(' ', Qt::SkipEmptyParts);
    FakeGrid grid;
    grid.screenDpi = given[0].toInt();
    PrinterGeometry printer = a4At600();
    printer.pageWidth = given[1].toInt();
    QStringList expected, printed;
    for (int n = 1; n <= given[2].toInt(); ++n) {
        grid.cells[1][n + 1] = QStringLiteral("Nom%1").arg(n);
        for (int c = 2; c < 32; ++c)
            expected << (grid.cells[c][n + 1] = QStringLiteral("%1;%2").arg(n).arg(c));
    }
    const Layout layout = printlayout::sheetLayout(grid.sheet(), printer, tenPerChar);
    QCOMPARE(layout.size(), perPage.size());
    for (qsizetype p = 0; p < layout.size(); ++p) {
        const int L = linesOf(layout[p])[1];
        const Text* names = find(layout[p], QStringLiteral("                 Rubriques"));
        QVERIFY(names && names->clip == QRect(0, 0, names->clip.width(), L));
        int headings = 0;
        for (const Text& t : layout[p].texts) {
            // Each text in its cell, a line high: names at its left, the rest 2 pixels before its right, on paper
            // unless the page is narrower than a rubric.
            QCOMPARE(QPoint(t.clip.top(), t.clip.height()), QPoint(t.y, L));
            if (t.clip.left() == 0) {
                QCOMPARE(t.x, 0);
                continue;
            }
            QCOMPARE(t.x + tenPerChar(t.text) + 2, t.clip.left() + t.clip.width());
            QVERIFY(t.clip.left() >= names->clip.width());
            QVERIFY(row[0] == "narrow page" || t.clip.right() < printer.pageWidth);
            headings += t.y == 0 ? 1 : 0;
            if (!t.text.contains(';'))
                continue;
            printed << t.text;
            // The names column comes again on every page, beside the marks of its line.
            const QString name = QStringLiteral("Nom") + t.text.section(';', 0, 0);
            QVERIFY(layout[p].texts.contains(Text{0, t.y, name, QRect(0, t.y, names->clip.width(), L)}));
        }
        QCOMPARE(QString::number(headings), perPage[p]);
    }
    // Every mark of the class is on paper, once.
    printed.sort();
    expected.sort();
    QCOMPARE(printed, expected);
}

void TestPrintLayout::cardLines()
{
    const PrinterGeometry g{4800, 6900, 200, 300, 600};
    printlayout::Card card;
    card.fileName = QStringLiteral("/home/prof/classes/4e B.prf");
    card.today = QDate(2026, 12, 7);
    card.fields = QStringList{"Dupont", "Luc",   "03/04/2012",     "4e B",           "1 rue Haute", "Bât. C",
                              "75001",  "Paris", "01 02 03 04 05", "06 07 08 09 10", "Pilote"};
    card.remarks = QStringList{"Sérieux.", "", "Bavard."};
    const Layout layout = printlayout::cardLayout(card, g, 100);
    QCOMPARE(layout.size(), 1);
    const QList<Text> expected = {
        {120, 345, QStringLiteral("4e B.prf07/12/2026")},
        {120, 575, QStringLiteral("Nom \tDupont")},
        {120, 690, QStringLiteral("Prénom \tLuc")},
        {120, 805, QStringLiteral("Né(e) le \t03/04/2012")},
        {120, 920, QStringLiteral("Classe \t4e B")},
        {120, 1035, QStringLiteral("Adresse \t1 rue Haute")},
        {120, 1150, QStringLiteral("Adresse \tBât. C")},
        {120, 1265, QStringLiteral("C.P. \t75001")},
        {120, 1380, QStringLiteral("Ville \tParis")},
        {120, 1495, QStringLiteral("Tél. \t01 02 03 04 05")},
        {120, 1610, QStringLiteral("Tél. \t06 07 08 09 10")},
        {120, 1725, QStringLiteral("Métier envisagé \tPilote")},
        {120, 1955, QStringLiteral("Sérieux.")},
        {120, 2070, QString()},
        {120, 2185, QStringLiteral("Bavard.")},
    };
    QCOMPARE(layout[0].texts, expected);
    // Tab stops 35 mm apart: 24 pixels a millimetre across.
    QCOMPARE(layout[0].tabStop, 840);
}

void TestPrintLayout::cardPhotoRectangle()
{
    const PrinterGeometry g{4800, 6900, 200, 300, 600};
    printlayout::Card card;
    card.today = QDate(2026, 1, 2);
    card.hasPhoto = true;
    const Layout layout = printlayout::cardLayout(card, g, 100);
    // From (Mh(20), Mv(100)) = (600, 2415) to (Mh(50), Mv(125)) = (1320, 2990): 30 mm by 25 mm.
    QCOMPARE(layout[0].image, QRect(600, 2415, 720, 575));
}

void TestPrintLayout::cardWithoutPhotoOrFile()
{
    const PrinterGeometry g{4800, 6900, 200, 300, 600};
    printlayout::Card card;
    card.today = QDate(2026, 1, 2);
    const Layout layout = printlayout::cardLayout(card, g, 100);
    QCOMPARE(layout.size(), 1);
    QVERIFY(layout[0].image.isNull());
    QCOMPARE(layout[0].texts.first(), (Text{120, 345, QStringLiteral("02/01/2026")}));
    QCOMPARE(layout[0].texts.size(), 12);
    QCOMPARE(layout[0].texts[1].text, QStringLiteral("Nom \t"));
}

void TestPrintLayout::memoLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty") << QString() << QStringList{};
    QTest::newRow("one") << "a" << QStringList{"a"};
    QTest::newRow("line feeds") << "a\nb" << QStringList{"a", "b"};
    QTest::newRow("CR LF, trailing end") << "a\r\nb\r\n" << QStringList{"a", "b"};
    QTest::newRow("empty middle line") << "a\n\nb" << QStringList{"a", "", "b"};
    QTest::newRow("only a line end") << "\n" << QStringList{""};
    QTest::newRow("tabs kept") << "x\ty" << QStringList{"x\ty"};
}

void TestPrintLayout::memoLines()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QCOMPARE(printlayout::memoLines(text), lines);
}

void TestPrintLayout::longRemarksContinue()
{
    // Mv(80 + 5i) = 23 x (85 + 5i); with lines 100 high, line 42 (at 6785) is the last that fits in 6900.
    const PrinterGeometry g{4800, 6900, 200, 300, 600};
    printlayout::Card card;
    card.fileName = QStringLiteral("/srv/classes.2026/3A.prf");
    card.today = QDate(2026, 12, 7);
    card.hasPhoto = true;
    for (int i = 0; i < 50; ++i)
        card.remarks << QStringLiteral("ligne %1").arg(i);
    const Layout layout = printlayout::cardLayout(card, g, 100);
    QCOMPARE(layout.size(), 2);
    QCOMPARE(find(layout[0], QStringLiteral("ligne 42"))->y, 23 * (85 + 5 * 42));
    QVERIFY(!find(layout[0], QStringLiteral("ligne 43")));
    QCOMPARE(layout[1].texts.first(), (Text{120, 345, QStringLiteral("3A.prf07/12/2026")}));
    for (int i = 43; i < 50; ++i)
        QCOMPARE(find(layout[1], QStringLiteral("ligne %1").arg(i))->y, 23 * (25 + 5 * (i - 43)));
    QCOMPARE(layout[1].texts.size(), 1 + 7);
    QCOMPARE(layout[1].tabStop, 840);
    QVERIFY(layout[1].image.isNull());
    QCOMPARE(layout[0].image, QRect(600, 2415, 720, 575));

    // A page too small for any remark still ends, one line a page.
    const PrinterGeometry tiny{4800, 500, 200, 20, 600};
    card.remarks = QStringList{"a", "b"};
    const Layout small = printlayout::cardLayout(card, tiny, 100);
    QCOMPARE(small.size(), 3);
}

QTEST_GUILESS_MAIN(TestPrintLayout)
#include "TestPrintLayout.moc"
