#include "FakeSeams.h"
#include "tools/Calendrier.h"
#include "tools/MonthCalendar.h"
#include "tools/MonthGrid.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

class TestCalendrier : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void firstColumn_data();
    void firstColumn();
    void pageOfAMonth();
    void daysInEveryMonth_data();
    void daysInEveryMonth();
    void monthSteps_data();
    void monthSteps();
    void yearLimits();
    void heading_data();
    void heading();
    void cellSize_data();
    void cellSize();

    void layout();
    void buttonsPageAndHeadingFollows();
    void pageKeysFromEveryControl_data();
    void pageKeysFromEveryControl();
    void escapeCloses_data();
    void escapeCloses();
    void clickChoosesADay();
    void arrowsStayInTheMonth_data();
    void arrowsStayInTheMonth();
    void dateKeptBetweenOpenings();
    void onlyThePanelFollowsTheWidth();

private:
    FakeSeams* m_fake = nullptr;
    TCalendrier* m_form = nullptr;
};

void TestCalendrier::init()
{
    m_fake = new FakeSeams;
    m_fake->fixedNow = QDateTime(QDate(2027, 1, 31), QTime(9, 0));
    m_form = new TCalendrier;
}

void TestCalendrier::cleanup()
{
    delete m_form;
    delete m_fake;
}

void TestCalendrier::firstColumn_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("column");
    QTest::newRow("Sunday 1 Nov 2026") << QDate(2026, 11, 15) << 0;
    QTest::newRow("Saturday 1 May 2027") << QDate(2027, 5, 20) << 6;
    QTest::newRow("Tuesday 1 Dec 2026") << QDate(2026, 12, 7) << 2;
    QTest::newRow("Monday 1 Feb 2027") << QDate(2027, 2, 28) << 1;
    QTest::newRow("Thursday 1 Oct 1998") << QDate(1998, 10, 20) << 4;
    QTest::newRow("Saturday 1 Jan 2000") << QDate(2000, 1, 1) << 6;
}

void TestCalendrier::firstColumn()
{
    QFETCH(QDate, date);
    QFETCH(int, column);
    const MonthGrid grid(date);
    QCOMPARE(grid.firstColumn(), column);
    QCOMPARE(grid.dayAt(column, 1), 1);
    QCOMPARE(grid.cellOfDay(1), QPoint(column, 1));
    if (column > 0)
        QCOMPARE(grid.dayAt(column - 1, 1), 0);
}

void TestCalendrier::pageOfAMonth()
{
    // May 2027 starts on a Saturday and has 31 days: it needs all six week rows.
    const MonthGrid grid(QDate(2027, 5, 20));
    const char* const expected[7][7] = {
        {"dim.", "lun.", "mar.", "mer.", "jeu.", "ven.", "sam."},
        {"", "", "", "", "", "", "1"},
        {"2", "3", "4", "5", "6", "7", "8"},
        {"9", "10", "11", "12", "13", "14", "15"},
        {"16", "17", "18", "19", "20", "21", "22"},
        {"23", "24", "25", "26", "27", "28", "29"},
        {"30", "31", "", "", "", "", ""},
    };
    for (int row = 0; row < 7; ++row)
        for (int col = 0; col < 7; ++col)
            QCOMPARE(grid.cellText(col, row), QString::fromLatin1(expected[row][col]));
    QCOMPARE(grid.selectedCell(), QPoint(4, 4));
    QCOMPARE(grid.cellText(7, 1), QString());
    QCOMPARE(grid.cellText(0, 7), QString());
    QCOMPARE(grid.dayAt(-1, 2), 0);
    // A week starting on Monday moves every column by one.
    const MonthGrid monday(QDate(2027, 5, 20), 1);
    QCOMPARE(monday.cellText(0, 0), QStringLiteral("lun."));
    QCOMPARE(monday.cellText(6, 0), QStringLiteral("dim."));
    QCOMPARE(monday.cellOfDay(1), QPoint(5, 1));
}

void TestCalendrier::daysInEveryMonth_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("days");
    QTest::newRow("January") << QDate(2027, 1, 10) << 31;
    QTest::newRow("February") << QDate(2027, 2, 10) << 28;
    QTest::newRow("February leap") << QDate(2028, 2, 10) << 29;
    QTest::newRow("February 1900") << QDate(1900, 2, 10) << 28;
    QTest::newRow("February 2000") << QDate(2000, 2, 10) << 29;
    QTest::newRow("April") << QDate(2027, 4, 10) << 30;
    QTest::newRow("December") << QDate(2027, 12, 10) << 31;
}

