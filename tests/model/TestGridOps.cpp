#include "model/GridOps.h"

#include <QTest>
#include <map>

namespace {

// Fills student n with a surname and some marks and card fields that must travel with it.
void fillStudent(ClassTable& t, int n, const QString& surname)
{
    t.at(n, ClassTable::Surname) = surname;
    t.at(n, ClassTable::FirstName) = QStringLiteral("prénom de ") + surname;
    t.at(n, 2) = QStringLiteral("mark2 ") + surname;
    t.at(n, 31) = QStringLiteral("mark31 ") + surname;
    t.at(n, ClassTable::Town) = QStringLiteral("ville ") + surname;
    t.at(n, ClassTable::Photo) = QStringLiteral("/photos/") + surname + QStringLiteral(".jpg");
    t.at(n, 0) = QStringLiteral("spare0 ") + surname;
    t.at(n, 48) = QStringLiteral("spare48 ") + surname;
}

QStringList surnames(const ClassTable& t, int from, int to)
{
    QStringList list;
    for (int n = from; n <= to; ++n)
        list << t.at(n, ClassTable::Surname);
    return list;
}

// Every slot of row n belongs to the student whose surname it holds.
void verifyRowIntact(const ClassTable& t, int n)
{
    const QString s = t.at(n, ClassTable::Surname);
    QCOMPARE(t.at(n, ClassTable::FirstName), QStringLiteral("prénom de ") + s);
    QCOMPARE(t.at(n, 2), QStringLiteral("mark2 ") + s);
    QCOMPARE(t.at(n, 31), QStringLiteral("mark31 ") + s);
    QCOMPARE(t.at(n, ClassTable::Town), QStringLiteral("ville ") + s);
    QCOMPARE(t.at(n, ClassTable::Photo), QStringLiteral("/photos/") + s + QStringLiteral(".jpg"));
    QCOMPARE(t.at(n, 0), QStringLiteral("spare0 ") + s);
    QCOMPARE(t.at(n, 48), QStringLiteral("spare48 ") + s);
}

using Grid = std::map<std::pair<int, int>, QString>;

} // namespace

class TestGridOps : public QObject
{
    Q_OBJECT

private slots:
    void keyOrder_data();
    void keyOrder();
    void sortKeyBytes();
    void sortExamples_data();
    void sortExamples();
    void sortKeepsRowsTogether();
    void sortLeavesRowsAfterLastNamedStudent();
    void sortEqualSurnamesKeepTheirRows();
    void deleteMovesRowsUp();
    void deleteLastStudent();
    void deleteOutOfRangeDoesNothing_data();
    void deleteOutOfRangeDoesNothing();
    void fittedWidth_data();
    void fittedWidth();
    void copyCells();
    void paste_data();
    void paste();
    void pasteCard_data();
    void pasteCard();
};

void TestGridOps::keyOrder_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("expected");
    QTest::newRow("case of ASCII letters ignored") << "bravo"
                                                   << "BRAVO" << 0;
    QTest::newRow("Alpha before bravo") << "Alpha"
                                        << "bravo" << -1;
    QTest::newRow("É after Z") << QStringLiteral("Écho") << "Zoé" << 1;
    QTest::newRow("é after Z too") << QStringLiteral("écho") << "ZZZ" << 1;
    QTest::newRow("é not upper-cased: after É") << QStringLiteral("é") << QStringLiteral("É") << 1;
    QTest::newRow("shorter prefix first") << "Martin"
                                          << "MARTINEZ" << -1;
    QTest::newRow("empty is smallest") << ""
                                       << " " << -1;
    QTest::newRow("blank before letters") << "Le Gall"
                                          << "Leblanc" << -1;
    QTest::newRow("hyphen before letters") << "Jean-Paul"
                                           << "Jeanne" << -1;
    QTest::newRow("digit before letters") << "9"
                                          << "A" << -1;
    QTest::newRow("ASCII bracket between Z and a stays put") << "[x"
                                                             << "zz" << 1;
    QTest::newRow("byte 0x80 (euro) above 0x7F") << QStringLiteral("€") << QStringLiteral("~") << 1;
    QTest::newRow("Ÿ (0x9F) before à (0xE0)") << QStringLiteral("Ÿ") << QStringLiteral("à") << -1;
    QTest::newRow("equal keys") << QStringLiteral("Dupré") << QStringLiteral("DUPRé") << 0;
}

