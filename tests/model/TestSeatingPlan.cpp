#include "model/SeatingPlan.h"

#include <QTest>

Q_DECLARE_METATYPE(Desk)

namespace {

Desk desk(const QString& name, int left, int top, int width, int height)
{
    Desk d;
    d.name = name;
    d.left = left;
    d.top = top;
    d.width = width;
    d.height = height;
    return d;
}

QString describe(const Desk& d)
{
    return QStringLiteral("%1|%2|%3|%4|%5").arg(d.name).arg(d.left).arg(d.top).arg(d.width).arg(d.height);
}

} // namespace

class TestSeatingPlan : public QObject
{
    Q_OBJECT

private slots:
    void parseLine_data();
    void parseLine();
    void writesExactBytes();
    void negativePositionsRoundTrip();
    void linesNotUnderstoodStayUntilTheDeskChanges();
    void loadReplacesAndClearsState();
    void loadSplitsEveryLineEnd_data();
    void loadSplitsEveryLineEnd();
    void loadStopsAtSixtyDesks();
    void addPlacesNewDesk();
    void addEmptyNameTakesNumberAtThatMoment();
    void addReplacesCommasAndLineBreaks();
    void addRefusedWhenFull();
    void pressSelectsAndMarksModified();
    void pressOnEmptyAreaDeselects();
    void dragKeepsGrabbedPointUnderMouse();
    void moveWithoutDragDoesNothing();
    void deleteSecondOfFour();
    void deleteAndTurnNeedSelection();
    void turn_data();
    void turn();
    void turnDoesNotMarkModified();
};

void TestSeatingPlan::parseLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("number");
    QTest::addColumn<Desk>("expected");

    QTest::newRow("full") << "Martin Paul,200,180,100,25" << 1 << desk("Martin Paul", 200, 180, 100, 25);
    QTest::newRow("two numbers") << "Martin,10,20" << 1 << desk("Martin", 10, 0, 65, 17);
    QTest::newRow("one number") << "Martin,10" << 1 << desk("Martin", 0, 0, 65, 17);
    QTest::newRow("three numbers") << "Martin,10,20,30" << 1 << desk("Martin", 10, 20, 65, 17);
    QTest::newRow("empty line") << "" << 4 << desk("Bureau4", 0, 0, 65, 17);
    QTest::newRow("no comma") << "Dupont" << 2 << desk("Bureau2", 0, 0, 65, 17);
    QTest::newRow("empty name") << ",5,6,7,8" << 3 << desk("Bureau3", 5, 6, 7, 8);
    QTest::newRow("negative") << "Léa,-40,-12,25,100" << 1 << desk("Léa", -40, -12, 25, 100);
    QTest::newRow("blank name kept") << " ,1,2,3,4" << 1 << desk(" ", 1, 2, 3, 4);
    // A number that does not read stops the line there: what was read before stays.
    QTest::newRow("bad left") << "A,x,20,100,25" << 1 << desk("A", 0, 0, 65, 17);
    QTest::newRow("bad top") << "A,10,2x,100,25" << 1 << desk("A", 10, 0, 65, 17);
    QTest::newRow("bad width") << "A,10,20,wide,25" << 1 << desk("A", 10, 20, 65, 17);
    QTest::newRow("bad height") << "A,10,20,100,high" << 1 << desk("A", 10, 20, 100, 17);
    QTest::newRow("extra field") << "A,10,20,100,25,9" << 1 << desk("A", 10, 20, 100, 17);
    QTest::newRow("blank in number") << "A, 10,20,100,25" << 1 << desk("A", 0, 0, 65, 17);
    QTest::newRow("empty numbers") << "A,,,," << 1 << desk("A", 0, 0, 65, 17);
    QTest::newRow("too large") << "A,99999999999,20,100,25" << 1 << desk("A", 0, 0, 65, 17);
    QTest::newRow("decimal") << "A,10,20,100.5,25" << 1 << desk("A", 10, 20, 65, 17);
    // Only 255 characters after the name are read: a height pushed beyond them is not seen.
    QTest::newRow("long rest") << "A,10,20,100," + QString(260, QLatin1Char('0')) + "25" << 1
                               << desk("A", 10, 20, 100, 0);
    QTest::newRow("rest of 255") << "A,10,20,100," + QString(243, QLatin1Char('0')) + "25" << 1
                                 << desk("A", 10, 20, 100, 25);
    QTest::newRow("rest cut in a number")
        << "A,10,20,100," + QString(244, QLatin1Char('0')) + "25" << 1 << desk("A", 10, 20, 100, 2);
}

