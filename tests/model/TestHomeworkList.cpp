#include "core/PlatformError.h"
#include "model/HomeworkList.h"

#include <QSet>
#include <QTest>

// The homework list without any window: what a row shows of an entry, the file, the places of the rows.
class TestHomeworkList : public QObject
{
    Q_OBJECT

private slots:
    void showsEntry_data();
    void showsEntry();
    void badDate_data();
    void badDate();
    void entryFromRow_data();
    void entryFromRow();
    void fileName_data();
    void fileName();
    void readsFile_data();
    void readsFile();
    void writesExactly21Lines();
    void everyByteButLineEndsComesBack();
    void firstEntryEmptyWritesNothing();
    void rowPlaces_data();
    void rowPlaces();
    void everyRowHasItsOwnPlace();
};

namespace {

homework::List listOf(std::initializer_list<QString> entries)
{
    homework::List list;
    int i = 0;
    for (const QString& e : entries)
        list[i++] = e;
    return list;
}

} // namespace

void TestHomeworkList::showsEntry_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("unset");

    const QDate unset(1990, 1, 1);
    QTest::newRow("empty") << QString() << unset << QString() << true;
    QTest::newRow("unset date alone") << QStringLiteral("01/01/1990") << unset << QString() << true;
    QTest::newRow("unset date with title")
        << QStringLiteral("01/01/1990Révision") << unset << QStringLiteral("Révision") << true;
    QTest::newRow("date without title") << QStringLiteral("12/03/2001") << QDate(2001, 3, 12) << QString() << false;
    QTest::newRow("date and title") << QStringLiteral("24/12/2026Rédaction : Noël") << QDate(2026, 12, 24)
                                    << QStringLiteral("Rédaction : Noël") << false;
    QTest::newRow("too short") << QStringLiteral("abc") << unset << QString() << true;
    QTest::newRow("nine characters") << QStringLiteral("12/03/200") << unset << QString() << true;
    QTest::newRow("another day of 1990") << QStringLiteral("02/01/1990x") << QDate(1990, 1, 2) << QStringLiteral("x")
                                         << false;
    QTest::newRow("blank after the date")
        << QStringLiteral("05/07/2002 Géo") << QDate(2002, 7, 5) << QStringLiteral(" Géo") << false;
    QTest::newRow("300-character title kept whole") << (QStringLiteral("01/02/2003") + QString(300, QLatin1Char('t')))
                                                    << QDate(2003, 2, 1) << QString(300, QLatin1Char('t')) << false;
    QTest::newRow("leap day") << QStringLiteral("29/02/2004") << QDate(2004, 2, 29) << QString() << false;
    QTest::newRow("first year the picker holds")
        << QStringLiteral("01/01/0100") << QDate(100, 1, 1) << QString() << false;
    QTest::newRow("last day the picker holds")
        << QStringLiteral("31/12/9999") << QDate(9999, 12, 31) << QString() << false;
}

void TestHomeworkList::showsEntry()
{
    QFETCH(QString, entry);
    QFETCH(QDate, date);
    QFETCH(QString, title);
    QFETCH(bool, unset);
    const homework::Shown shown = homework::show(entry);
    QCOMPARE(shown.date, date);
    QCOMPARE(shown.title, title);
    QCOMPARE(shown.unset, unset);
    QCOMPARE(homework::isUnset(entry), unset);
}

void TestHomeworkList::badDate_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("message");

    QTest::newRow("letters") << QStringLiteral("abcdefghijklm")
                             << QStringLiteral("'abcdefghij' n'est pas une date correcte");
    QTest::newRow("31 February") << QStringLiteral("31/02/2001Maths")
                                 << QStringLiteral("'31/02/2001' n'est pas une date correcte");
    QTest::newRow("month 13") << QStringLiteral("01/13/2001")
                              << QStringLiteral("'01/13/2001' n'est pas une date correcte");
    QTest::newRow("dashes") << QStringLiteral("2001-03-12")
                            << QStringLiteral("'2001-03-12' n'est pas une date correcte");
    QTest::newRow("year the picker cannot hold")
        << QStringLiteral("01/01/0050") << QStringLiteral("'01/01/0050' n'est pas une date correcte");
    QTest::newRow("title glued to a short date")
        << QStringLiteral("1/3/2001Anglais") << QStringLiteral("'1/3/2001An' n'est pas une date correcte");
    QTest::newRow("ten blanks") << QString(10, QLatin1Char(' '))
                                << QStringLiteral("'          ' n'est pas une date correcte");
}

void TestHomeworkList::badDate()
{
    QFETCH(QString, entry);
    QFETCH(QString, message);
    try {
        homework::show(entry);
        QFAIL("no error raised");
    } catch (const PlatformError& error) {
        QCOMPARE(error.message(), message);
    }
}

void TestHomeworkList::entryFromRow_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("entry");

    QTest::newRow("unset row") << QDate(1990, 1, 1) << QString() << QStringLiteral("01/01/1990");
    QTest::newRow("two-digit day and month")
        << QDate(2001, 3, 2) << QStringLiteral("Exposé") << QStringLiteral("02/03/2001Exposé");
    QTest::newRow("four-digit year below 1000") << QDate(100, 1, 1) << QString() << QStringLiteral("01/01/0100");
    QTest::newRow("line breaks become blanks")
        << QDate(2001, 3, 12) << QStringLiteral("a\r\nb\nc\rd") << QStringLiteral("12/03/2001a  b c d");
}

void TestHomeworkList::entryFromRow()
{
    QFETCH(QDate, date);
    QFETCH(QString, title);
    QFETCH(QString, entry);
    QCOMPARE(homework::entry(date, title), entry);
}