void TestCalendrier::daysInEveryMonth()
{
    QFETCH(QDate, date);
    QFETCH(int, days);
    const MonthGrid grid(date);
    int count = 0;
    int last = 0;
    for (int row = 1; row < 7; ++row)
        for (int col = 0; col < 7; ++col)
            if (const int day = grid.dayAt(col, row)) {
                QCOMPARE(day, last + 1);
                last = day;
                ++count;
            }
    QCOMPARE(count, days);
    QCOMPARE(grid.cellOfDay(days + 1), QPoint(-1, -1));
    QCOMPARE(grid.cellOfDay(0), QPoint(-1, -1));
}

void TestCalendrier::monthSteps_data()
{
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("previous");
    QTest::addColumn<QDate>("next");
    QTest::newRow("31 January") << QDate(2027, 1, 31) << QDate(2026, 12, 31) << QDate(2027, 2, 28);
    QTest::newRow("31 January leap") << QDate(2028, 1, 31) << QDate(2027, 12, 31) << QDate(2028, 2, 29);
    QTest::newRow("31 March") << QDate(2027, 3, 31) << QDate(2027, 2, 28) << QDate(2027, 4, 30);
    QTest::newRow("31 March leap") << QDate(2028, 3, 31) << QDate(2028, 2, 29) << QDate(2028, 4, 30);
    QTest::newRow("30 April") << QDate(2027, 4, 30) << QDate(2027, 3, 30) << QDate(2027, 5, 30);
    QTest::newRow("15 January") << QDate(2027, 1, 15) << QDate(2026, 12, 15) << QDate(2027, 2, 15);
    QTest::newRow("31 December") << QDate(2027, 12, 31) << QDate(2027, 11, 30) << QDate(2028, 1, 31);
}

void TestCalendrier::monthSteps()
{
    QFETCH(QDate, from);
    QFETCH(QDate, previous);
    QFETCH(QDate, next);
    QCOMPARE(MonthGrid::previousMonth(from), previous);
    QCOMPARE(MonthGrid::nextMonth(from), next);
}

void TestCalendrier::yearLimits()
{
    QCOMPARE(MonthGrid::previousMonth(QDate(1, 1, 15)), QDate(1, 1, 15));
    QCOMPARE(MonthGrid::nextMonth(QDate(9999, 12, 15)), QDate(9999, 12, 15));
    MonthGrid grid(QDate(2027, 1, 1));
    QVERIFY(!grid.setDate(QDate()));
    QVERIFY(!grid.setDate(QDate(10000, 1, 1)));
    QCOMPARE(grid.date(), QDate(2027, 1, 1));
}

void TestCalendrier::heading_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("text");
    QTest::newRow("octobre") << QDate(1998, 10, 20) << QStringLiteral("octobre  1998");
    QTest::newRow("février") << QDate(2027, 2, 28) << QStringLiteral("février  2027");
    QTest::newRow("août") << QDate(2027, 8, 1) << QStringLiteral("août  2027");
    QTest::newRow("décembre") << QDate(2026, 12, 7) << QStringLiteral("décembre  2026");
    QTest::newRow("year below 1000") << QDate(987, 1, 1) << QStringLiteral("janvier  0987");
}

void TestCalendrier::heading()
{
    QFETCH(QDate, date);
    QFETCH(QString, text);
    QCOMPARE(MonthGrid::heading(date), text);
}

void TestCalendrier::cellSize_data()
{
    QTest::addColumn<QSize>("client");
    QTest::addColumn<int>("line");
    QTest::addColumn<QSize>("cell");
    QTest::newRow("the window's grid") << QSize(368, 139) << 1 << QSize(51, 19);
    QTest::newRow("exact") << QSize(76, 76) << 1 << QSize(10, 10);
    QTest::newRow("thick lines") << QSize(100, 100) << 3 << QSize(11, 11);
    QTest::newRow("too small") << QSize(5, 5) << 1 << QSize(0, 0);
}

void TestCalendrier::cellSize()
{
    QFETCH(QSize, client);
    QFETCH(int, line);
    QFETCH(QSize, cell);
    QCOMPARE(MonthGrid::cellSize(client, line), cell);
}

