#include "ClassWindows.h"
#include "FakeSeams.h"
#include "TestFiles.h"
#include "app/ToolWindows.h"
#include "classbook/MDIChild.h"
#include "companions/Planning.h"
#include "companions/PrjEdit.h"
#include "core/PlatformError.h"
#include "model/PlanningList.h"
#include "widgets/Fonts.h"
#include "widgets/StringGrid.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QToolButton>
#include <optional>

#include <sys/stat.h>

using planning::PlanningList;

// The annual planning: its lines, its grid clicked as a user would, its file byte for byte, and the
// class windows that load and save it.
class TestPlanning : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    // The list of lines.
    void daysInMonth_data();
    void daysInMonth();
    void readYear_data();
    void readYear();
    void writeYearReplacesItsLines_data();
    void writeYearReplacesItsLines();
    void projectLines_data();
    void projectLines();
    void dayColours_data();
    void dayColours();

    // The window.
    void freshStartLayout();
    void clickMarksThenClears();
    void captionsReadOnTheirColour();
    void clicksOnDaysThatDoNotExist_data();
    void clicksOnDaysThatDoNotExist();
    void clicksOnNamesAndNumbersDoNothing();
    void squareCoversTheDayOnly();
    void yearButtonsKeepMarks();
    void undoAndRedoDays();
    void pageKeysFromEveryControl_data();
    void pageKeysFromEveryControl();
    void renameSubject_data();
    void renameSubject();
    void prjEditLayoutAndKeys_data();
    void prjEditLayoutAndKeys();
    void closingWritesTheYearIntoTheList();

    // The file.
    void freshStartFileBytes();
    void yearMovedAfterLaterYear();
    void loadShowsFileAndNames();
    void fileNames_data();
    void fileNames();
    void missingFileKeepsListAndFlag();
    void emptyFileGivesEmptyList();
    void unreadableFileIsReported();
    void uncreatableFileStaysModified();
    void unchangedPlanningIsNotWritten();
    void accentsAreWindows1252();
    void strangeLinesPassThroughByteForByte();
    void classWindowReportsAndPropagatesFileErrors();
    void unreadableFileIsNeverWrittenOver();

    // Several classes.
    void aClassWithoutFileNeverReceivesAnotherPlanning();
    void changesAreWrittenToTheirClassBeforeAnotherLoads();
    void menuShowsThePlanningModally();
    void planningFollowsItsClassSavedUnderAnotherName();
    void closedClassLeavesNoPlanningToTheNext();
    void sameClassOpenedAgainKeepsChanges();
    void yearsStayFourDigits_data();
    void yearsStayFourDigits();

private:
    QString path(const QString& name) const { return m_windows->path(name); }
    QByteArray readFile(const QString& name) const;
    void writeFile(const QString& name, const QByteArray& bytes) const;
    void clickDay(TPlanning* p, int day, int month);
    QColor pixel(TPlanning* p, const QPoint& at);
    void goToYear(TPlanning* p, int year);

    std::optional<ClassWindows> m_windows;
};

namespace {

QString blanks(int n)
{
    return QString(n, QLatin1Char(' '));
}

QByteArray emptyYear(int year)
{
    QByteArray out;
    for (int m = 1; m <= 12; ++m)
        out += QByteArray::number(year) + QByteArray::number(m, 16).toUpper() + QByteArray(31, ' ') + "\r\n";
    return out;
}

} // namespace

void TestPlanning::initTestCase()
{
    fonts::install();
}

void TestPlanning::init()
{
    m_windows.emplace(QDateTime(QDate(2026, 12, 7), QTime(9, 0)));
}

void TestPlanning::cleanup()
{
    m_windows.reset();
}

QByteArray TestPlanning::readFile(const QString& name) const
{
    return testfiles::readAll(path(name));
}

void TestPlanning::writeFile(const QString& name, const QByteArray& bytes) const
{
    testfiles::writeAll(path(name), bytes);
}

void TestPlanning::clickDay(TPlanning* p, int day, int month)
{
    const QRect rect = p->StringGrid1->cellRect(day, month);
    QVERIFY(rect.isValid());
    QTest::mouseClick(p->StringGrid1->viewport(), Qt::LeftButton, {}, rect.center());
}

QColor TestPlanning::pixel(TPlanning* p, const QPoint& at)
{
    return p->StringGrid1->viewport()->grab().toImage().pixelColor(at);
}

void TestPlanning::goToYear(TPlanning* p, int year)
{
    while (p->shownYear() > year)
        QTest::mouseClick(p->SpeedButton2, Qt::LeftButton);
    while (p->shownYear() < year)
        QTest::mouseClick(p->SpeedButton1, Qt::LeftButton);
}

// --- the list of lines ---------------------------------------------------------------------

void TestPlanning::daysInMonth_data()
{
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("days");
    QTest::newRow("January") << 1 << 2001 << 31;
    QTest::newRow("February 2001") << 2 << 2001 << 28;
    QTest::newRow("February 2004") << 2 << 2004 << 29;
    QTest::newRow("February 2100, no century rule") << 2 << 2100 << 29;
    QTest::newRow("February 2000") << 2 << 2000 << 29;
    QTest::newRow("March") << 3 << 2001 << 31;
    QTest::newRow("April") << 4 << 2001 << 30;
    QTest::newRow("June") << 6 << 2001 << 30;
    QTest::newRow("July") << 7 << 2001 << 31;
    QTest::newRow("August") << 8 << 2001 << 31;
    QTest::newRow("September") << 9 << 2001 << 30;
    QTest::newRow("November") << 11 << 2001 << 30;
    QTest::newRow("December") << 12 << 2001 << 31;
}

void TestPlanning::daysInMonth()
{
    QFETCH(int, month);
    QFETCH(int, year);
    QFETCH(int, days);
    QCOMPARE(planning::daysInMonth(month, year), days);
}

void TestPlanning::readYear_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("month");
    // What days 1 to 31 of that month show, one character each, '.' for an empty day.
    QTest::addColumn<QString>("shown");

    const QString october = QStringLiteral("2001A") + QStringLiteral("12345678") + blanks(22) + QStringLiteral("8");
    QTest::newRow("A is October") << QStringList{october} << 10 << QStringLiteral("12345678......................8");
    QTest::newRow("lower-case a is October too")
        << QStringList{QStringLiteral("2001a") + QStringLiteral("3") + blanks(30)} << 10
        << QStringLiteral("3..............................");
    QTest::newRow("D gives no month") << QStringList{QStringLiteral("2001D") + QString(31, QLatin1Char('1'))} << 12
                                      << QString(31, QLatin1Char('.'));
    QTest::newRow("X gives no month") << QStringList{QStringLiteral("2001X") + QString(31, QLatin1Char('1'))} << 10
                                      << QString(31, QLatin1Char('.'));
    QTest::newRow("month 0 is not shown")
        << QStringList{QStringLiteral("20010") + QString(31, QLatin1Char('1'))} << 1 << QString(31, QLatin1Char('.'));
    QTest::newRow("another year is not shown")
        << QStringList{QStringLiteral("20023") + QString(31, QLatin1Char('2'))} << 3 << QString(31, QLatin1Char('.'));
    QTest::newRow("short line leaves the end empty")
        << QStringList{QStringLiteral("20013 5")} << 3 << QStringLiteral(".5.............................");
    QTest::newRow("control characters are empty days")
        << QStringList{QStringLiteral("20013") + QChar(9) + QChar(1) + QStringLiteral("4") + blanks(28)} << 3
        << QStringLiteral("..4............................");
    QTest::newRow("other characters pass as they are") << QStringList{QStringLiteral("20015x9é") + blanks(28)} << 5
                                                       << QStringLiteral("x9é............................");
    QTest::newRow("a later line of the month wins")
        << QStringList{QStringLiteral("20016") + QString(31, QLatin1Char('1')), QStringLiteral("PRJ1Maths"),
                       QStringLiteral("20016 2")}
        << 6 << QStringLiteral(".2.............................");
    QTest::newRow("year line too short for a month")
        << QStringList{QStringLiteral("2001")} << 1 << QString(31, QLatin1Char('.'));
}