void TestGridOps::keyOrder()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, expected);
    QCOMPARE(gridops::compareKeys(gridops::sortKey(a), gridops::sortKey(b)), expected);
    QCOMPARE(gridops::compareKeys(gridops::sortKey(b), gridops::sortKey(a)), -expected);
}

void TestGridOps::sortKeyBytes()
{
    QCOMPARE(gridops::sortKey(QStringLiteral("azÉé-z")), QByteArray("AZ\xC9\xE9-Z"));
    QCOMPARE(gridops::sortKey(QString()), QByteArray());
}

void TestGridOps::sortExamples_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("bravo Alpha Écho") << QStringList{"bravo", "Alpha", QStringLiteral("Écho")}
                                      << QStringList{"Alpha", "bravo", QStringLiteral("Écho")};
    QTest::newRow("Écho after every ASCII letter") << QStringList{QStringLiteral("Écho"), "zorro", "Zed", "abel"}
                                                   << QStringList{"abel", "Zed", "zorro", QStringLiteral("Écho")};
    QTest::newRow("empty surname before the last named goes first")
        << QStringList{"bravo", "", "Alpha", QStringLiteral("Écho")}
        << QStringList{"", "Alpha", "bravo", QStringLiteral("Écho")};
    QTest::newRow("only student 1 named") << QStringList{"zulu"} << QStringList{"zulu"};
    QTest::newRow("nobody named") << QStringList{"", "", ""} << QStringList{"", "", ""};
    QTest::newRow("only student 2 named goes after the empty one")
        << QStringList{"", "zulu"} << QStringList{"", "zulu"};
    QTest::newRow("reverse order") << QStringList{"d", "C", "b", "A"} << QStringList{"A", "b", "C", "d"};
}

void TestGridOps::sortExamples()
{
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    ClassTable t;
    for (int i = 0; i < before.size(); ++i)
        if (!before[i].isEmpty())
            fillStudent(t, i + 1, before[i]);
    gridops::sortStudents(t);
    QCOMPARE(surnames(t, 1, static_cast<int>(after.size())), after);
    for (int i = 0; i < after.size(); ++i)
        if (!after[i].isEmpty())
            verifyRowIntact(t, i + 1);
}

void TestGridOps::sortKeepsRowsTogether()
{
    ClassTable t;
    const QStringList names = {"Petit", "martin", "Bernard", QStringLiteral("Éloi"), "Durand", "lefèvre"};
    for (int i = 0; i < names.size(); ++i)
        fillStudent(t, i + 1, names[i]);
    t.at(-1, 2) = "heading";
    t.at(0, 2) = "2";
    gridops::sortStudents(t);
    QCOMPARE(surnames(t, 1, 6),
             (QStringList{"Bernard", "Durand", "lefèvre", "martin", "Petit", QStringLiteral("Éloi")}));
    for (int n = 1; n <= 6; ++n)
        verifyRowIntact(t, n);
    QCOMPARE(t.at(-1, 2), QStringLiteral("heading"));
    QCOMPARE(t.at(0, 2), QStringLiteral("2"));
}

void TestGridOps::sortLeavesRowsAfterLastNamedStudent()
{
    ClassTable t;
    fillStudent(t, 1, "b");
    fillStudent(t, 2, "a");
    // Students 3 to 62 have no surname; 5 has marks, 63 and 64 spare content.
    t.at(5, 2) = "12,00";
    t.at(5, ClassTable::FirstName) = "sans nom";
    t.at(63, 7) = "spare";
    t.at(64, 7) = "spare too";
    ClassTable expected = t;
    expected.swapRows(1, 2);
    gridops::sortStudents(t);
    QVERIFY(t == expected);
}

void TestGridOps::sortEqualSurnamesKeepTheirRows()
{
    // Equal keys are never swapped with each other directly.
    ClassTable t;
    fillStudent(t, 1, "DUPONT");
    t.at(1, ClassTable::FirstName) = "Luc";
    fillStudent(t, 2, "dupont");
    t.at(2, ClassTable::FirstName) = "Anne";
    gridops::sortStudents(t);
    QCOMPARE(t.at(1, ClassTable::FirstName), QStringLiteral("Luc"));
    QCOMPARE(t.at(2, ClassTable::FirstName), QStringLiteral("Anne"));
}

