#include "model/ClassFile.h"

#include <QTest>

// The class file, byte for byte, against files written by hand from the layout.
class TestClassFile : public QObject
{
    Q_OBJECT

private slots:
    void writesSmallClassByteForByte();
    void writesNothingButHeaderForEmptyClass();
    void clampsWidthsToThreeDigits_data();
    void clampsWidthsToThreeDigits();
    void lineBreaksStayOnTheirRecord_data();
    void lineBreaksStayOnTheirRecord();
    void readsRecords_data();
    void readsRecords();
    void readsHeader_data();
    void readsHeader();
    void skipsMalformedLinesWithoutTouchingOthers();
    void readsOverWhatTheTableHolds();
    void survivesHostileFiles_data();
    void survivesHostileFiles();
    void roundTripKeepsEveryText();
    void equalShortTextsShareOneCopy();
};

namespace {

classfile::Widths defaultWidths()
{
    classfile::Widths widths;
    widths.fill(32);
    widths[0] = 192;
    return widths;
}

// The header of the default grid: column 1 192 pixels (0C0), the 30 others 32 (020).
QByteArray defaultHeader()
{
    return "0C0" + QByteArray("020").repeated(30);
}

} // namespace

void TestClassFile::writesSmallClassByteForByte()
{
    ClassTable table;
    table.at(-1, 2) = QStringLiteral("Maths");
    table.at(-1, 3) = QStringLiteral("Fran\u00e7ais");
    table.at(0, 2) = QStringLiteral("2");
    table.at(1, 2) = QStringLiteral("12,50");
    table.at(1, 0) = QStringLiteral("slot 0 is never written");
    table.at(1, 33) = QStringLiteral("Dupr\u00e9");
    table.at(1, 34) = QStringLiteral("L\u00e9a");
    table.at(1, 44) = QStringLiteral("Ligne 1\r\nLigne 2\r\nLigne 3");
    table.at(1, 3) = QStringLiteral("8");
    table.at(62, 45) = QStringLiteral("/home/prof/photos/z\u00e9.jpg");
    table.at(64, 48) = QStringLiteral("x");
    table.at(63, 1) = QStringLiteral("spare");
    classfile::Widths widths = defaultWidths();
    widths[2] = 45;     // column 3
    widths[30] = 0x123; // column 31

    QByteArray expected = "0C0020"
                          "02D" +
                          QByteArray("020").repeated(27) +
                          "123"
                          "\r\n";
    expected += "0002Maths\r\n";
    expected += "0003Fran\xE7"
                "ais\r\n";
    expected += "01022\r\n";
    expected += "020212,50\r\n";
    expected += "02038\r\n";
    expected += "0221Dupr\xE9\r\n";
    expected += "0222L\xE9"
                "a\r\n";
    expected += "022CLigne 1\x0BLigne 2\x0BLigne 3\r\n";
    expected += "3F2D/home/prof/photos/z\xE9.jpg\r\n";
    expected += "4001spare\r\n";
    expected += "4130x\r\n";

    const QByteArray written = classfile::write(table, widths);
    QCOMPARE(written.left(95).size(), 95);
    QCOMPARE(written.indexOf("\r\n"), 93);
    QCOMPARE(written, expected);
}

void TestClassFile::writesNothingButHeaderForEmptyClass()
{
    QCOMPARE(classfile::write(ClassTable(), defaultWidths()), defaultHeader() + "\r\n");
}

void TestClassFile::clampsWidthsToThreeDigits_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QByteArray>("digits");
    QTest::newRow("zero") << 0 << QByteArray("000");
    QTest::newRow("one") << 1 << QByteArray("001");
    QTest::newRow("upper-case") << 0xABC << QByteArray("ABC");
    QTest::newRow("largest") << 4095 << QByteArray("FFF");
    QTest::newRow("4096 would need four digits") << 4096 << QByteArray("FFF");
    QTest::newRow("far too wide") << 100000 << QByteArray("FFF");
}

