#include "core/FrenchNumbers.h"
#include "tools/Real48.h"

#include <QTest>
#include <cmath>
#include <limits>

Q_DECLARE_METATYPE(Real48::Bytes)

namespace {

long double p2(int e)
{
    return std::ldexp(1.0L, e);
}

Real48::Bytes b(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3, std::uint8_t b4, std::uint8_t b5)
{
    return {b0, b1, b2, b3, b4, b5};
}

QString hex(const Real48::Bytes& bytes)
{
    QStringList parts;
    for (auto x : bytes)
        parts << QStringLiteral("%1").arg(x, 2, 16, QLatin1Char('0')).toUpper();
    return parts.join(QLatin1Char(' '));
}

} // namespace

class TestReal48 : public QObject
{
    Q_OBJECT

private slots:
    void storesBitPattern_data();
    void storesBitPattern();
    void overflows_data();
    void overflows();
    void notANumberIsInvalid();
    void valueIsExact();
    void bytesRoundTrip();
    void displayText_data();
    void displayText();
    void displayTextReadsBack_data();
    void displayTextReadsBack();
};

void TestReal48::storesBitPattern_data()
{
    QTest::addColumn<long double>("value");
    QTest::addColumn<Real48::Bytes>("bytes");

    // Worked by hand: byte 0 = exponent + 129, then the 39 fraction bits lowest byte first, sign on top.
    QTest::newRow("0") << 0.0L << b(0, 0, 0, 0, 0, 0);
    QTest::newRow("1") << 1.0L << b(0x81, 0, 0, 0, 0, 0);
    QTest::newRow("-1") << -1.0L << b(0x81, 0, 0, 0, 0, 0x80);
    QTest::newRow("2") << 2.0L << b(0x82, 0, 0, 0, 0, 0);
    QTest::newRow("0,5") << 0.5L << b(0x80, 0, 0, 0, 0, 0);
    QTest::newRow("10") << 10.0L << b(0x84, 0, 0, 0, 0, 0x20);
    // 0,1 = 1,6 x 2^-4; 0,6 x 2^39 = 0x4CCCCCCCCC,CC.. rounds up.
    QTest::newRow("0,1") << *frnum::readExtended(QStringLiteral("0,1")) << b(0x7D, 0xCD, 0xCC, 0xCC, 0xCC, 0x4C);
    QTest::newRow("-0,1") << -0.1L << b(0x7D, 0xCD, 0xCC, 0xCC, 0xCC, 0xCC);
    // 1/3 = 1,333.. x 2^-2; 0,333.. x 2^39 = 0x2AAAAAAAAA,AA.. rounds up.
    QTest::newRow("1/3") << 1.0L / 3.0L << b(0x7F, 0xAB, 0xAA, 0xAA, 0xAA, 0x2A);
    // 2/3 = 1,333.. x 2^-1.
    QTest::newRow("2/3") << 2.0L / 3.0L << b(0x80, 0xAB, 0xAA, 0xAA, 0xAA, 0x2A);
    // The converter's rate 655957 = 0xA0255 = 2^19 x 1,0100000001001010101b.
    QTest::newRow("655957") << 655957.0L << b(0x94, 0x00, 0x00, 0x50, 0x25, 0x20);
    QTest::newRow("largest") << Real48::largest() << b(0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F);
    QTest::newRow("-largest") << -Real48::largest() << b(0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF);
    QTest::newRow("smallest") << p2(-128) << b(0x01, 0, 0, 0, 0, 0);
    QTest::newRow("-smallest") << -p2(-128) << b(0x01, 0, 0, 0, 0, 0x80);

    // Ties go away from zero, where ties to even would go the other way.
    QTest::newRow("tie 1+2^-40 up") << 1.0L + p2(-40) << b(0x81, 0x01, 0, 0, 0, 0);
    QTest::newRow("tie -(1+2^-40) away") << -(1.0L + p2(-40)) << b(0x81, 0x01, 0, 0, 0, 0x80);
    QTest::newRow("tie 1+5x2^-40 to 3") << 1.0L + 5 * p2(-40) << b(0x81, 0x03, 0, 0, 0, 0);
    QTest::newRow("below tie") << 1.0L + p2(-40) - p2(-63) << b(0x81, 0, 0, 0, 0, 0);
    QTest::newRow("above tie") << 1.0L + p2(-40) + p2(-63) << b(0x81, 0x01, 0, 0, 0, 0);
    QTest::newRow("carry into exponent") << 2.0L - p2(-41) << b(0x82, 0, 0, 0, 0, 0);
    QTest::newRow("largest plus less than half")
        << Real48::largest() + p2(86) - p2(63) << b(0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F);

    // Below 2^-128 the value is stored as 0, sign and all.
    QTest::newRow("just below smallest") << p2(-128) - p2(-192) << b(0, 0, 0, 0, 0, 0);
    QTest::newRow("2^-129") << p2(-129) << b(0, 0, 0, 0, 0, 0);
    QTest::newRow("-1E-40") << -1e-40L << b(0, 0, 0, 0, 0, 0);
    QTest::newRow("-0") << -0.0L << b(0, 0, 0, 0, 0, 0);
}

