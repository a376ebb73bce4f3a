#include "tools/ReportFileName.h"
#include "tools/RulerMath.h"

#include <QtTest>

// The ruler's point / pixel arithmetic and the names reports are saved under.
class TestRulerAndNames : public QObject
{
    Q_OBJECT

private slots:
    void markerLeftsFromIndents_data();
    void markerLeftsFromIndents();
    void indentsFromMarkers_data();
    void indentsFromMarkers();
    void markerShownAfterRelease_data();
    void markerShownAfterRelease();
    void reportFileName_data();
    void reportFileName();
};

void TestRulerAndNames::markerLeftsFromIndents_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("right");
    QTest::addColumn<int>("rulerWidth");
    QTest::addColumn<int>("firstLeft");
    QTest::addColumn<int>("leftLeft");
    QTest::addColumn<int>("rightLeft");
    // 4/3 of a point, truncated toward zero, less 4, plus the gutter of 6.
    QTest::newRow("no indent") << 0 << 0 << 0 << 676 << 2 << 2 << 662;
    QTest::newRow("whole pixels") << 3 << 6 << 3 << 676 << 6 << 14 << 658;
    QTest::newRow("truncated") << 10 << 5 << 10 << 676 << 15 << 22 << 649;
    QTest::newRow("one point") << 1 << 0 << 1 << 500 << 3 << 3 << 485;
    QTest::newRow("hanging") << 20 << -11 << 0 << 676 << 28 << 14 << 662;
    QTest::newRow("negative truncates toward zero") << -1 << -1 << -7 << 300 << 1 << 0 << 295;
    QTest::newRow("half inch") << 36 << 36 << 36 << 800 << 50 << 98 << 738;
}

void TestRulerAndNames::markerLeftsFromIndents()
{
    QFETCH(int, first);
    QFETCH(int, left);
    QFETCH(int, right);
    QFETCH(int, rulerWidth);
    QFETCH(int, firstLeft);
    QFETCH(int, leftLeft);
    QFETCH(int, rightLeft);
    QCOMPARE(ruler::firstIndLeft(first), firstLeft);
    QCOMPARE(ruler::leftIndLeft(left, first), leftLeft);
    QCOMPARE(ruler::rightIndLeft(rulerWidth, right), rightLeft);
}

void TestRulerAndNames::indentsFromMarkers_data()
{
    QTest::addColumn<int>("markerLeft");
    QTest::addColumn<int>("dragOffset");
    QTest::addColumn<int>("firstIndent");
    QTest::addColumn<int>("rulerWidth");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("right");
    // Three quarters of a pixel, truncated toward zero.
    QTest::newRow("marker at rest") << 2 << 6 << 0 << 676 << 1 << 1 << 496;
    QTest::newRow("exact quarter") << 20 << 6 << 0 << 676 << 15 << 15 << 483;
    QTest::newRow("left counts from first") << 32 << 6 << 15 << 676 << 24 << 9 << 474;
    QTest::newRow("right marker near the end") << 662 << 6 << 0 << 676 << 496 << 496 << 1;
    QTest::newRow("right marker moved in") << 630 << 6 << 0 << 676 << 472 << 472 << 25;
    QTest::newRow("left of the gutter") << -10 << 6 << 0 << 676 << -7 << -7 << 505;
    QTest::newRow("beyond the ruler") << 700 << 6 << 10 << 676 << 525 << 515 << -27;
    QTest::newRow("odd offset") << 100 << 5 << 0 << 300 << 74 << 74 << 140;
}

void TestRulerAndNames::indentsFromMarkers()
{
    QFETCH(int, markerLeft);
    QFETCH(int, dragOffset);
    QFETCH(int, firstIndent);
    QFETCH(int, rulerWidth);
    QFETCH(int, first);
    QFETCH(int, left);
    QFETCH(int, right);
    QCOMPARE(ruler::firstIndentAt(markerLeft, dragOffset), first);
    QCOMPARE(ruler::leftIndentAt(markerLeft, dragOffset, firstIndent), left);
    QCOMPARE(ruler::rightIndentAt(rulerWidth, markerLeft, dragOffset), right);
}

void TestRulerAndNames::markerShownAfterRelease_data()
{
    QTest::addColumn<int>("markerLeft");
    QTest::addColumn<int>("shownLeft");
    // A released first-line marker is shown again from the indent it set, a pixel or two further right:
    // the release counts the marker's middle, the display its tip, and both round down.
    QTest::newRow("at rest") << 2 << 3;
    QTest::newRow("on a quarter") << 20 << 22;
    QTest::newRow("between") << 25 << 26;
    QTest::newRow("far") << 301 << 302;
}

void TestRulerAndNames::markerShownAfterRelease()
{
    QFETCH(int, markerLeft);
    QFETCH(int, shownLeft);
    QCOMPARE(ruler::firstIndLeft(ruler::firstIndentAt(markerLeft, 6)), shownLeft);
}

void TestRulerAndNames::reportFileName_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<int>("filterIndex");
    QTest::addColumn<QString>("saved");
    QTest::newRow("text") << "/home/prof/rapport" << 1 << "/home/prof/rapport.txt";
    QTest::newRow("doc as rtf") << "/home/prof/rapport.doc" << 2 << "/home/prof/rapport.rtf";
    QTest::newRow("rtf given rtf") << "/home/prof/rapport.rtf" << 2 << "/home/prof/rapport.rtf";
    QTest::newRow("txt chosen, rtf filter") << "/home/prof/rapport.txt" << 2 << "/home/prof/rapport.rtf";
    QTest::newRow("first dot of the name") << "/home/prof/6A.2026.final" << 1 << "/home/prof/6A.txt";
    QTest::newRow("folder with a dot") << "/home/prof/classes.2026/rapport" << 1
                                       << "/home/prof/classes.2026/rapport.txt";
    QTest::newRow("folder with a dot, named file")
        << "/home/prof/classes.2026/6A.doc" << 2 << "/home/prof/classes.2026/6A.rtf";
    QTest::newRow("dots in several folders") << "/a.b/c.d/e" << 2 << "/a.b/c.d/e.rtf";
    QTest::newRow("trailing dot") << "/home/prof/rapport." << 1 << "/home/prof/rapport.txt";
    QTest::newRow("no folder") << "rapport.doc" << 1 << "rapport.txt";
    QTest::newRow("unknown filter is text") << "/tmp/r" << 0 << "/tmp/r.txt";
    QTest::newRow("accents") << "/home/prof/élèves.été/Résultats.v2" << 2 << "/home/prof/élèves.été/Résultats.rtf";
}

void TestRulerAndNames::reportFileName()
{
    QFETCH(QString, chosen);
    QFETCH(int, filterIndex);
    QFETCH(QString, saved);
    QCOMPARE(reportfile::nameFor(chosen, reportfile::formatOfFilter(filterIndex)), saved);
}

QTEST_GUILESS_MAIN(TestRulerAndNames)
#include "TestRulerAndNames.moc"