void TestClassFile::clampsWidthsToThreeDigits()
{
    QFETCH(int, width);
    QFETCH(QByteArray, digits);
    classfile::Widths widths = defaultWidths();
    widths[1] = width;
    const QByteArray written = classfile::write(ClassTable(), widths);
    QCOMPARE(written.size(), 95);
    QCOMPARE(written.mid(3, 3), digits);
    QCOMPARE(written.mid(6, 87), QByteArray("020").repeated(29));
}

void TestClassFile::lineBreaksStayOnTheirRecord_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<QString>("readBack");
    QTest::newRow("CR LF") << QStringLiteral("a\r\nb")
                           << QByteArray("022Ca\x0B"
                                         "b")
                           << QStringLiteral("a\r\nb");
    QTest::newRow("lone LF") << QStringLiteral("a\nb")
                             << QByteArray("022Ca\x0B"
                                           "b")
                             << QStringLiteral("a\r\nb");
    QTest::newRow("lone CR") << QStringLiteral("a\rb")
                             << QByteArray("022Ca\x0B"
                                           "b")
                             << QStringLiteral("a\r\nb");
    QTest::newRow("empty lines kept") << QStringLiteral("a\r\n\r\nb\r\n")
                                      << QByteArray("022Ca\x0B\x0B"
                                                    "b\x0B")
                                      << QStringLiteral("a\r\n\r\nb\r\n");
    QTest::newRow("only a break") << QStringLiteral("\r\n") << QByteArray("022C\x0B") << QStringLiteral("\r\n");
}

void TestClassFile::lineBreaksStayOnTheirRecord()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, record);
    QFETCH(QString, readBack);
    ClassTable table;
    table.at(1, 44) = text;
    table.at(1, 45) = QStringLiteral("p");
    const QByteArray written = classfile::write(table, defaultWidths());
    QCOMPARE(written, defaultHeader() + "\r\n" + record + "\r\n022Dp\r\n");

    ClassTable back;
    classfile::read(written, back);
    ClassTable expected;
    expected.at(1, 44) = readBack;
    expected.at(1, 45) = QStringLiteral("p");
    QVERIFY(back == expected);
}

void TestClassFile::readsRecords_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("text");
    const QByteArray h = defaultHeader() + "\r\n";
    QTest::newRow("upper-case") << h + "0221Dupont\r\n" << 1 << 33 << QStringLiteral("Dupont");
    QTest::newRow("lower-case digits") << h + "3f2d/p.jpg\r\n" << 62 << 45 << QStringLiteral("/p.jpg");
    QTest::newRow("mixed case") << h + "3F2dx\r\n" << 62 << 45 << QStringLiteral("x");
    QTest::newRow("heading row") << h + "001FHist\r\n" << -1 << 31 << QStringLiteral("Hist");
    QTest::newRow("slot 0 is read") << h + "0200zero\r\n" << 1 << 0 << QStringLiteral("zero");
    QTest::newRow("spare row 63") << h + "4030sixty-three\r\n" << 63 << 48 << QStringLiteral("sixty-three");
    QTest::newRow("spare row 64") << h + "4101sixty-four\r\n" << 64 << 1 << QStringLiteral("sixty-four");
    QTest::newRow("last one wins") << h + "0202first\r\n0202second\r\n" << 1 << 2 << QStringLiteral("second");
    QTest::newRow("out of order") << h + "3F2Dlast\r\n0002first\r\n0202mid\r\n" << -1 << 2 << QStringLiteral("first");
    QTest::newRow("empty text clears an earlier record") << h + "0202first\r\n0202\r\n" << 1 << 2 << QString();
    QTest::newRow("blanks kept") << h + "0202  7 \r\n" << 1 << 2 << QStringLiteral("  7 ");
    QTest::newRow("Windows-1252") << h + "0221\xC9lo\xEFse \x80\r\n"
                                  << 1 << 33 << QStringLiteral("\u00c9lo\u00efse \u20ac");
    QTest::newRow("no line end at the end") << h + "0221Martin" << 1 << 33 << QStringLiteral("Martin");
    QTest::newRow("LF line ends") << defaultHeader() + "\n0221Lefort\n0222Ana\n" << 1 << 33 << QStringLiteral("Lefort");
    QTest::newRow("CR line ends") << defaultHeader() + "\r0222Ana\r0221Lefort\r" << 1 << 33 << QStringLiteral("Lefort");
    QTest::newRow("long remark on one line") << h + "022C" + QByteArray(700, 'r') + "\r\n"
                                             << 1 << 44 << QString(700, QLatin1Char('r'));
    QTest::newRow("tab kept") << h + "0202a\tb\r\n" << 1 << 2 << QStringLiteral("a\tb");
}