void TestPlanning::readYear()
{
    QFETCH(QStringList, lines);
    QFETCH(int, month);
    QFETCH(QString, shown);
    PlanningList list;
    list.setLines(lines);
    const planning::YearCells cells = list.LitAn(2001);
    QString got;
    for (const QString& cell : cells[month - 1])
        got += cell.isEmpty() ? QStringLiteral(".") : cell;
    QCOMPARE(got, shown);
    // No other month of the year shows anything.
    for (int m = 1; m <= 12; ++m)
        if (m != month)
            for (const QString& cell : cells[m - 1])
                QCOMPARE(cell, QString());
}

void TestPlanning::writeYearReplacesItsLines_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("kept");

    QTest::newRow("start") << QStringList{QStringLiteral(" ")} << QStringList{QStringLiteral(" ")};
    QTest::newRow("empty list") << QStringList{} << QStringList{};
    QTest::newRow("2001 before 2002 goes after it")
        << QStringList{QStringLiteral(" "), QStringLiteral("20011") + blanks(31), QStringLiteral("20021") + blanks(31),
                       QStringLiteral("2001C") + blanks(31)}
        << QStringList{QStringLiteral(" "), QStringLiteral("20021") + blanks(31)};
    QTest::newRow("any line of the year goes, project lines stay")
        << QStringList{QStringLiteral("PRJ3Anglais"), QStringLiteral("2001 note"), QStringLiteral("200"),
                       QStringLiteral("12001")}
        << QStringList{QStringLiteral("PRJ3Anglais"), QStringLiteral("200"), QStringLiteral("12001")};
}

void TestPlanning::writeYearReplacesItsLines()
{
    QFETCH(QStringList, before);
    QFETCH(QStringList, kept);
    PlanningList list;
    list.setLines(before);
    planning::YearCells cells;
    cells[2][4] = QStringLiteral("3");
    cells[11][30] = QStringLiteral("8");
    cells[0][0] = QStringLiteral("x");
    list.EcritAn(2001, cells);

    QStringList expected = kept;
    expected << QStringLiteral("20011x") + blanks(30);
    expected << QStringLiteral("20012") + blanks(31);
    expected << QStringLiteral("20013") + blanks(4) + QStringLiteral("3") + blanks(26);
    for (const char* m : {"4", "5", "6", "7", "8", "9", "A", "B"})
        expected << QStringLiteral("2001") + QLatin1String(m) + blanks(31);
    expected << QStringLiteral("2001C") + blanks(30) + QStringLiteral("8");
    QCOMPARE(list.lines(), expected);
    for (int i = kept.size(); i < expected.size(); ++i)
        QCOMPARE(list.lines().at(i).size(), 36);
    // What was written reads back the same.
    QCOMPARE(list.LitAn(2001), cells);
}

void TestPlanning::projectLines_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("existed");
    QTest::addColumn<QStringList>("after");

    const QString histoire = QStringLiteral("Histoire");
    QTest::newRow("replaces the first PRJ2 line only")
        << QStringList{QStringLiteral(" "), QStringLiteral("PRJ1Maths"), QStringLiteral("PRJ2Géo"),
                       QStringLiteral("PRJ2Autre")}
        << histoire << true
        << QStringList{QStringLiteral(" "), QStringLiteral("PRJ1Maths"), QStringLiteral("PRJ2Histoire"),
                       QStringLiteral("PRJ2Autre")};
    QTest::newRow("a line beginning PRJ2 whatever follows")
        << QStringList{QStringLiteral("PRJ2")} << histoire << true << QStringList{QStringLiteral("PRJ2Histoire")};
    QTest::newRow("line breaks become blanks")
        << QStringList{QStringLiteral("PRJ2")} << QStringLiteral("His\r\nto\rire") << true
        << QStringList{QStringLiteral("PRJ2His  to ire")};
    QTest::newRow("an empty name") << QStringList{QStringLiteral("PRJ2x")} << QString() << true
                                   << QStringList{QStringLiteral("PRJ2")};
    QTest::newRow("none: one is added at the end")
        << QStringList{QStringLiteral(" "), QStringLiteral("PRJ1Maths"), QStringLiteral("PRJ12x")} << histoire << false
        << QStringList{QStringLiteral(" "), QStringLiteral("PRJ1Maths"), QStringLiteral("PRJ12x"),
                       QStringLiteral("PRJ2Histoire")};
}

void TestPlanning::projectLines()
{
    QFETCH(QStringList, before);
    QFETCH(QString, name);
    QFETCH(bool, existed);
    QFETCH(QStringList, after);
    PlanningList list;
    list.setLines(before);
    QCOMPARE(list.MajPrj(2, name), existed);
    QCOMPARE(list.lines(), after);
    const std::optional<QString> stored = list.projectName(2);
    QVERIFY(stored.has_value());
    QCOMPARE(QStringLiteral("PRJ2") + *stored, after.at(after.indexOf(QRegularExpression(QStringLiteral("^PRJ2.*")))));
    QCOMPARE(list.projectName(5), std::optional<QString>());
}

void TestPlanning::dayColours_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("empty") << QString() << QColor(Qt::white);
    QTest::newRow("1 green") << QStringLiteral("1") << QColor(0, 128, 0);
    QTest::newRow("2 blue") << QStringLiteral("2") << QColor(0, 0, 255);
    QTest::newRow("3 yellow") << QStringLiteral("3") << QColor(255, 255, 0);
    QTest::newRow("4 aqua") << QStringLiteral("4") << QColor(0, 255, 255);
    QTest::newRow("5 teal") << QStringLiteral("5") << QColor(0, 128, 128);
    QTest::newRow("6 red") << QStringLiteral("6") << QColor(255, 0, 0);
    QTest::newRow("7 fuchsia") << QStringLiteral("7") << QColor(255, 0, 255);
    QTest::newRow("8 lime") << QStringLiteral("8") << QColor(0, 255, 0);
    QTest::newRow("0 white") << QStringLiteral("0") << QColor(Qt::white);
    QTest::newRow("9 white") << QStringLiteral("9") << QColor(Qt::white);
    QTest::newRow("letter silver") << QStringLiteral("x") << QColor(192, 192, 192);
}

void TestPlanning::dayColours()
{
    QFETCH(QString, cell);
    QFETCH(QColor, colour);
    QCOMPARE(planning::dayColour(cell), colour);
}

// --- the window ------------------------------------------------------------------------------

