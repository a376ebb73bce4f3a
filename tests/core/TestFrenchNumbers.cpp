#include "core/FrenchNumbers.h"

#include <QRandomGenerator>
#include <QTest>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>

class TestFrenchNumbers : public QObject
{
    Q_OBJECT

private slots:
    void read_data();
    void read();
    void hash00_data();
    void hash00();
    void zero00_data();
    void zero00();
    void general15_data();
    void general15();
    void roundHalfEven_data();
    void roundHalfEven();
    void plainFormsAsTheCLibrary();
};

void TestFrenchNumbers::read_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("value");
    QTest::newRow("integer") << "12" << true << 12.0;
    QTest::newRow("comma") << "12,5" << true << 12.5;
    QTest::newRow("blanks both ends") << "  12,5  " << true << 12.5;
    QTest::newRow("leading comma") << ",5" << true << 0.5;
    QTest::newRow("trailing comma") << "7," << true << 7.0;
    QTest::newRow("negative") << "-3,25" << true << -3.25;
    QTest::newRow("plus") << "+4" << true << 4.0;
    QTest::newRow("exponent") << "1,5E3" << true << 1500.0;
    QTest::newRow("lower exponent") << "2e-2" << true << 0.02;
    QTest::newRow("full stop") << "12.5" << false << 0.0;
    QTest::newRow("two commas") << "1,2,3" << false << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("blank") << "   " << false << 0.0;
    QTest::newRow("comma only") << "," << false << 0.0;
    QTest::newRow("sign only") << "-" << false << 0.0;
    QTest::newRow("word") << "abs" << false << 0.0;
    QTest::newRow("text after") << "2e trimestre" << false << 0.0;
    QTest::newRow("exponent without digits") << "3E" << false << 0.0;
    QTest::newRow("inner blank") << "1 2" << false << 0.0;
    QTest::newRow("tab is not a blank") << "\t5" << false << 0.0;
    QTest::newRow("overflow") << "1E5000" << false << 0.0;
    QTest::newRow("arabic digit") << QString::fromUtf8("\u0663") << false << 0.0;
}

void TestFrenchNumbers::read()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(double, value);
    const auto result = frnum::read(text);
    QCOMPARE(result.has_value(), ok);
    if (ok)
        QCOMPARE(*result, value);
    QCOMPARE(frnum::readExtended(text).has_value(), ok);
}

void TestFrenchNumbers::hash00_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("8") << 8.0 << "8,00";
    QTest::newRow("12.5") << 12.5 << "12,50";
    QTest::newRow("0.5") << 0.5 << ",50";
    QTest::newRow("0") << 0.0 << ",00";
    QTest::newRow("rounds half away") << 0.125 << ",13";
    QTest::newRow("2.675 on 15 digits") << 2.675 << "2,68";
    QTest::newRow("carry") << 9.999 << "10,00";
    QTest::newRow("negative") << -3.5 << "-3,50";
    QTest::newRow("negative zero after rounding") << -0.001 << ",00";
    QTest::newRow("large") << 123456789.0 << "123456789,00";
    QTest::newRow("tiny") << 1e-10 << ",00";
}

void TestFrenchNumbers::hash00()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(frnum::formatHash00(value), text);
}

void TestFrenchNumbers::zero00_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("0.5") << 0.5 << "0,50";
    QTest::newRow("0") << 0.0 << "0,00";
    QTest::newRow("0.9") << 0.9 << "0,90";
    QTest::newRow("9") << 9.0 << "9,00";
    QTest::newRow("12.345") << 12.345 << "12,35";
    QTest::newRow("13.333") << 40.0 / 3.0 << "13,33";
}

void TestFrenchNumbers::zero00()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(frnum::format00(value), text);
}

void TestFrenchNumbers::general15_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("integer") << 656.0 << "656";
    QTest::newRow("quarter") << 0.25 << "0,25";
    QTest::newRow("third") << 1.0 / 3.0 << "0,333333333333333";
    QTest::newRow("cents") << 15.24 << "15,24";
    QTest::newRow("rate") << 6.55957 << "6,55957";
    QTest::newRow("negative") << -2.5 << "-2,5";
    QTest::newRow("small fixed") << 0.00001 << "0,00001";
    QTest::newRow("below 0.00001") << 0.000001 << "1E-6";
    QTest::newRow("below with decimals") << 0.0000015 << "1,5E-6";
    QTest::newRow("15 integer digits") << 123456789012345.0 << "123456789012345";
    QTest::newRow("16 integer digits") << 1.5e20 << "1,5E20";
    QTest::newRow("1e16") << 1e16 << "1E16";
    QTest::newRow("root of 2") << std::sqrt(2.0) << "1,4142135623731";
}

void TestFrenchNumbers::general15()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(frnum::general15(value), text);
}

void TestFrenchNumbers::roundHalfEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("rounded");
    QTest::newRow("10.5") << 10.5 << 10.0;
    QTest::newRow("11.5") << 11.5 << 12.0;
    QTest::newRow("60.5") << 60.5 << 60.0;
    QTest::newRow("2.4") << 2.4 << 2.0;
    QTest::newRow("-0.5") << -0.5 << 0.0;
    QTest::newRow("-1.5") << -1.5 << -2.0;
}

void TestFrenchNumbers::roundHalfEven()
{
    QFETCH(double, value);
    QFETCH(double, rounded);
    QCOMPARE(double(frnum::roundHalfEven(value)), rounded);
}

QTEST_APPLESS_MAIN(TestFrenchNumbers)
#include "TestFrenchNumbers.moc"

// Numbers as a teacher types them, and longer ones around the limits of the short ways (15 significant
// digits, 22 decimals, 13 digits before the comma): read as the C library reads them, and shown in the
// form "#.00" as the general formatter shows the C library's value.
void TestFrenchNumbers::plainFormsAsTheCLibrary()
{
    std::setlocale(LC_NUMERIC, "C");
    QRandomGenerator random(1890);
    int plainShown = 0;
    for (int i = 0; i < 100000; ++i) {
        const auto digits = [&](int n) {
            QString out;
            for (int k = 0; k < n; ++k)
                out += QChar(u'0' + random.bounded(10));
            return out;
        };
        const QString sign = random.bounded(4) == 0 ? QStringLiteral("-") : QString();
        const QString whole = QString(random.bounded(3), u'0') + digits(random.bounded(18));
        const bool comma = random.bounded(3) != 0;
        const QString decimals = comma ? digits(random.bounded(25)) : QString();
        const QString number = whole + (comma ? QStringLiteral(",") : QString()) + decimals;
        const QString text = QString(random.bounded(2), u' ') + sign + number + QString(random.bounded(2), u' ');
        const std::optional<double> read = frnum::read(text);
        if (whole.isEmpty() && decimals.isEmpty()) {
            QVERIFY2(!read, qPrintable(text));
            continue;
        }
        const QByteArray c = (sign + whole + QStringLiteral(".") + decimals).toLatin1();
        const double expected = std::strtod(c.constData(), nullptr);
        QVERIFY2(read && std::memcmp(&*read, &expected, sizeof expected) == 0, qPrintable(text));
        const QString plain = frnum::plainHash00(number);
        if (!plain.isEmpty() && !whole.isEmpty()) {
            QCOMPARE(plain, frnum::formatHash00(std::fabs(expected)));
            ++plainShown;
        }
    }
    QVERIFY(plainShown > 10000);
}