void TestClassFile::readsRecords()
{
    QFETCH(QByteArray, file);
    QFETCH(int, row);
    QFETCH(int, slot);
    QFETCH(QString, text);
    ClassTable table;
    classfile::read(file, table);
    QCOMPARE(table.at(row, slot), text);
}

void TestClassFile::readsHeader_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QList<int>>("widths"); // columns 1 to 31, -1 where the file gives none
    const QList<int> none(31, -1);
    QList<int> all(31, 32);
    all[0] = 192;
    QTest::newRow("full header") << defaultHeader() + "\r\n" << all;
    QTest::newRow("lower-case") << QByteArray("0c0abc") + "\r\n" << (QList<int>{192, 0xABC} + QList<int>(29, -1));
    QTest::newRow("empty file") << QByteArray() << none;
    QTest::newRow("empty first line") << QByteArray("\r\n0221x\r\n") << none;
    QTest::newRow("two columns only") << QByteArray("0C0040\r\n") << (QList<int>{192, 64} + QList<int>(29, -1));
    QTest::newRow("two digits left read as a width")
        << QByteArray("0C004\r\n") << (QList<int>{192, 4} + QList<int>(29, -1));
    QTest::newRow("not hexadecimal leaves the column")
        << QByteArray("0C0xyz050\r\n") << (QList<int>{192, -1, 0x50} + QList<int>(28, -1));
    QTest::newRow("blank inside") << QByteArray("0C0 40050\r\n") << (QList<int>{192, -1, 0x50} + QList<int>(28, -1));
    QTest::newRow("longer than 93 characters") << defaultHeader() + "FFFFFF\r\n" << all;
    QTest::newRow("without line end") << QByteArray("010") << (QList<int>{16} + QList<int>(30, -1));
}

void TestClassFile::readsHeader()
{
    QFETCH(QByteArray, file);
    QFETCH(QList<int>, widths);
    ClassTable table;
    const classfile::Widths read = classfile::read(file, table);
    QCOMPARE(QList<int>(read.begin(), read.end()), widths);
}

void TestClassFile::skipsMalformedLinesWithoutTouchingOthers()
{
    const QByteArray file = defaultHeader() + "\r\n"
                                              "0202good\r\n"
                                              "\r\n"             // empty line
                                              "02\r\n"           // too short
                                              "020\r\n"          // too short
                                              "0G02bad\r\n"      // not hexadecimal
                                              "02 2bad\r\n"      // blank in the slot
                                              "-102bad\r\n"      // a sign is not a digit
                                              "4202row 65\r\n"   // row 65 is outside the table
                                              "FF02row 254\r\n"  // far outside
                                              "0231slot 49\r\n"  // slot 49 is outside
                                              "02FFslot 255\r\n" // far outside
                                              "Some junk line\r\n"
                                              "0203also good\r\n";
    ClassTable table;
    classfile::read(file, table);
    ClassTable expected;
    expected.at(1, 2) = QStringLiteral("good");
    expected.at(1, 3) = QStringLiteral("also good");
    QVERIFY(table == expected);
}