void TestPlanning::freshStartLayout()
{
    TPlanning p;
    p.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    QCOMPARE(p.windowTitle(), QStringLiteral("Planning"));
    QCOMPARE(p.Panel1Caption->text(), QStringLiteral("Planning 2026"));
    QCOMPARE(p.Panel1Caption->font().pixelSize(), 17);
    QCOMPARE(p.Panel1->geometry(), QRect(0, 0, p.width(), 33));
    QCOMPARE(p.SpeedButton2->geometry(), QRect(20, 4, 25, 25));
    QCOMPARE(p.SpeedButton1->geometry(), QRect(45, 4, 25, 25));
    QCOMPARE(p.SpeedButton2->toolTip(), QStringLiteral("Année précédente"));
    QCOMPARE(p.SpeedButton1->toolTip(), QStringLiteral("Année suivante"));
    QCOMPARE(p.Button1->text(), QStringLiteral("Fermer"));
    QCOMPARE(p.Button1->geometry(), QRect(520, 4, 75, 25));
    QVERIFY(p.Button1->hasFocus());
    QCOMPARE(p.StringGrid1->geometry(), QRect(0, 33, p.width(), 226));
    QCOMPARE(p.StringGrid1->colWidth(0), 86);
    QCOMPARE(p.StringGrid1->colWidth(31), 16);
    QCOMPARE(p.StringGrid1->rowHeight(12), 16);
    QCOMPARE(p.StringGrid1->cell(0, 1), QStringLiteral("Janvier"));
    QCOMPARE(p.StringGrid1->cell(0, 2), QStringLiteral("Février"));
    QCOMPARE(p.StringGrid1->cell(0, 8), QStringLiteral("Août"));
    QCOMPARE(p.StringGrid1->cell(0, 12), QStringLiteral("Décembre"));
    QCOMPARE(p.StringGrid1->cell(1, 0), QStringLiteral("1"));
    QCOMPARE(p.StringGrid1->cell(31, 0), QStringLiteral("31"));
    // Every day is in view and white.
    for (int m = 1; m <= 12; ++m)
        for (int d = 1; d <= 31; ++d) {
            QCOMPARE(p.StringGrid1->cell(d, m), QString());
            QCOMPARE(p.StringGrid1->cellRect(d, m), QRect(17 * d + 70, 17 * m, 16, 16));
        }
    QCOMPARE(pixel(&p, QPoint(17 * 31 + 75, 17 * 12 + 8)), QColor(Qt::white));

    // The subject buttons, 100 x 25, stand under the grid in four columns of two: a column every 112 pixels from
    // the left edge 16, the odd subjects on the line at 272 and each even one 32 pixels under the odd one before it.
    for (int s = 1; s <= 8; ++s) {
        SubjectPanel* panel = p.findChild<SubjectPanel*>(QStringLiteral("Panel") + QString::number(s + 1));
        QVERIFY(panel);
        QCOMPARE(panel, p.SubjectPanels[s - 1]);
        QCOMPARE(panel->caption(), QStringLiteral("Matière %1").arg(s));
        const int column = (s - 1) / 2, line = (s - 1) % 2;
        QCOMPARE(panel->geometry(), QRect(16 + 112 * column, 272 + 32 * line, 100, 25));
        QVERIFY(panel->y() > p.StringGrid1->geometry().bottom());
        QCOMPARE(panel->grab().toImage().pixelColor(50, 3), planning::subjectColour(s));
    }
    QCOMPARE(p.currentSubject(), 1);
    QVERIFY(!p.isModified());
    QCOMPARE(p.list().lines(), QStringList{QStringLiteral(" ")});
}

// Every subject caption stands out from its button's colour: a contrast ratio (WCAG 2, from the relative
// luminances) of 4.5 to 1 at least, the least that normal-sized text needs to be read easily.
void TestPlanning::captionsReadOnTheirColour()
{
    const auto luminance = [](const QColor& c) {
        const auto lin = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * lin(c.redF()) + 0.7152 * lin(c.greenF()) + 0.0722 * lin(c.blueF()) + 0.05;
    };
    TPlanning planning;
    for (SubjectPanel* panel : planning.SubjectPanels) {
        const double back = luminance(panel->palette().color(QPalette::Window));
        const double text = luminance(panel->palette().color(QPalette::WindowText));
        QVERIFY2(std::max(back, text) / std::min(back, text) >= 4.5, qPrintable(panel->caption()));
    }
}

void TestPlanning::clickMarksThenClears()
{
    m_windows->fake().fixedNow = QDateTime(QDate(2001, 1, 15), QTime(8, 0));
    TPlanning p;
    p.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    QTest::mouseClick(p.SubjectPanels[2], Qt::LeftButton);
    QCOMPARE(p.currentSubject(), 3);
    const QPoint inside = planning::daySquare(5, 3).center();

    clickDay(&p, 5, 3);
    QCOMPARE(p.StringGrid1->cell(5, 3), QStringLiteral("3"));
    QVERIFY(p.isModified());
    QCOMPARE(pixel(&p, inside), QColor(255, 255, 0));

    p.Sauve(QString()); // no name: the flag stays
    QVERIFY(p.isModified());
    p.Sauve(path(QStringLiteral("6A.prf")));
    QVERIFY(!p.isModified());

    clickDay(&p, 5, 3);
    QCOMPARE(p.StringGrid1->cell(5, 3), QString());
    QVERIFY(p.isModified());
    QCOMPARE(pixel(&p, inside), QColor(Qt::white));

    // Another subject marks with its own colour; the neighbour days stay white.
    QTest::mouseClick(p.SubjectPanels[5], Qt::LeftButton);
    clickDay(&p, 6, 3);
    QCOMPARE(p.StringGrid1->cell(6, 3), QStringLiteral("6"));
    QCOMPARE(pixel(&p, planning::daySquare(6, 3).center()), QColor(255, 0, 0));
    QCOMPARE(pixel(&p, planning::daySquare(7, 3).center()), QColor(Qt::white));

    // A quick double click is two clicks; its second click arrives as a double click.
    clickDay(&p, 8, 3);
    QTest::mouseDClick(p.StringGrid1->viewport(), Qt::LeftButton, {}, p.StringGrid1->cellRect(8, 3).center());
    QCOMPARE(p.StringGrid1->cell(8, 3), QString());
}

void TestPlanning::clicksOnDaysThatDoNotExist_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("day");
    QTest::addColumn<int>("month");
    QTest::addColumn<bool>("marks");
    QTest::newRow("29 Feb 2001") << 2001 << 29 << 2 << false;
    QTest::newRow("29 Feb 2004") << 2004 << 29 << 2 << true;
    QTest::newRow("29 Feb 2100") << 2100 << 29 << 2 << true;
    QTest::newRow("30 Feb 2004") << 2004 << 30 << 2 << false;
    QTest::newRow("31 Apr") << 2001 << 31 << 4 << false;
    QTest::newRow("30 Apr") << 2001 << 30 << 4 << true;
    QTest::newRow("31 Nov") << 2001 << 31 << 11 << false;
    QTest::newRow("31 Dec") << 2001 << 31 << 12 << true;
}

