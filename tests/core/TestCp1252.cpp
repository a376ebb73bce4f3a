#include "core/Cp1252.h"

#include <QTest>

class TestCp1252 : public QObject
{
    Q_OBJECT

private slots:
    void highBytes_data();
    void highBytes();
    void everyByteRoundTrips();
    void unmappableBecomesQuestionMark();
};

void TestCp1252::highBytes_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("unicode");
    // The characters that differ from Latin-1, and the five undefined bytes kept as C1 controls.
    const int table[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                           0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                           0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    for (int b = 0x80; b <= 0xFF; ++b) {
        const int u = b < 0xA0 ? table[b - 0x80] : b;
        QTest::addRow("0x%02X", b) << b << u;
    }
}

void TestCp1252::highBytes()
{
    QFETCH(int, byte);
    QFETCH(int, unicode);
    const QString decoded = cp1252::decode(QByteArray(1, char(byte)));
    QCOMPARE(decoded.size(), 1);
    QCOMPARE(int(decoded[0].unicode()), unicode);
    QCOMPARE(cp1252::encode(decoded), QByteArray(1, char(byte)));
}

void TestCp1252::everyByteRoundTrips()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    QCOMPARE(cp1252::encode(cp1252::decode(all)), all);
    QCOMPARE(cp1252::decode("\xC9l\xE8ve \x80"), QStringLiteral("Élève €"));
}

void TestCp1252::unmappableBecomesQuestionMark()
{
    QCOMPARE(cp1252::encode(QStringLiteral("a\u0101b\u4E2D")), QByteArray("a?b?"));
    QVERIFY(!cp1252::canEncode(QChar(0x0101)));
    QVERIFY(cp1252::canEncode(QChar(0x20AC)));
}

QTEST_APPLESS_MAIN(TestCp1252)
#include "TestCp1252.moc"