void TestSeatingPlan::parseLine()
{
    QFETCH(QString, line);
    QFETCH(int, number);
    QFETCH(Desk, expected);
    QCOMPARE(describe(SeatingPlan::parseLine(line, number)), describe(expected));
}

void TestSeatingPlan::writesExactBytes()
{
    SeatingPlan plan;
    plan.load(QByteArray("Martin Paul,200,180,100,25\r\n"
                         "Zo\xe9 M\xfcller,-3,-7,25,100\r\n"
                         "\r\n"
                         "X,1,2,80,30\r\n"));
    QCOMPARE(plan.toBytes(), QByteArray("Martin Paul,200,180,100,25\r\n"
                                        "Zo\xe9 M\xfcller,-3,-7,25,100\r\n"
                                        "Bureau3,0,0,65,17\r\n"
                                        "X,1,2,80,30\r\n"));
    QCOMPARE(plan.desk(2).name, QStringLiteral("Zoé Müller"));
    SeatingPlan empty;
    QCOMPARE(empty.toBytes(), QByteArray());
}

void TestSeatingPlan::negativePositionsRoundTrip()
{
    SeatingPlan plan;
    plan.add(QStringLiteral("Haut"));
    plan.press(1, QPoint(50, 12));
    plan.dragTo(QPoint(10, 2));
    plan.release();
    QCOMPARE(plan.desk(1).left, -40);
    QCOMPARE(plan.desk(1).top, -10);
    const QByteArray bytes = plan.toBytes();
    QCOMPARE(bytes, QByteArray("Haut,-40,-10,100,25\r\n"));
    SeatingPlan again;
    again.load(bytes);
    QCOMPARE(describe(again.desk(1)), describe(plan.desk(1)));
}

void TestSeatingPlan::linesNotUnderstoodStayUntilTheDeskChanges()
{
    SeatingPlan plan;
    plan.load(QByteArray(",1x,2,3,4\r\nY,1,2,3,4,5\r\n"));
    QCOMPARE(describe(plan.desk(2)), QStringLiteral("Y|1|2|3|17"));
    plan.press(2, QPoint());
    QCOMPARE(plan.toBytes(), QByteArray("Bureau1,1x,2,3,4\r\nY,1,2,3,4,5\r\n"));
    plan.turnSelected();
    QCOMPARE(plan.toBytes(), QByteArray("Bureau1,1x,2,3,4\r\nY,1,2,100,25\r\n"));
}

void TestSeatingPlan::loadReplacesAndClearsState()
{
    SeatingPlan plan;
    for (int i = 0; i < 5; ++i)
        plan.add(QStringLiteral("D%1").arg(i));
    plan.press(3, QPoint(1, 1));
    QVERIFY(plan.modified());
    plan.load(QByteArray("Neuf,1,2,100,25\r\n"));
    QCOMPARE(plan.count(), 1);
    QCOMPARE(plan.desk(1).name, QStringLiteral("Neuf"));
    QCOMPARE(plan.selected(), 0);
    QVERIFY(!plan.dragging());
    QVERIFY(!plan.modified());
}

void TestSeatingPlan::loadSplitsEveryLineEnd_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("crlf") << QByteArray("A,1,1,1,1\r\nB,2,2,2,2\r\n") << QStringList{"A", "B"};
    QTest::newRow("lf") << QByteArray("A,1,1,1,1\nB,2,2,2,2") << QStringList{"A", "B"};
    QTest::newRow("cr") << QByteArray("A,1,1,1,1\rB,2,2,2,2\r") << QStringList{"A", "B"};
    QTest::newRow("empty line inside") << QByteArray("A\r\n\r\nC\r\n") << QStringList{"Bureau1", "Bureau2", "Bureau3"};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("only line end") << QByteArray("\r\n") << QStringList{"Bureau1"};
}