void TestCalendrier::layout()
{
    QCOMPARE(m_form->windowTitle(), QStringLiteral("Calendrier"));
    QCOMPARE(m_form->Calendar1->geometry(), QRect(-3, 98, 372, 143));
    QCOMPARE(m_form->Calendar1->cellSize(), QSize(51, 19));
    QCOMPARE(m_form->Calendar1->cellRect(1, 2), QRect(2 + 52, 2 + 40, 51, 19));
    QCOMPARE(m_form->Panel1->geometry().height(), 96);
    QCOMPARE(m_form->BitBtn1->geometry(), QRect(17, 11, 89, 33));
    QCOMPARE(m_form->BitBtn2->geometry(), QRect(127, 11, 89, 33));
    QCOMPARE(m_form->Button1->geometry(), QRect(263, 11, 89, 33));
    QCOMPARE(m_form->BitBtn1->text(), QStringLiteral("Mois"));
    QCOMPARE(m_form->BitBtn2->text(), QStringLiteral("Mois"));
    QCOMPARE(m_form->Button1->text(), QStringLiteral("Fermer"));
    QVERIFY(!m_form->BitBtn1->icon().isNull());
    QCOMPARE(m_form->BitBtn2->layoutDirection(), Qt::RightToLeft);
    QCOMPARE(m_form->Calendar1->date(), QDate(2027, 1, 31));
    QCOMPARE(m_form->Label1->text(), QStringLiteral("janvier  2027"));
    QCOMPARE(m_form->Label1->x(), -15);
    QCOMPARE(m_form->Label1->y(), 56);
    QCOMPARE(m_form->Label1->width(), 372);
    QCOMPARE(m_form->Label1->font().pixelSize(), 23);
    QVERIFY(m_form->Label1->font().bold());
    QCOMPARE(m_form->Label1->palette().color(QPalette::WindowText), QColor(Qt::red));
}

void TestCalendrier::buttonsPageAndHeadingFollows()
{
    m_form->show();
    QSignalSpy changes(m_form->Calendar1, &MonthCalendar::changed);
    QTest::mouseClick(m_form->BitBtn2, Qt::LeftButton);
    QCOMPARE(m_form->Calendar1->date(), QDate(2027, 2, 28));
    QCOMPARE(m_form->Label1->text(), QStringLiteral("février  2027"));
    QCOMPARE(m_form->Label1->width(), 372);
    QTest::mouseClick(m_form->BitBtn1, Qt::LeftButton);
    QTest::mouseClick(m_form->BitBtn1, Qt::LeftButton);
    QCOMPARE(m_form->Calendar1->date(), QDate(2026, 12, 28));
    QCOMPARE(m_form->Label1->text(), QStringLiteral("décembre  2026"));
    QCOMPARE(changes.size(), 3);
    QTest::mouseClick(m_form->Button1, Qt::LeftButton);
    QVERIFY(!m_form->isVisible());
}

void TestCalendrier::pageKeysFromEveryControl_data()
{
    QTest::addColumn<QString>("control");
    QTest::newRow("grid") << "Calendar1";
    QTest::newRow("previous") << "BitBtn1";
    QTest::newRow("next") << "BitBtn2";
    QTest::newRow("close") << "Button1";
}

void TestCalendrier::pageKeysFromEveryControl()
{
    QFETCH(QString, control);
    m_form->show();
    auto* target = m_form->findChild<QWidget*>(control);
    QVERIFY(target);
    target->setFocus();
    QTest::keyClick(target, Qt::Key_PageDown);
    QCOMPARE(m_form->Calendar1->date(), QDate(2027, 2, 28));
    QCOMPARE(m_form->Label1->text(), QStringLiteral("février  2027"));
    for (int i = 0; i < 13; ++i)
        QTest::keyClick(target, Qt::Key_PageDown);
    QCOMPARE(m_form->Calendar1->date(), QDate(2028, 3, 28));
    QCOMPARE(m_form->Label1->text(), QStringLiteral("mars  2028"));
    QTest::keyClick(target, Qt::Key_PageUp);
    QTest::keyClick(target, Qt::Key_PageUp);
    QCOMPARE(m_form->Calendar1->date(), QDate(2028, 1, 28));
    QCOMPARE(m_form->Label1->text(), QStringLiteral("janvier  2028"));
    QVERIFY(m_form->isVisible());
}

void TestCalendrier::escapeCloses_data()
{
    pageKeysFromEveryControl_data();
}

void TestCalendrier::escapeCloses()
{
    QFETCH(QString, control);
    m_fake->onModal = [control](QDialog* d) {
        d->show();
        auto* target = d->findChild<QWidget*>(control);
        target->setFocus();
        QTest::keyClick(target, Qt::Key_Escape);
        return d->isVisible() ? 1 : 0;
    };
    QCOMPARE(seams().execModal(m_form), 0);
    QCOMPARE(m_form->Calendar1->date(), QDate(2027, 1, 31));
}

void TestCalendrier::clickChoosesADay()
{
    m_form->show();
    MonthCalendar* cal = m_form->Calendar1;
    // January 2027 starts on a Friday: the 13th is in the third week row (grid row 3), under Wednesday.
    QSignalSpy changes(cal, &MonthCalendar::changed);
    QTest::mouseClick(cal, Qt::LeftButton, {}, cal->cellRect(3, 3).center());
    QCOMPARE(cal->date(), QDate(2027, 1, 13));
    QCOMPARE(changes.size(), 1);
    // An empty cell, the header and the grid lines choose nothing.
    QTest::mouseClick(cal, Qt::LeftButton, {}, cal->cellRect(0, 1).center());
    QTest::mouseClick(cal, Qt::LeftButton, {}, cal->cellRect(3, 0).center());
    QTest::mouseClick(cal, Qt::LeftButton, {}, cal->cellRect(6, 6).center());
    QTest::mouseClick(cal, Qt::LeftButton, {},
                      QPoint(cal->cellRect(2, 3).right() + 1, cal->cellRect(2, 3).center().y()));
    QCOMPARE(cal->date(), QDate(2027, 1, 13));
    QCOMPARE(changes.size(), 1);
    QCOMPARE(cal->cellAt(QPoint(0, 0)), QPoint(-1, -1));
    QCOMPARE(m_form->Label1->text(), QStringLiteral("janvier  2027"));
}