void TestPlanning::clicksOnDaysThatDoNotExist()
{
    QFETCH(int, year);
    QFETCH(int, day);
    QFETCH(int, month);
    QFETCH(bool, marks);
    m_windows->fake().fixedNow = QDateTime(QDate(year, 6, 1), QTime(8, 0));
    TPlanning p;
    p.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    QCOMPARE(p.shownYear(), year);
    clickDay(&p, day, month);
    QCOMPARE(p.StringGrid1->cell(day, month), marks ? QStringLiteral("1") : QString());
    QCOMPARE(p.isModified(), marks);
    QCOMPARE(pixel(&p, planning::daySquare(day, month).center()), marks ? QColor(0, 128, 0) : QColor(Qt::white));
}

void TestPlanning::clicksOnNamesAndNumbersDoNothing()
{
    TPlanning p;
    p.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    QTest::mouseClick(p.StringGrid1->viewport(), Qt::LeftButton, {}, p.StringGrid1->cellRect(0, 3).center());
    QTest::mouseClick(p.StringGrid1->viewport(), Qt::LeftButton, {}, p.StringGrid1->cellRect(5, 0).center());
    QVERIFY(!p.isModified());
    QCOMPARE(p.StringGrid1->cell(0, 3), QStringLiteral("Mars"));
    QCOMPARE(p.StringGrid1->cell(5, 0), QStringLiteral("5"));
}

void TestPlanning::squareCoversTheDayOnly()
{
    TPlanning p;
    p.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    QTest::mouseClick(p.SubjectPanels[1], Qt::LeftButton);
    clickDay(&p, 1, 1);
    clickDay(&p, 31, 12);
    // Click elsewhere so the current cell's highlight is not what is measured.
    clickDay(&p, 15, 6);
    clickDay(&p, 15, 6);
    const QImage image = p.StringGrid1->viewport()->grab().toImage();
    const QColor blue(0, 0, 255);
    for (const QPoint cell : {QPoint(1, 1), QPoint(31, 12)}) {
        const int c = cell.x(), r = cell.y();
        const QRect square = planning::daySquare(c, r);
        QCOMPARE(square, QRect(17 * c + 70, 17 * r + 1, 15, 15));
        QCOMPARE(image.pixelColor(square.topLeft()), blue);
        QCOMPARE(image.pixelColor(square.bottomRight()), blue);
        QCOMPARE(image.pixelColor(square.topRight()), blue);
        QCOMPARE(image.pixelColor(square.bottomLeft()), blue);
        // Right and bottom edges excluded, the cell's top row and the grid lines left alone.
        QVERIFY(image.pixelColor(square.right() + 1, square.center().y()) != blue);
        QVERIFY(image.pixelColor(square.center().x(), square.bottom() + 1) != blue);
        QVERIFY(image.pixelColor(square.center().x(), square.top() - 1) != blue);
        QVERIFY(image.pixelColor(square.left() - 1, square.center().y()) != blue);
    }
}

void TestPlanning::yearButtonsKeepMarks()
{
    m_windows->fake().fixedNow = QDateTime(QDate(2001, 3, 1), QTime(8, 0));
    TPlanning p;
    p.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    clickDay(&p, 10, 9);
    QTest::mouseClick(p.SpeedButton1, Qt::LeftButton);
    QCOMPARE(p.shownYear(), 2002);
    QCOMPARE(p.Panel1Caption->text(), QStringLiteral("Planning 2002"));
    QCOMPARE(p.StringGrid1->cell(10, 9), QString());
    QCOMPARE(pixel(&p, planning::daySquare(10, 9).center()), QColor(Qt::white));
    QTest::mouseClick(p.SpeedButton2, Qt::LeftButton);
    QCOMPARE(p.shownYear(), 2001);
    QCOMPARE(p.Panel1Caption->text(), QStringLiteral("Planning 2001"));
    QCOMPARE(p.StringGrid1->cell(10, 9), QStringLiteral("1"));
    // The year written when it was left holds the mark; the year visited holds twelve empty lines.
    QCOMPARE(p.list().lines().size(), 1 + 12 + 12);
    QCOMPARE(p.list().lines().at(1 + 8), QStringLiteral("20019") + blanks(9) + QStringLiteral("1") + blanks(21));
    QCOMPARE(p.list().lines().at(13), QStringLiteral("20021") + blanks(31));
}

// Days marked and cleared: Ctrl+Z takes each back and Ctrl+Y makes it again, showing the year it was made in.
void TestPlanning::undoAndRedoDays()
{
    m_windows->fake().fixedNow = QDateTime(QDate(2001, 3, 1), QTime(8, 0));
    TPlanning p;
    p.show();
    p.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&p));
    clickDay(&p, 10, 9);
    clickDay(&p, 10, 9);
    clickDay(&p, 11, 9);
    QTest::mouseClick(p.SpeedButton1, Qt::LeftButton);
    clickDay(&p, 1, 1);
    const QStringList back{"2002 1 1 ", "2001 11 9 ", "2001 10 9 1", "2001 10 9 "};
    const auto shown = [&p](const QString& at) {
        const QStringList n = at.split(' ');
        return QString::number(p.shownYear()) + ' ' + n[1] + ' ' + n[2] + ' ' + p.StringGrid1->cell(n[1].toInt(), n[2].toInt());
    };
    for (const QString& at : back) {
        QTest::keyClick(&p, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(shown(at), at);
    }
    for (const QString& at : QStringList{"2001 10 9 1", "2001 10 9 ", "2001 11 9 1", "2002 1 1 1"}) {
        QTest::keyClick(&p, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(shown(at), at);
    }
    QVERIFY(p.isModified());
}

void TestPlanning::pageKeysFromEveryControl_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("grid") << QStringLiteral("StringGrid1");
    QTest::newRow("Fermer") << QStringLiteral("Button1");
    QTest::newRow("window") << QStringLiteral("Planning");
}

void TestPlanning::pageKeysFromEveryControl()
{
    QFETCH(QString, target);
    TPlanning p;
    p.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    clickDay(&p, 4, 6);
    QWidget* widget = target == p.objectName() ? &p : p.findChild<QWidget*>(target);
    QVERIFY(widget);
    widget->setFocus();

    QTest::keyClick(widget, Qt::Key_PageDown);
    QCOMPARE(p.shownYear(), 2027);
    QCOMPARE(p.Panel1Caption->text(), QStringLiteral("Planning 2027"));
    QCOMPARE(p.StringGrid1->cell(4, 6), QString());
    QTest::keyClick(widget, Qt::Key_PageUp);
    QTest::keyClick(widget, Qt::Key_PageUp);
    QCOMPARE(p.shownYear(), 2025);
    QTest::keyClick(widget, Qt::Key_PageDown);
    QCOMPARE(p.shownYear(), 2026);
    QCOMPARE(p.StringGrid1->cell(4, 6), QStringLiteral("1"));
    // The keys were the window's: the grid's current cell did not move.
    QCOMPARE(p.StringGrid1->col(), 4);
    QCOMPARE(p.StringGrid1->row(), 6);
    QVERIFY(p.isVisible());
}