void TestGridOps::deleteMovesRowsUp()
{
    ClassTable t;
    for (int n = 1; n <= 62; ++n)
        fillStudent(t, n, QStringLiteral("s%1").arg(n));
    t.at(63, 5) = "row63";
    t.at(64, 5) = "row64";
    t.at(0, 5) = "coef";
    gridops::deleteStudent(t, 10);
    QCOMPARE(t.at(9, ClassTable::Surname), QStringLiteral("s9"));
    for (int n = 10; n <= 61; ++n) {
        QCOMPARE(t.at(n, ClassTable::Surname), QStringLiteral("s%1").arg(n + 1));
        verifyRowIntact(t, n);
    }
    // Row 63 moved into 62, row 64 into 63, and row 64 stays as it was.
    QCOMPARE(t.at(62, ClassTable::Surname), QString());
    QCOMPARE(t.at(62, 5), QStringLiteral("row63"));
    QCOMPARE(t.at(63, 5), QStringLiteral("row64"));
    QCOMPARE(t.at(64, 5), QStringLiteral("row64"));
    QCOMPARE(t.at(0, 5), QStringLiteral("coef"));
}

void TestGridOps::deleteLastStudent()
{
    ClassTable t;
    for (int n = 1; n <= 3; ++n)
        fillStudent(t, n, QStringLiteral("s%1").arg(n));
    gridops::deleteStudent(t, 3);
    QCOMPARE(surnames(t, 1, 4), (QStringList{"s1", "s2", "", ""}));
    for (int slot = 0; slot < ClassTable::SlotCount; ++slot)
        QVERIFY2(t.at(3, slot).isEmpty(), qPrintable(QString::number(slot)));
    verifyRowIntact(t, 2);

    ClassTable full;
    fillStudent(full, 62, "dernier");
    gridops::deleteStudent(full, 62);
    QVERIFY(full == ClassTable());
}

void TestGridOps::deleteOutOfRangeDoesNothing_data()
{
    QTest::addColumn<int>("student");
    QTest::newRow("coefficients row") << 0;
    QTest::newRow("headings row") << -1;
    QTest::newRow("spare row 63") << 63;
    QTest::newRow("beyond the table") << 65;
}

void TestGridOps::deleteOutOfRangeDoesNothing()
{
    QFETCH(int, student);
    ClassTable t;
    fillStudent(t, 1, "a");
    t.at(-1, 2) = "h";
    t.at(0, 2) = "c";
    t.at(64, 2) = "x";
    const ClassTable before = t;
    gridops::deleteStudent(t, student);
    QVERIFY(t == before);
}

void TestGridOps::fittedWidth_data()
{
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("textWidth");
    QTest::addColumn<int>("expected");
    QTest::newRow("default column, short heading") << 32 << 10 << 40;
    QTest::newRow("heading of 35 still gives 40") << 32 << 35 << 40;
    QTest::newRow("heading of 36 gives 40") << 32 << 36 << 40;
    QTest::newRow("heading of 37 gives 41") << 32 << 37 << 41;
    QTest::newRow("long heading widens") << 32 << 100 << 104;
    QTest::newRow("user-widened column never narrows") << 150 << 20 << 150;
    QTest::newRow("wide column, wider heading") << 150 << 200 << 204;
    QTest::newRow("exact fit keeps it") << 104 << 100 << 104;
    QTest::newRow("empty heading") << 0 << 0 << 40;
}

void TestGridOps::fittedWidth()
{
    QFETCH(int, current);
    QFETCH(int, textWidth);
    QFETCH(int, expected);
    QCOMPARE(gridops::fittedWidth(current, textWidth), expected);
}

void TestGridOps::copyCells()
{
    const auto cell = [](int c, int r) { return QStringLiteral("%1:%2").arg(c).arg(r); };
    QCOMPARE(gridops::copyCells(cell, {3, 5, 4, 6}), (QStringList{"3:5", "4:5", "CRLF", "3:6", "4:6", "CRLF"}));
    QCOMPARE(gridops::copyCells(cell, {2, 2, 2, 2}), (QStringList{"2:2", "CRLF"}));
    // The whole class: 62 rows of 30 cells and a row end each.
    const QStringList all = gridops::copyCells(cell, {2, 2, 31, 63});
    QCOMPARE(all.size(), 62 * 31);
    QCOMPARE(all.first(), QStringLiteral("2:2"));
    QCOMPARE(all[29], QStringLiteral("31:2"));
    QCOMPARE(all[30], QStringLiteral("CRLF"));
    QCOMPARE(all[31], QStringLiteral("2:3"));
    QCOMPARE(all[all.size() - 2], QStringLiteral("31:63"));
}