void TestCalendrier::arrowsStayInTheMonth_data()
{
    QTest::addColumn<QDate>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<QDate>("to");
    // January 2027: Friday the 1st in column 5, Sunday the 31st alone in the last row.
    QTest::newRow("right") << QDate(2027, 1, 13) << int(Qt::Key_Right) << QDate(2027, 1, 14);
    QTest::newRow("left") << QDate(2027, 1, 13) << int(Qt::Key_Left) << QDate(2027, 1, 12);
    QTest::newRow("down") << QDate(2027, 1, 13) << int(Qt::Key_Down) << QDate(2027, 1, 20);
    QTest::newRow("up") << QDate(2027, 1, 13) << int(Qt::Key_Up) << QDate(2027, 1, 6);
    QTest::newRow("left of the 1st is empty") << QDate(2027, 1, 1) << int(Qt::Key_Left) << QDate(2027, 1, 1);
    QTest::newRow("above the 1st is the header") << QDate(2027, 1, 1) << int(Qt::Key_Up) << QDate(2027, 1, 1);
    QTest::newRow("right of the 31st is empty") << QDate(2027, 1, 31) << int(Qt::Key_Right) << QDate(2027, 1, 31);
    QTest::newRow("below the 31st is outside") << QDate(2027, 1, 31) << int(Qt::Key_Down) << QDate(2027, 1, 31);
    QTest::newRow("left edge of a row") << QDate(2027, 1, 3) << int(Qt::Key_Left) << QDate(2027, 1, 3);
    QTest::newRow("right edge of a row") << QDate(2027, 1, 9) << int(Qt::Key_Right) << QDate(2027, 1, 9);
    QTest::newRow("down onto an empty cell") << QDate(2027, 1, 29) << int(Qt::Key_Down) << QDate(2027, 1, 29);
    QTest::newRow("home") << QDate(2027, 1, 13) << int(Qt::Key_Home) << QDate(2027, 1, 10);
    QTest::newRow("end") << QDate(2027, 1, 13) << int(Qt::Key_End) << QDate(2027, 1, 16);
    QTest::newRow("home onto an empty cell") << QDate(2027, 1, 2) << int(Qt::Key_Home) << QDate(2027, 1, 2);
}

void TestCalendrier::arrowsStayInTheMonth()
{
    QFETCH(QDate, from);
    QFETCH(int, key);
    QFETCH(QDate, to);
    m_form->show();
    m_form->Calendar1->setDate(from);
    m_form->Calendar1->setFocus();
    QTest::keyClick(m_form->Calendar1, Qt::Key(key));
    QCOMPARE(m_form->Calendar1->date(), to);
    QCOMPARE(m_form->Label1->text(), QStringLiteral("janvier  2027"));
}

void TestCalendrier::dateKeptBetweenOpenings()
{
    m_fake->onModal = [](QDialog* d) {
        d->show();
        auto* form = static_cast<TCalendrier*>(d);
        QTest::mouseClick(form->BitBtn2, Qt::LeftButton);
        QTest::mouseClick(form->Button1, Qt::LeftButton);
        return 0;
    };
    seams().execModal(m_form);
    // Time passes; the calendar stays where the user left it.
    m_fake->fixedNow = QDateTime(QDate(2027, 6, 1), QTime(8, 0));
    m_fake->onModal = [](QDialog* d) {
        d->show();
        d->close();
        return 0;
    };
    seams().execModal(m_form);
    QCOMPARE(m_form->Calendar1->date(), QDate(2027, 2, 28));
    QCOMPARE(m_form->Label1->text(), QStringLiteral("février  2027"));
}

void TestCalendrier::onlyThePanelFollowsTheWidth()
{
    m_form->show();
    m_form->resize(500, 300);
    QCOMPARE(m_form->Panel1->geometry(), QRect(0, 0, 500, 96));
    QCOMPARE(m_form->Calendar1->geometry(), QRect(-3, 98, 372, 143));
    QCOMPARE(m_form->Button1->geometry(), QRect(263, 11, 89, 33));
}

QTEST_MAIN(TestCalendrier)
#include "TestCalendrier.moc"