void TestPlanning::renameSubject_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QStringList>("after");

    const QStringList withPrj{QStringLiteral(" "), QStringLiteral("PRJ2Géographie"), QStringLiteral("PRJ3x")};
    QTest::newRow("with a PRJ2 line") << withPrj << true
                                      << QStringList{QStringLiteral(" "), QStringLiteral("PRJ2Histoire"),
                                                     QStringLiteral("PRJ3x")};
    QTest::newRow("without a PRJ2 line") << QStringList{QStringLiteral(" ")} << true
                                         << QStringList{QStringLiteral(" "), QStringLiteral("PRJ2Histoire")};
    QTest::newRow("cancelled") << withPrj << false << withPrj;
}

void TestPlanning::renameSubject()
{
    QFETCH(QStringList, lines);
    QFETCH(bool, accept);
    QFETCH(QStringList, after);
    // The planning file of a class sets the list.
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toLatin1() + "\r\n";
    writeFile(QStringLiteral("6A.prp"), bytes);
    TPlanning p;
    p.Charge(path(QStringLiteral("6A.prf")));
    p.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    SubjectPanel* panel3 = p.SubjectPanels[1];
    const QString before = panel3->caption();

    QString shownText;
    m_windows->fake().onModal = [&](QDialog* dialog) {
        auto* edit = static_cast<TPrjEdit*>(dialog);
        dialog->show();
        shownText = edit->Edit1->text();
        QTest::keyClick(edit->Edit1, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit->Edit1, QStringLiteral("Histoire"));
        if (accept)
            QTest::keyClick(edit->Edit1, Qt::Key_Return);
        else
            QTest::keyClick(edit->Edit1, Qt::Key_Escape);
        return dialog->result();
    };
    QTest::mouseDClick(panel3, Qt::LeftButton);
    QCOMPARE(m_windows->fake().modalShown.size(), 1);
    QCOMPARE(m_windows->fake().modalShown.first()->windowTitle(), QStringLiteral("Définir les Projets"));
    QCOMPARE(shownText, before);
    QCOMPARE(p.currentSubject(), 2);
    QCOMPARE(panel3->caption(), accept ? QStringLiteral("Histoire") : before);
    QCOMPARE(p.isModified(), accept);
    p.EcritAn();
    QCOMPARE(p.list().lines().mid(0, after.size()), after);
    // The other subjects keep their names.
    QCOMPARE(p.SubjectPanels[0]->caption(), QStringLiteral("Matière 1"));
}

void TestPlanning::prjEditLayoutAndKeys_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("result");
    QTest::newRow("Enter in the box") << QStringLiteral("enter") << int(QDialog::Accepted);
    QTest::newRow("keypad Enter") << QStringLiteral("keypad") << int(QDialog::Accepted);
    QTest::newRow("OK") << QStringLiteral("ok") << int(QDialog::Accepted);
    QTest::newRow("Annuler") << QStringLiteral("cancel") << int(QDialog::Rejected);
    QTest::newRow("Escape") << QStringLiteral("escape") << int(QDialog::Rejected);
}

void TestPlanning::prjEditLayoutAndKeys()
{
    QFETCH(QString, how);
    QFETCH(int, result);
    TPrjEdit d;
    QCOMPARE(d.size(), QSize(306, 65));
    QCOMPARE(d.Edit1->geometry(), QRect(15, 21, 148, 24));
    QCOMPARE(d.Bevel1->geometry(), QRect(8, 8, 169, 49));
    QCOMPARE(d.Button1->text(), QStringLiteral("Annuler"));
    QCOMPARE(d.Button1->geometry(), QRect(212, 4, 75, 25));
    QCOMPARE(d.Button2->text(), QStringLiteral("OK"));
    QCOMPARE(d.Button2->geometry(), QRect(212, 36, 75, 25));
    d.setResult(-1);
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QVERIFY(d.Edit1->hasFocus());
    QTest::keyClicks(d.Edit1, QStringLiteral("Sciences"));
    if (how == QStringLiteral("enter"))
        QTest::keyClick(d.Edit1, Qt::Key_Return);
    else if (how == QStringLiteral("keypad"))
        QTest::keyClick(d.Edit1, Qt::Key_Enter, Qt::KeypadModifier);
    else if (how == QStringLiteral("ok"))
        QTest::mouseClick(d.Button2, Qt::LeftButton);
    else if (how == QStringLiteral("cancel"))
        QTest::mouseClick(d.Button1, Qt::LeftButton);
    else
        QTest::keyClick(d.Edit1, Qt::Key_Escape);
    QCOMPARE(d.result(), result);
    QVERIFY(!d.isVisible());
    // The key went no further: the box holds what was typed, without a line break.
    QCOMPARE(d.Edit1->text(), QStringLiteral("Sciences"));
}

void TestPlanning::closingWritesTheYearIntoTheList()
{
    TPlanning p;
    p.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    clickDay(&p, 2, 1);
    QCOMPARE(p.list().lines(), QStringList{QStringLiteral(" ")});
    QTest::mouseClick(p.Button1, Qt::LeftButton);
    QVERIFY(!p.isVisible());
    QCOMPARE(p.list().lines().size(), 13);
    QCOMPARE(p.list().lines().at(1), QStringLiteral("20261 1") + blanks(29));
    // Opening again shows the same year and subject.
    p.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    QCOMPARE(p.shownYear(), 2026);
    QCOMPARE(p.StringGrid1->cell(2, 1), QStringLiteral("1"));
}

// --- the file ------------------------------------------------------------------------------

void TestPlanning::freshStartFileBytes()
{
    TPlanning p;
    p.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    goToYear(&p, 2001);
    QCOMPARE(p.Panel1Caption->text(), QStringLiteral("Planning 2001"));
    QTest::mouseClick(p.SubjectPanels[6], Qt::LeftButton);
    clickDay(&p, 14, 7);
    p.Sauve(path(QStringLiteral("6A.prf")));

    QByteArray expected = " \r\n";
    for (int m = 1; m <= 12; ++m) {
        QByteArray line = "2001" + QByteArray::number(m, 16).toUpper() + QByteArray(31, ' ');
        if (m == 7)
            line[4 + 14] = '7';
        expected += line + "\r\n";
    }
    // The years walked through on the way hold empty months; they come first, 2001 last.
    const QByteArray bytes = readFile(QStringLiteral("6A.prp"));
    QVERIFY(bytes.endsWith(expected.mid(3)));
    QVERIFY(bytes.startsWith(" \r\n20261 "));
    QCOMPARE(bytes.size(), 3 + 26 * 12 * 38);

    // A window that starts in 2001 writes exactly the space line and the twelve lines.
    m_windows->fake().fixedNow = QDateTime(QDate(2001, 9, 3), QTime(8, 0));
    TPlanning q;
    q.show();
    QVERIFY(QTest::qWaitForWindowExposed(&q));
    QTest::mouseClick(q.SubjectPanels[6], Qt::LeftButton);
    clickDay(&q, 14, 7);
    q.Sauve(path(QStringLiteral("5B.prf")));
    QCOMPARE(readFile(QStringLiteral("5B.prp")), expected);
}