void TestSeatingPlan::loadSplitsEveryLineEnd()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, names);
    SeatingPlan plan;
    plan.load(bytes);
    QStringList got;
    for (const Desk& d : plan.desks())
        got << d.name;
    QCOMPARE(got, names);
}

void TestSeatingPlan::loadStopsAtSixtyDesks()
{
    QByteArray bytes;
    for (int i = 1; i <= 65; ++i)
        bytes += "N" + QByteArray::number(i) + ",1,2,100,25\r\n";
    SeatingPlan plan;
    plan.load(bytes);
    QCOMPARE(plan.count(), 60);
    QCOMPARE(plan.desk(60).name, QStringLiteral("N60"));
    QVERIFY(plan.isFull());
}

void TestSeatingPlan::addPlacesNewDesk()
{
    SeatingPlan plan;
    QVERIFY(!plan.modified());
    QCOMPARE(plan.add(QStringLiteral("Martin Paul")), 1);
    QCOMPARE(describe(plan.desk(1)), QStringLiteral("Martin Paul|200|180|100|25"));
    QVERIFY(plan.modified());
    QCOMPARE(plan.selected(), 0);
}

void TestSeatingPlan::addEmptyNameTakesNumberAtThatMoment()
{
    SeatingPlan plan;
    plan.add(QStringLiteral("A"));
    plan.add(QStringLiteral("B"));
    QCOMPARE(plan.add(QString()), 3);
    QCOMPARE(plan.desk(3).name, QStringLiteral("Bureau3"));
    // The name stays when desks before it go.
    plan.press(1, QPoint());
    plan.removeSelected();
    QCOMPARE(plan.desk(2).name, QStringLiteral("Bureau3"));
    QCOMPARE(plan.add(QString()), 3);
    QCOMPARE(plan.desk(3).name, QStringLiteral("Bureau3"));
    QCOMPARE(plan.toBytes(), QByteArray("B,200,180,100,25\r\nBureau3,200,180,100,25\r\nBureau3,200,180,100,25\r\n"));
}

void TestSeatingPlan::addReplacesCommasAndLineBreaks()
{
    SeatingPlan plan;
    plan.add(QStringLiteral("Dupont,Jean\r\nX"));
    QCOMPARE(plan.toBytes(), QByteArray("Dupont Jean  X,200,180,100,25\r\n"));
    SeatingPlan again;
    again.load(plan.toBytes());
    QCOMPARE(again.count(), 1);
    QCOMPARE(describe(again.desk(1)), QStringLiteral("Dupont Jean  X|200|180|100|25"));
}

void TestSeatingPlan::addRefusedWhenFull()
{
    SeatingPlan plan;
    for (int i = 1; i <= 60; ++i)
        QCOMPARE(plan.add(QString()), i);
    plan.setModified(false);
    QCOMPARE(plan.add(QStringLiteral("Soixante et un")), 0);
    QCOMPARE(plan.count(), 60);
    QVERIFY(!plan.modified());
}

void TestSeatingPlan::pressSelectsAndMarksModified()
{
    SeatingPlan plan;
    plan.load(QByteArray("A,1,1,100,25\r\nB,2,2,100,25\r\n"));
    plan.press(2, QPoint(7, 9));
    QCOMPARE(plan.selected(), 2);
    QVERIFY(plan.dragging());
    QCOMPARE(plan.grabOffset(), QPoint(7, 9));
    QVERIFY(plan.modified());
    plan.release();
    QVERIFY(!plan.dragging());
    QCOMPARE(plan.selected(), 2);
    // A press without movement leaves the desk where it was.
    QCOMPARE(describe(plan.desk(2)), QStringLiteral("B|2|2|100|25"));
}

void TestSeatingPlan::pressOnEmptyAreaDeselects()
{
    SeatingPlan plan;
    plan.load(QByteArray("A,1,1,100,25\r\n"));
    plan.press(1, QPoint());
    plan.release();
    plan.setModified(false);
    plan.press(0, QPoint(300, 300));
    QCOMPARE(plan.selected(), 0);
    QVERIFY(!plan.dragging());
    QVERIFY(!plan.modified());
    QVERIFY(!plan.removeSelected());
    QVERIFY(!plan.turnSelected());
    QCOMPARE(plan.count(), 1);
    QCOMPARE(describe(plan.desk(1)), QStringLiteral("A|1|1|100|25"));
}