void TestClassFile::readsOverWhatTheTableHolds()
{
    ClassTable table;
    table.at(5, 33) = QStringLiteral("kept");
    table.at(1, 2) = QStringLiteral("replaced");
    classfile::read(defaultHeader() + "\r\n0202new\r\n", table);
    QCOMPARE(table.at(5, 33), QStringLiteral("kept"));
    QCOMPARE(table.at(1, 2), QStringLiteral("new"));
}

void TestClassFile::survivesHostileFiles_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("kept"); // the text of record 0202 that must survive, if any

    QByteArray binary;
    for (int i = 0; i < 4096; ++i)
        binary += char((i * 73 + 11) % 256);
    QTest::newRow("binary junk") << binary << QString();
    QTest::newRow("binary junk around a record")
        << binary + "\r\n0202survivor\r\n" + binary << QStringLiteral("survivor");
    // The start of a JPEG file renamed .prf.
    QTest::newRow("a photo") << QByteArray("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01\x01\x00\x00\x01", 16) + binary
                             << QString();
    QTest::newRow("a line of a megabyte") << QByteArray(1 << 20, 'A') + "\r\n0202survivor\r\n"
                                          << QStringLiteral("survivor");
    QTest::newRow("record of a megabyte")
        << defaultHeader() + "\r\n0202" + QByteArray(1 << 20, 'x') << QString(1 << 20, QLatin1Char('x'));
    QTest::newRow("NUL bytes") << defaultHeader() + "\r\n" + QByteArray("0202a\0b\r\n", 9)
                               << QString::fromLatin1("a\0b", 3);
    QTest::newRow("only line ends") << QByteArray("\r\n\r\n\n\r\r") << QString();
}

void TestClassFile::survivesHostileFiles()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, kept);
    ClassTable table;
    const classfile::Widths widths = classfile::read(file, table);
    QCOMPARE(table.at(1, 2), kept);
    for (int w : widths)
        QVERIFY(w >= classfile::NoWidth && w <= classfile::MaxWidth);
}

void TestClassFile::roundTripKeepsEveryText()
{
    ClassTable table;
    for (int r = ClassTable::FirstRow; r <= ClassTable::LastRow; ++r)
        for (int s = 1; s < ClassTable::SlotCount; ++s)
            table.at(r, s) = QStringLiteral("r%1s%2 \u00e0\u00e9\u00ee\u00f4\u00fb\u00e7 \u0152").arg(r).arg(s);
    table.at(7, 44) = QStringLiteral("one\r\ntwo\r\n\r\nfour");
    classfile::Widths widths;
    for (int c = 0; c < classfile::WidthCount; ++c)
        widths[c] = c * 100;
    ClassTable back;
    const classfile::Widths readWidths = classfile::read(classfile::write(table, widths), back);
    QVERIFY(back == table);
    QCOMPARE(readWidths, widths);
}

void TestClassFile::equalShortTextsShareOneCopy()
{
    // A class's marks repeat a few values: each is held once, however many students have it.
    ClassTable table;
    classfile::read(defaultHeader() + "\r\n0202 12\r\n0302 12\r\n0303 12,5\r\n0402a\vb\r\n0403a\vb\r\n0502 12\r\n0503\r\n",
                    table);
    QCOMPARE(table.at(2, 2), QStringLiteral(" 12"));
    QVERIFY(table.at(2, 2).isSharedWith(table.at(1, 2)));
    QVERIFY(table.at(4, 2).isSharedWith(table.at(1, 2)));
    QCOMPARE(table.at(2, 3), QStringLiteral(" 12,5"));
    QCOMPARE(table.at(3, 2), QStringLiteral("a\r\nb"));
    QVERIFY(table.at(3, 3).isSharedWith(table.at(3, 2)));
    QVERIFY(table.at(4, 3).isEmpty());
}

QTEST_APPLESS_MAIN(TestClassFile)
#include "TestClassFile.moc"