void TestReal48::storesBitPattern()
{
    QFETCH(long double, value);
    QFETCH(Real48::Bytes, bytes);
    QCOMPARE(hex(Real48::store(value).bytes()), hex(bytes));
}

void TestReal48::overflows_data()
{
    QTest::addColumn<long double>("value");
    QTest::newRow("2^127") << p2(127);
    QTest::newRow("-2^127") << -p2(127);
    // Half a unit above the largest rounds away from zero, to 2^127.
    QTest::newRow("largest plus half") << Real48::largest() + p2(86);
    QTest::newRow("1E39") << 1e39L;
    QTest::newRow("1E4000") << 1e4000L;
    QTest::newRow("infinity") << std::numeric_limits<long double>::infinity();
    QTest::newRow("-infinity") << -std::numeric_limits<long double>::infinity();
}

void TestReal48::overflows()
{
    QFETCH(long double, value);
    try {
        Real48::store(value);
        QFAIL("no overflow raised");
    } catch (const PlatformError& e) {
        QCOMPARE(e.message(), QStringLiteral("Débordement flottant"));
    }
}

void TestReal48::notANumberIsInvalid()
{
    try {
        Real48::store(std::numeric_limits<long double>::quiet_NaN());
        QFAIL("no error raised");
    } catch (const PlatformError& e) {
        QCOMPARE(e.message(), QStringLiteral("Opération flottante incorrecte"));
    }
}

void TestReal48::valueIsExact()
{
    // 0,1 is held as 0xCCCCCCCCCD x 2^-43.
    QCOMPARE(Real48::store(0.1L).value(), std::ldexp(static_cast<long double>(0xCCCCCCCCCDull), -43));
    QCOMPARE(Real48::store(-0.1L).value(), -std::ldexp(static_cast<long double>(0xCCCCCCCCCDull), -43));
    QCOMPARE(Real48::store(655957).value(), 655957.0L);
    QCOMPARE(Real48::largest(), p2(127) - p2(87));
    QCOMPARE(Real48().value(), 0.0L);
    QVERIFY(Real48().isZero());
    QVERIFY(!Real48::store(p2(-128)).isZero());
}