void TestGridOps::paste_data()
{
    // The grid of the class: 32 columns, 64 rows. Cells written are listed "col:row=text".
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QStringList>("written");
    QTest::newRow("empty buffer") << 2 << 2 << QStringList{} << QStringList{};
    QTest::newRow("two rows") << 5 << 7 << QStringList{"a", "b", "CRLF", "c", "d", "CRLF"}
                              << QStringList{"5:7=a", "6:7=b", "5:8=c", "6:8=d"};
    QTest::newRow("right edge stops the paste within the first row")
        << 30 << 2 << QStringList{"a", "b", "c", "CRLF", "d", "CRLF"} << QStringList{"30:2=a", "31:2=b"};
    QTest::newRow("at the last column") << 31 << 10 << QStringList{"a", "b", "CRLF", "c"} << QStringList{"31:10=a"};
    QTest::newRow("bottom edge stops at the first cell past row 63")
        << 2 << 62 << QStringList{"a", "CRLF", "b", "CRLF", "c", "CRLF", "d"} << QStringList{"2:62=a", "2:63=b"};
    QTest::newRow("row ends alone only move down")
        << 4 << 60 << QStringList{"CRLF", "CRLF", "x", "CRLF", "CRLF", "y"} << QStringList{"4:62=x"};
    QTest::newRow("row ends past the bottom cost nothing")
        << 2 << 63 << QStringList{"a", "CRLF", "CRLF", "CRLF"} << QStringList{"2:63=a"};
    QTest::newRow("crlf is case-sensitive")
        << 2 << 2 << QStringList{"crlf", "CRLF ", "CRLF"} << QStringList{"2:2=crlf", "3:2=CRLF "};
    QTest::newRow("texts go as they are")
        << 2 << 2 << QStringList{"12.5", "", "  x "} << QStringList{"2:2=12.5", "3:2=", "4:2=  x "};
    QTest::newRow("card of 12 items on one row")
        << 20 << 5 << QStringList{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"}
        << QStringList{"20:5=0", "21:5=1", "22:5=2", "23:5=3", "24:5=4",  "25:5=5",
                       "26:5=6", "27:5=7", "28:5=8", "29:5=9", "30:5=10", "31:5=11"};
    QTest::newRow("card near the right edge")
        << 28 << 5 << QStringList{"0", "1", "2", "3", "4", "5"} << QStringList{"28:5=0", "29:5=1", "30:5=2", "31:5=3"};
}

void TestGridOps::paste()
{
    QFETCH(int, col);
    QFETCH(int, row);
    QFETCH(QStringList, items);
    QFETCH(QStringList, written);
    QStringList log;
    const int count = gridops::pasteCells(
        [&log](int c, int r, const QString& text) { log << QStringLiteral("%1:%2=%3").arg(c).arg(r).arg(text); }, 32,
        64, col, row, items);
    QCOMPARE(log, written);
    QCOMPARE(count, written.size());
}

void TestGridOps::pasteCard_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QStringList>("expected");
    const QStringList old = {"o0", "o1", "o2", "o3", "o4", "o5", "o6", "o7", "o8", "o9", "o10", "o11"};
    QTest::newRow("empty buffer keeps everything") << QStringList{} << old;
    QTest::newRow("three items") << QStringList{"a", "b", "c"}
                                 << QStringList{"a", "b", "c", "o3", "o4", "o5", "o6", "o7", "o8", "o9", "o10", "o11"};
    QTest::newRow("grid copy with row ends, as text")
        << QStringList{"1", "2", "CRLF", "3", "4", "CRLF", "5", "6", "CRLF", "7", "8", "CRLF", "9", "10"}
        << QStringList{"1", "2", "CRLF", "3", "4", "CRLF", "5", "6", "CRLF", "7", "8", "CRLF"};
    QTest::newRow("exactly twelve, memo with line break")
        << QStringList{"n", "p", "d", "c", "a1", "a2", "cp", "v", "t1", "t2", "m", "l1\r\nl2"}
        << QStringList{"n", "p", "d", "c", "a1", "a2", "cp", "v", "t1", "t2", "m", "l1\r\nl2"};
}

void TestGridOps::pasteCard()
{
    QFETCH(QStringList, items);
    QFETCH(QStringList, expected);
    QStringList texts = {"o0", "o1", "o2", "o3", "o4", "o5", "o6", "o7", "o8", "o9", "o10", "o11"};
    const int count = gridops::pasteCard(texts, items);
    QCOMPARE(texts, expected);
    QCOMPARE(count, std::min<int>(static_cast<int>(items.size()), 12));
}

QTEST_GUILESS_MAIN(TestGridOps)
#include "TestGridOps.moc"