void TestPlanning::yearMovedAfterLaterYear()
{
    const QByteArray y2002 = "20021" + QByteArray(30, ' ') + "2\r\n";
    writeFile(QStringLiteral("6A.prp"), " \r\n20011111" + QByteArray(28, ' ') + "\r\n" + y2002 + "PRJ1Maths\r\n");
    m_windows->fake().fixedNow = QDateTime(QDate(2001, 9, 3), QTime(8, 0));
    TPlanning p;
    p.Charge(path(QStringLiteral("6A.prf")));
    p.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    QCOMPARE(p.StringGrid1->cell(3, 1), QStringLiteral("1"));
    clickDay(&p, 4, 1);
    p.Sauve(path(QStringLiteral("6A.prf")));
    QByteArray expected = " \r\n" + y2002 + "PRJ1Maths\r\n";
    expected += "200111111" + QByteArray(27, ' ') + "\r\n";
    expected += emptyYear(2001).mid(38);
    QCOMPARE(readFile(QStringLiteral("6A.prp")), expected);
}

void TestPlanning::loadShowsFileAndNames()
{
    writeFile(QStringLiteral("6A.prp"), "PRJ4Fran\xe7"
                                        "ais\r\n20015" +
                                            QByteArray(30, ' ') + "5\r\nPRJ7\r\n");
    m_windows->fake().fixedNow = QDateTime(QDate(2001, 9, 3), QTime(8, 0));
    TPlanning p;
    p.SubjectPanels[0]->setCaption(QStringLiteral("Nom d'une autre classe"));
    p.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    QTest::mouseClick(p.SubjectPanels[3], Qt::LeftButton);
    p.Charge(path(QStringLiteral("6A.prf")));
    QVERIFY(!p.isModified());
    QCOMPARE(p.StringGrid1->cell(31, 5), QStringLiteral("5"));
    QCOMPARE(pixel(&p, planning::daySquare(31, 5).center()), QColor(0, 128, 128));
    QCOMPARE(p.SubjectPanels[3]->caption(), QStringLiteral("Français"));
    QCOMPARE(p.SubjectPanels[6]->caption(), QString());
    QCOMPARE(p.SubjectPanels[0]->caption(), QStringLiteral("Matière 1"));
    QCOMPARE(p.shownYear(), 2001);
    QCOMPARE(p.currentSubject(), 4);
}

void TestPlanning::fileNames_data()
{
    QTest::addColumn<QString>("classFile");
    QTest::addColumn<QString>("planningFile");
    QTest::newRow("plain") << QStringLiteral("Classes/6A.prf") << QStringLiteral("Classes/6A.prp");
    QTest::newRow("dotted folder") << QStringLiteral("Cours.2001/6A.prf") << QStringLiteral("Cours.2001/6A.prp");
    QTest::newRow("no dot") << QStringLiteral("Classes/6A") << QStringLiteral("Classes/6A.prp");
    QTest::newRow("two dots") << QStringLiteral("Cours.2001/6A.old.prf") << QStringLiteral("Cours.2001/6A.old.prp");
}

void TestPlanning::fileNames()
{
    QFETCH(QString, classFile);
    QFETCH(QString, planningFile);
    QDir().mkpath(path(QFileInfo(classFile).path()));
    TPlanning p;
    p.StringGrid1->setCell(1, 1, QStringLiteral("2"));
    p.MajPrj(1, QStringLiteral("x"));
    p.Sauve(path(classFile));
    QCOMPARE(QDir(path(QFileInfo(classFile).path())).entryList(QDir::Files),
             QStringList{QFileInfo(planningFile).fileName()});
    QVERIFY(readFile(planningFile).startsWith(" \r\nPRJ1x\r\n202612 "));
    // And it is read back from there.
    TPlanning q;
    q.Charge(path(classFile));
    QCOMPARE(q.StringGrid1->cell(1, 1), QStringLiteral("2"));
}

void TestPlanning::missingFileKeepsListAndFlag()
{
    writeFile(QStringLiteral("6A.prp"), "20263" + QByteArray(31, '8') + "\r\n");
    TPlanning p;
    p.Charge(path(QStringLiteral("6A.prf")));
    QCOMPARE(p.StringGrid1->cell(31, 3), QStringLiteral("8"));
    p.MajPrj(8, QStringLiteral("Sport"));
    QVERIFY(p.isModified());
    p.Charge(path(QStringLiteral("5B.prf")));
    QVERIFY(p.isModified());
    QCOMPARE(p.StringGrid1->cell(31, 3), QStringLiteral("8"));
    QCOMPARE(p.list().lines().first().left(5), QStringLiteral("20263"));
    QCOMPARE(p.SubjectPanels[7]->caption(), QStringLiteral("Matière 8"));
    QVERIFY(m_windows->fake().messages.isEmpty());
}

void TestPlanning::emptyFileGivesEmptyList()
{
    writeFile(QStringLiteral("6A.prp"), QByteArray());
    TPlanning p;
    p.Charge(path(QStringLiteral("6A.prf")));
    QCOMPARE(p.list().lines(), QStringList());
    QVERIFY(!p.isModified());
    p.StringGrid1->setCell(1, 12, QStringLiteral("1"));
    p.MajPrj(3, QStringLiteral("Chimie"));
    p.Sauve(path(QStringLiteral("6A.prf")));
    QByteArray expected = "PRJ3Chimie\r\n" + emptyYear(2026);
    expected.replace("2026C ", "2026C1");
    QCOMPARE(readFile(QStringLiteral("6A.prp")), expected);
}

void TestPlanning::unreadableFileIsReported()
{
    QVERIFY(QDir().mkpath(path(QStringLiteral("6A.prp"))));
    TPlanning p;
    p.MajPrj(1, QStringLiteral("Maths"));
    try {
        p.Charge(path(QStringLiteral("6A.prf")));
        QFAIL("no error");
    } catch (const PlatformError& error) {
        QCOMPARE(error.message(), QStringLiteral("Ne peut ouvrir le fichier ") + path(QStringLiteral("6A.prp")));
    }
    QCOMPARE(p.list().lines(), (QStringList{QStringLiteral(" "), QStringLiteral("PRJ1Maths")}));
}

void TestPlanning::uncreatableFileStaysModified()
{
    TPlanning p;
    p.StringGrid1->setCell(1, 1, QStringLiteral("2"));
    p.MajPrj(1, QStringLiteral("x"));
    const QString classFile = path(QStringLiteral("absent/6A.prf"));
    try {
        p.Sauve(classFile);
        QFAIL("no error");
    } catch (const PlatformError& error) {
        QCOMPARE(error.message(), QStringLiteral("Ne peut créer le fichier ") + path(QStringLiteral("absent/6A.prp")));
    }
    QVERIFY(p.isModified());
    QDir().mkpath(path(QStringLiteral("absent")));
    p.Sauve(classFile);
    QVERIFY(!p.isModified());
    QVERIFY(readFile(QStringLiteral("absent/6A.prp")).startsWith(" \r\nPRJ1x\r\n202612 "));
}

void TestPlanning::unchangedPlanningIsNotWritten()
{
    const QByteArray bytes = "20011\r\nautre ligne\n";
    writeFile(QStringLiteral("6A.prp"), bytes);
    TPlanning p;
    p.Charge(path(QStringLiteral("6A.prf")));
    p.Sauve(path(QStringLiteral("6A.prf")));
    QCOMPARE(readFile(QStringLiteral("6A.prp")), bytes);
    // Once changed, the whole list is written again, CR LF after every line.
    p.MajPrj(2, QStringLiteral("y"));
    p.Sauve(path(QStringLiteral("6A.prf")));
    QCOMPARE(readFile(QStringLiteral("6A.prp")), "20011\r\nautre ligne\r\nPRJ2y\r\n" + emptyYear(2026));
}