void TestReal48::bytesRoundTrip()
{
    const Real48::Bytes patterns[] = {b(0x7D, 0xCD, 0xCC, 0xCC, 0xCC, 0x4C), b(0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF),
                                      b(0x01, 0, 0, 0, 0, 0x80), b(0x94, 0x00, 0x00, 0x50, 0x25, 0x20)};
    for (const auto& p : patterns) {
        const Real48 r = Real48::fromBytes(p);
        QCOMPARE(hex(r.bytes()), hex(p));
        QCOMPARE(hex(Real48::store(r.value()).bytes()), hex(p));
    }
    // An exponent byte of 0 is the value 0, whatever the other bytes hold.
    QCOMPARE(Real48::fromBytes(b(0, 0x12, 0x34, 0, 0, 0x80)).value(), 0.0L);
    QCOMPARE(hex(Real48::fromBytes(b(0, 0x12, 0x34, 0, 0, 0x80)).bytes()), hex(b(0, 0, 0, 0, 0, 0)));
}

void TestReal48::displayText_data()
{
    QTest::addColumn<long double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0.0L << "0";
    QTest::newRow("0,1") << 0.1L << "0,1";
    QTest::newRow("0,25") << 0.25L << "0,25";
    QTest::newRow("1/3") << 1.0L / 3 << "0,333333333333";
    QTest::newRow("2/3") << 2.0L / 3 << "0,666666666667";
    QTest::newRow("5") << 5.0L << "5";
    QTest::newRow("-5") << -5.0L << "-5";
    QTest::newRow("5,5") << 5.5L << "5,5";
    QTest::newRow("0,3 from 0,1+0,2") << 0.1L + 0.2L << "0,3";
    QTest::newRow("12 digits") << 123456789012.0L << "123456789012";
    QTest::newRow("13 digits") << 1234567890123.0L << "1,23456789012E12";
    QTest::newRow("1E15") << 1e15L << "1E15";
    QTest::newRow("1,5E20") << 1.5e20L << "1,5E20";
    QTest::newRow("0,0001") << 0.0001L << "0,0001";
    QTest::newRow("-2,5E-7") << -2.5e-7L << "-2,5E-7";
    QTest::newRow("largest") << Real48::largest() << "1,7014118346E38";
    QTest::newRow("smallest") << p2(-128) << "2,93873587706E-39";
    QTest::newRow("rounds to 10") << 9.9999999999999L << "10";
    // Held just below the power of ten, yet shown as typed.
    QTest::newRow("1E-6 from below") << 1e-6L << "1E-6";
    QTest::newRow("0,7") << 0.7L << "0,7";
    QTest::newRow("99999999999,9") << 99999999999.9L << "99999999999,9";
    QTest::newRow("100 not 1E2") << 100.0L << "100";
    QTest::newRow("25 not 3E1") << 25.0L << "25";
    QTest::newRow("11 digits") << 12345678901.0L << "12345678901";
    // 0,00001 is held just below, hence the scientific form.
    QTest::newRow("-1E-5") << -0.00001L << "-1E-5";
}

void TestReal48::displayText()
{
    QFETCH(long double, value);
    QFETCH(QString, text);
    QCOMPARE(Real48::store(value).displayText(), text);
}

void TestReal48::displayTextReadsBack_data()
{
    QTest::addColumn<long double>("value");
    QTest::newRow("largest") << Real48::largest();
    QTest::newRow("-largest") << -Real48::largest();
    QTest::newRow("smallest") << p2(-128);
    QTest::newRow("1/7") << 1.0L / 7;
    QTest::newRow("pi x 1E30") << 3.14159265358979323846L * 1e30L;
    QTest::newRow("-1/3 x 1E-20") << -1e-20L / 3;
}

void TestReal48::displayTextReadsBack()
{
    QFETCH(long double, value);
    const Real48 stored = Real48::store(value);
    const auto back = frnum::readExtended(stored.displayText());
    QVERIFY2(back.has_value(), qPrintable(stored.displayText()));
    // Read back and stored again, it is the same value to about 12 digits and never out of range.
    const Real48 again = Real48::store(*back);
    QVERIFY(std::fabs(again.value() - stored.value()) <= std::fabs(stored.value()) * 1e-11L);
}

QTEST_APPLESS_MAIN(TestReal48)
#include "TestReal48.moc"