void TestSeatingPlan::dragKeepsGrabbedPointUnderMouse()
{
    SeatingPlan plan;
    plan.add(QStringLiteral("A"));
    plan.press(1, QPoint(30, 10));
    plan.dragTo(QPoint(300, 100));
    QCOMPARE(plan.desk(1).left, 270);
    QCOMPARE(plan.desk(1).top, 90);
    plan.dragTo(QPoint(1000, 2000));
    QCOMPARE(plan.desk(1).left, 970);
    QCOMPARE(plan.desk(1).top, 1990);
}

void TestSeatingPlan::moveWithoutDragDoesNothing()
{
    SeatingPlan plan;
    plan.add(QStringLiteral("A"));
    plan.press(1, QPoint(30, 10));
    plan.release();
    plan.dragTo(QPoint(5, 5));
    QCOMPARE(describe(plan.desk(1)), QStringLiteral("A|200|180|100|25"));
}

void TestSeatingPlan::deleteSecondOfFour()
{
    SeatingPlan plan;
    plan.load(QByteArray("Un,1,1,100,25\r\nDeux,2,2,100,25\r\nTrois,3,3,25,100\r\nQuatre,4,4,100,25\r\n"));
    plan.press(2, QPoint());
    plan.release();
    plan.setModified(false);
    QVERIFY(plan.removeSelected());
    QCOMPARE(plan.count(), 3);
    QCOMPARE(plan.selected(), 0);
    QVERIFY(plan.modified());
    QCOMPARE(plan.toBytes(), QByteArray("Un,1,1,100,25\r\nTrois,3,3,25,100\r\nQuatre,4,4,100,25\r\n"));
}

void TestSeatingPlan::deleteAndTurnNeedSelection()
{
    SeatingPlan plan;
    QVERIFY(!plan.removeSelected());
    QVERIFY(!plan.turnSelected());
    QVERIFY(!plan.modified());
    plan.load(QByteArray("A,1,1,100,25\r\n"));
    QVERIFY(!plan.removeSelected());
    QVERIFY(!plan.modified());
    QCOMPARE(plan.count(), 1);
}

void TestSeatingPlan::turn_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QSize>("once");
    QTest::addColumn<QSize>("twice");
    QTest::newRow("80x30 read") << 80 << 30 << QSize(100, 25) << QSize(25, 100);
    QTest::newRow("new desk") << 100 << 25 << QSize(25, 100) << QSize(100, 25);
    QTest::newRow("portrait") << 25 << 100 << QSize(100, 25) << QSize(25, 100);
    QTest::newRow("100 wide and tall") << 100 << 100 << QSize(25, 25) << QSize(100, 100);
    QTest::newRow("label defaults") << 65 << 17 << QSize(100, 25) << QSize(25, 100);
}

void TestSeatingPlan::turn()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QSize, once);
    QFETCH(QSize, twice);
    SeatingPlan plan;
    plan.load("A,5,6," + QByteArray::number(width) + "," + QByteArray::number(height) + "\r\n");
    plan.press(1, QPoint());
    QVERIFY(plan.turnSelected());
    QCOMPARE(QSize(plan.desk(1).width, plan.desk(1).height), once);
    QVERIFY(plan.turnSelected());
    QCOMPARE(QSize(plan.desk(1).width, plan.desk(1).height), twice);
    QCOMPARE(plan.desk(1).left, 5);
    QCOMPARE(plan.desk(1).top, 6);
}

void TestSeatingPlan::turnDoesNotMarkModified()
{
    SeatingPlan plan;
    plan.load(QByteArray("A,5,6,100,25\r\n"));
    plan.press(1, QPoint());
    plan.setModified(false);
    QVERIFY(plan.turnSelected());
    QVERIFY(!plan.modified());
}

QTEST_APPLESS_MAIN(TestSeatingPlan)
#include "TestSeatingPlan.moc"