void TestHomeworkList::fileName_data()
{
    QTest::addColumn<QString>("classFile");
    QTest::addColumn<QString>("homeworkFile");

    QTest::newRow("class file") << QStringLiteral("/home/prof/Classes/6A.prf")
                                << QStringLiteral("/home/prof/Classes/6A.prd");
    QTest::newRow("dotted folder") << QStringLiteral("/home/prof/Cours.2001/6A.prf")
                                   << QStringLiteral("/home/prof/Cours.2001/6A.prd");
    QTest::newRow("no dot at all") << QStringLiteral("/home/prof/Classes/6A")
                                   << QStringLiteral("/home/prof/Classes/6A.prd");
    QTest::newRow("dotted folder, no dot in the name")
        << QStringLiteral("/home/prof/Cours.2001/6A") << QStringLiteral("/home/prof/Cours.2001/6A.prd");
    QTest::newRow("two dots") << QStringLiteral("/p/5e.B.old.prf") << QStringLiteral("/p/5e.B.old.prd");
    QTest::newRow("no file name yet") << QString() << QString();
}

void TestHomeworkList::fileName()
{
    QFETCH(QString, classFile);
    QFETCH(QString, homeworkFile);
    QCOMPARE(homework::fileName(classFile), homeworkFile);
}

void TestHomeworkList::readsFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("entries");

    QByteArray twentyFive;
    QStringList first21;
    for (int k = 0; k < 25; ++k) {
        twentyFive += "0" + QByteArray::number(k % 10) + "/01/2001L" + QByteArray::number(k) + "\r\n";
        if (k < 21)
            first21 << QStringLiteral("0%1/01/2001L%2").arg(k % 10).arg(k);
    }
    QTest::newRow("25 lines: the first 21") << twentyFive << first21;
    QTest::newRow("5 lines, the rest empty") << QByteArray("a\r\n\r\n12/03/2001\r\n01/01/1990R\xE9vision\r\nlast\r\n")
                                             << QStringList{"a", "", "12/03/2001", "01/01/1990Révision", "last"};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("no line end at the end")
        << QByteArray("12/03/2001x\r\n13/03/2001y") << QStringList{"12/03/2001x", "13/03/2001y"};
    QTest::newRow("bare LF and CR") << QByteArray("one\ntwo\rthree\r\n") << QStringList{"one", "two", "three"};
    QTest::newRow("code page") << QByteArray("01/01/2002\x80 \xE0 \x9C\r\n") << QStringList{"01/01/2002€ à œ"};
    QTest::newRow("long line") << (QByteArray("01/01/2002") + QByteArray(70000, 'z') + "\r\n")
                               << QStringList{QStringLiteral("01/01/2002") + QString(70000, QLatin1Char('z'))};
}

void TestHomeworkList::readsFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, entries);
    const homework::List list = homework::read(bytes);
    for (int k = 0; k < homework::EntryCount; ++k)
        QCOMPARE(list[k], k < entries.size() ? entries[k] : QString());
}

void TestHomeworkList::writesExactly21Lines()
{
    homework::List list;
    for (int i = 0; i < 20; ++i)
        list[i] = QStringLiteral("01/01/1990");
    QCOMPARE(homework::write(list), QByteArray("01/01/1990\r\n").repeated(20) + "\r\n");

    list = listOf({QStringLiteral("12/03/2001Révision €"), QString(), QStringLiteral("abc")});
    list[20] = QStringLiteral("spare");
    QCOMPARE(homework::write(list),
             QByteArray("12/03/2001R\xE9vision \x80\r\n\r\nabc\r\n") + QByteArray("\r\n").repeated(17) + "spare\r\n");
}

void TestHomeworkList::everyByteButLineEndsComesBack()
{
    QByteArray line;
    for (int b = 0; b < 256; ++b)
        if (b != '\r' && b != '\n')
            line += char(b);
    const QByteArray file = (line + "\r\n").repeated(21);
    QCOMPARE(homework::write(homework::read(file)), file);
}

void TestHomeworkList::firstEntryEmptyWritesNothing()
{
    homework::List list;
    QVERIFY(!homework::needsFile(list));
    list[5] = QStringLiteral("12/03/2001");
    QVERIFY(!homework::needsFile(list));
    list[0] = QStringLiteral("x");
    QVERIFY(homework::needsFile(list));
}

void TestHomeworkList::rowPlaces_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QRect>("picker");
    QTest::addColumn<QRect>("title");

    // Screen lines of the left column, then of the right one.
    const int left[10] = {1, 3, 4, 5, 6, 11, 12, 13, 17, 19};
    const int right[10] = {2, 7, 8, 9, 10, 14, 15, 16, 18, 20};
    for (int k = 0; k < 10; ++k) {
        QTest::addRow("row %d", left[k]) << left[k] << QRect(7, 72 + 24 * k, 98, 24)
                                         << QRect(112, 73 + 24 * k, 145, 24);
        QTest::addRow("row %d", right[k])
            << right[k] << QRect(271, 72 + 24 * k, 98, 24) << QRect(376, 73 + 24 * k, 145, 24);
    }
}

void TestHomeworkList::rowPlaces()
{
    QFETCH(int, row);
    QFETCH(QRect, picker);
    QFETCH(QRect, title);
    QCOMPARE(homework::pickerRect(row), picker);
    QCOMPARE(homework::titleRect(row), title);
}

void TestHomeworkList::everyRowHasItsOwnPlace()
{
    QSet<QPair<int, int>> seen;
    for (int row = 1; row <= 20; ++row) {
        const homework::Place p = homework::place(row);
        seen.insert({p.column, p.line});
    }
    QCOMPARE(seen.size(), 20);
}

QTEST_GUILESS_MAIN(TestHomeworkList)
#include "TestHomeworkList.moc"