void TestPlanning::accentsAreWindows1252()
{
    TPlanning p;
    p.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    m_windows->fake().onModal = [](QDialog* dialog) {
        auto* edit = static_cast<TPrjEdit*>(dialog);
        edit->Edit1->setText(QStringLiteral("Éducation €"));
        return int(QDialog::Accepted);
    };
    QTest::mouseDClick(p.SubjectPanels[0], Qt::LeftButton);
    p.Sauve(path(QStringLiteral("6A.prf")));
    QCOMPARE(readFile(QStringLiteral("6A.prp")), " \r\nPRJ1\xc9"
                                                 "ducation \x80\r\n" +
                                                     emptyYear(2026));
}

void TestPlanning::strangeLinesPassThroughByteForByte()
{
    // Every byte value, a NUL, a lone CR, a very long line and a year line of control characters.
    QByteArray all;
    for (int b = 1; b < 256; ++b)
        if (b != '\r' && b != '\n')
            all += char(b);
    const QByteArray longLine(20000, 'z');
    const QByteArray controls = "20014" + QByteArray(31, '\x01');
    const QByteArray file = all + "\r\nNUL\0inside\rPRJ9x\n" + longLine + "\r\n" + controls + "\r\n";
    writeFile(QStringLiteral("6A.prp"), file);
    m_windows->fake().fixedNow = QDateTime(QDate(2001, 1, 1), QTime(8, 0));
    TPlanning p;
    p.Charge(path(QStringLiteral("6A.prf")));
    p.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    for (int d = 1; d <= 31; ++d)
        QCOMPARE(p.StringGrid1->cell(d, 4), QString());
    QCOMPARE(p.SubjectPanels[7]->caption(), QStringLiteral("Matière 8"));
    clickDay(&p, 30, 4);
    p.Sauve(path(QStringLiteral("6A.prf")));
    const QByteArray expected =
        all + "\r\nNUL\0inside\r\nPRJ9x\r\n" + longLine + "\r\n" +
        emptyYear(2001).replace("20014" + QByteArray(31, ' '), "20014" + QByteArray(29, ' ') + "1 ");
    QCOMPARE(readFile(QStringLiteral("6A.prp")), expected);
}

void TestPlanning::unreadableFileIsNeverWrittenOver()
{
    // A pipe is never opened (it would wait for a writer): the planning file exists but cannot be read.
    QVERIFY(::mkfifo(QFile::encodeName(path(QStringLiteral("6A.prp"))).constData(), 0600) == 0);
    TPlanning p;
    QVERIFY_THROWS_EXCEPTION(PlatformError, p.Charge(path(QStringLiteral("6A.prf"))));
    p.MajPrj(1, QStringLiteral("x"));
    p.Sauve(path(QStringLiteral("6A.prf")));
    QVERIFY(QFileInfo(path(QStringLiteral("6A.prp"))).isFile() == false);
    QVERIFY(QFileInfo::exists(path(QStringLiteral("6A.prp"))));
    QVERIFY(p.isModified());
    // Once it reads again, it is the class's own planning file.
    QFile::remove(path(QStringLiteral("6A.prp")));
    writeFile(QStringLiteral("6A.prp"), "PRJ1y\r\n");
    p.Charge(path(QStringLiteral("6A.prf")));
    p.MajPrj(1, QStringLiteral("z"));
    p.Sauve(path(QStringLiteral("6A.prf")));
    QCOMPARE(readFile(QStringLiteral("6A.prp")), "PRJ1z\r\n" + emptyYear(2026));
}

void TestPlanning::classWindowReportsAndPropagatesFileErrors()
{
    writeFile(QStringLiteral("6A.prf"), QByteArray());
    QVERIFY(QDir().mkpath(path(QStringLiteral("6A.prp"))));
    auto* w = m_windows->open();
    try {
        w->Charge(path(QStringLiteral("6A.prf")));
        QFAIL("no error");
    } catch (const PlatformError& error) {
        QCOMPARE(error.message(), QStringLiteral("Ne peut ouvrir le fichier ") + path(QStringLiteral("6A.prp")));
    }
    // That file is never written over, even with a planning changed.
    m_windows->shared().Planning->MajPrj(1, QStringLiteral("x"));
    w->SauveTout();
    QVERIFY(QFileInfo(path(QStringLiteral("6A.prp"))).isDir());

    // A planning file that cannot be created stops the save-all step there and says why.
    // Afresh: tool windows as at start-up, and another folder.
    m_windows.emplace(QDateTime(QDate(2026, 12, 7), QTime(9, 0)));
    writeFile(QStringLiteral("5B.prf"), QByteArray());
    auto* b = m_windows->open();
    b->Charge(path(QStringLiteral("5B.prf")));
    QVERIFY(QDir().mkpath(path(QStringLiteral("5B.prp"))));
    m_windows->shared().Planning->MajPrj(1, QStringLiteral("x"));
    try {
        b->SauveTout();
        QFAIL("no error");
    } catch (const PlatformError& error) {
        QCOMPARE(error.message(), QStringLiteral("Ne peut créer le fichier ") + path(QStringLiteral("5B.prp")));
    }
    QVERIFY(m_windows->shared().Planning->isModified());
}

// --- several classes ----------------------------------------------------------------------

void TestPlanning::aClassWithoutFileNeverReceivesAnotherPlanning()
{
    writeFile(QStringLiteral("A.prf"), QByteArray());
    writeFile(QStringLiteral("B.prf"), QByteArray());
    writeFile(QStringLiteral("A.prp"), " \r\n");
    TPlanning* planning = m_windows->shared().Planning;

    auto* a = m_windows->open();
    a->Charge(path(QStringLiteral("A.prf")));
    auto* b = m_windows->open();
    b->Charge(path(QStringLiteral("B.prf")));
    QCOMPARE(planning->ownerFile(), path(QStringLiteral("A.prp")));

    // From the second class's menu, a day is marked: the planning shown is the first class's.
    m_windows->fake().onModal = [&](QDialog* dialog) {
        dialog->show();
        clickDay(planning, 9, 2);
        dialog->close();
        return dialog->result();
    };
    b->PlanningCours();
    QCOMPARE(m_windows->fake().modalShown, QList<QDialog*>{planning});
    QVERIFY(planning->isModified());

    b->SauveTout();
    QVERIFY(!QFile::exists(path(QStringLiteral("B.prp"))));
    QVERIFY(planning->isModified());
    a->SauveTout();
    QVERIFY(!planning->isModified());
    QByteArray expected = " \r\n" + emptyYear(2026);
    expected.replace("20262" + QByteArray(8, ' ') + " ", "20262" + QByteArray(8, ' ') + "1");
    QCOMPARE(readFile(QStringLiteral("A.prp")), expected);
    QVERIFY(!QFile::exists(path(QStringLiteral("B.prp"))));
}

void TestPlanning::changesAreWrittenToTheirClassBeforeAnotherLoads()
{
    writeFile(QStringLiteral("A.prf"), QByteArray());
    writeFile(QStringLiteral("B.prf"), QByteArray());
    writeFile(QStringLiteral("A.prp"), "PRJ1A\r\n");
    const QByteArray bBytes = "PRJ1B\r\n20261" + QByteArray(31, '2') + "\r\n";
    writeFile(QStringLiteral("B.prp"), bBytes);
    TPlanning* planning = m_windows->shared().Planning;

    auto* a = m_windows->open();
    a->Charge(path(QStringLiteral("A.prf")));
    QCOMPARE(planning->SubjectPanels[0]->caption(), QStringLiteral("A"));
    clickDay(planning, 1, 1);
    QVERIFY(planning->isModified());

    auto* b = m_windows->open();
    b->Charge(path(QStringLiteral("B.prf")));
    QCOMPARE(readFile(QStringLiteral("A.prp")), "PRJ1A\r\n" + emptyYear(2026).replace("20261 ", "202611"));
    QCOMPARE(planning->SubjectPanels[0]->caption(), QStringLiteral("B"));
    QCOMPARE(planning->StringGrid1->cell(31, 1), QStringLiteral("2"));
    QVERIFY(!planning->isModified());

    // Closing the first class now leaves both files alone: the planning is the second's, unchanged.
    a->SauveTout();
    b->SauveTout();
    QCOMPARE(readFile(QStringLiteral("B.prp")), bBytes);
    QCOMPARE(readFile(QStringLiteral("A.prp")), "PRJ1A\r\n" + emptyYear(2026).replace("20261 ", "202611"));
}

void TestPlanning::menuShowsThePlanningModally()
{
    auto* a = m_windows->open();
    bool visible = false;
    m_windows->fake().onModal = [&](QDialog* dialog) {
        dialog->show();
        visible = dialog->isVisible();
        dialog->close();
        return dialog->result();
    };
    a->PlanningCours();
    QCOMPARE(m_windows->fake().modalShown, QList<QDialog*>{m_windows->shared().Planning});
    QVERIFY(visible);
    QVERIFY(!m_windows->shared().Planning->isModified());
}

void TestPlanning::planningFollowsItsClassSavedUnderAnotherName()
{
    writeFile(QStringLiteral("A.prf"), QByteArray());
    writeFile(QStringLiteral("B.prf"), QByteArray());
    writeFile(QStringLiteral("A.prp"), "PRJ1A\r\n");
    TPlanning* planning = m_windows->shared().Planning;
    auto* a = m_windows->open();
    a->Charge(path(QStringLiteral("A.prf")));
    auto* b = m_windows->open();
    b->Charge(path(QStringLiteral("B.prf")));
    clickDay(planning, 3, 3);

    // "Enregistrer sous..." of the first class under the name C.
    m_windows->fake().saveAnswers << Seams::SaveChoice{path(QStringLiteral("C.prf")), 1};
    a->SaveAs();
    a->Sauve();
    a->SauveTout();
    QCOMPARE(readFile(QStringLiteral("C.prp")), "PRJ1A\r\n" + emptyYear(2026).replace("20263   ", "20263  1"));
    QCOMPARE(readFile(QStringLiteral("A.prp")), QByteArray("PRJ1A\r\n"));
    QCOMPARE(planning->ownerFile(), path(QStringLiteral("C.prp")));
    // The other class still never receives it.
    clickDay(planning, 4, 3);
    b->SauveTout();
    QVERIFY(!QFile::exists(path(QStringLiteral("B.prp"))));
    QVERIFY(planning->isModified());
}

void TestPlanning::closedClassLeavesNoPlanningToTheNext()
{
    writeFile(QStringLiteral("A.prf"), QByteArray());
    writeFile(QStringLiteral("B.prf"), QByteArray());
    TPlanning* planning = m_windows->shared().Planning;
    auto* a = m_windows->open();
    a->Charge(path(QStringLiteral("A.prf")));
    QCOMPARE(planning->ownerFile(), path(QStringLiteral("A.prp")));
    clickDay(planning, 1, 1);
    m_windows->fake().onModal = [](QDialog* dialog) {
        static_cast<TPrjEdit*>(dialog)->Edit1->setText(QStringLiteral("Maths"));
        return int(QDialog::Accepted);
    };
    QTest::mouseDClick(planning->SubjectPanels[0], Qt::LeftButton);
    a->SauveTout();
    const QByteArray aBytes = " \r\nPRJ1Maths\r\n" + emptyYear(2026).replace("20261 ", "202611");
    QCOMPARE(readFile(QStringLiteral("A.prp")), aBytes);
    a->setModified(false);
    delete a;

    // The next class without a planning file starts from an empty planning, and a class never saved too.
    QCOMPARE(planning->list().lines(), QStringList{QStringLiteral(" ")});
    QCOMPARE(planning->SubjectPanels[0]->caption(), QStringLiteral("Matière 1"));
    QCOMPARE(planning->StringGrid1->cell(1, 1), QString());
    auto* b = m_windows->open();
    b->Charge(path(QStringLiteral("B.prf")));
    clickDay(planning, 2, 2);
    b->SauveTout();
    QCOMPARE(readFile(QStringLiteral("B.prp")), " \r\n" + emptyYear(2026).replace("20262  ", "20262 1"));
    QCOMPARE(readFile(QStringLiteral("A.prp")), aBytes);

    // Loading the first class again brings its planning and names back.
    auto* again = m_windows->open();
    again->Charge(path(QStringLiteral("A.prf")));
    QCOMPARE(planning->StringGrid1->cell(1, 1), QStringLiteral("1"));
    QCOMPARE(planning->StringGrid1->cell(2, 2), QString());
    QCOMPARE(planning->SubjectPanels[0]->caption(), QStringLiteral("Maths"));
}

void TestPlanning::sameClassOpenedAgainKeepsChanges()
{
    writeFile(QStringLiteral("6A.prp"), " \r\n");
    TPlanning p;
    p.Charge(path(QStringLiteral("6A.prf")));
    p.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    clickDay(&p, 7, 8);
    // The same file, named another way.
    QVERIFY(QDir().mkpath(path(QStringLiteral("Cours.2001"))));
    p.Charge(path(QStringLiteral("Cours.2001/../6A.prf")));
    QCOMPARE(p.StringGrid1->cell(7, 8), QStringLiteral("1"));
    QVERIFY(!p.isModified());
    QCOMPARE(readFile(QStringLiteral("6A.prp")), " \r\n" + emptyYear(2026).replace("20268       ", "20268      1"));
}

void TestPlanning::yearsStayFourDigits_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("key");
    QTest::newRow("9999 forward") << 9999 << int(Qt::Key_PageDown);
    QTest::newRow("1000 back") << 1000 << int(Qt::Key_PageUp);
}

void TestPlanning::yearsStayFourDigits()
{
    QFETCH(int, start);
    QFETCH(int, key);
    m_windows->fake().fixedNow = QDateTime(QDate(start, 6, 1), QTime(8, 0));
    TPlanning p;
    p.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    clickDay(&p, 1, 1);
    QTest::keyClick(p.StringGrid1, Qt::Key(key));
    QCOMPARE(p.shownYear(), start);
    QCOMPARE(p.Panel1Caption->text(), QStringLiteral("Planning ") + QString::number(start));
    QCOMPARE(p.StringGrid1->cell(1, 1), QStringLiteral("1"));
    QCOMPARE(p.list().LitAn(start)[0][0], QStringLiteral("1"));
}

QTEST_MAIN(TestPlanning)
#include "TestPlanning.moc"
