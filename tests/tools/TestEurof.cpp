#include "FakeSeams.h"
#include "app/MainForm.h"
#include "app/ToolWindows.h"
#include "tools/Eurof.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

// Drives the converter through its buttons, keys and arrows.
class TestEurof : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void conversions_data();
    void conversions();
    void buttonsConvert();
    void failuresEmptyBothDisplays_data();
    void failuresEmptyBothDisplays();
    void entryAfterConversionStartsAfresh_data();
    void entryAfterConversionStartsAfresh();
    void secondEqualsConvertsAgain();
    void rateArrows();
    void rateNeverBelowOne();
    void rateIsUsedAtNextConversion();
    void directionChangeDoesNotConvert();
    void reopeningKeepsDisplaysButClearsFlag();
    void escapeCloses();
    void layout();
    void menuShowsConverter();

private:
    void typeKeys(const QString& keys);
    void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    QString input() const { return m_eurof->Label1->text(); }
    QString result() const { return m_eurof->Label2->text(); }

    FakeSeams* m_fake = nullptr;
    TEurof* m_eurof = nullptr;
};

void TestEurof::init()
{
    m_fake = new FakeSeams;
    m_eurof = new TEurof;
    m_eurof->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_eurof));
}

void TestEurof::cleanup()
{
    delete m_eurof;
    delete m_fake;
}

void TestEurof::typeKeys(const QString& keys)
{
    for (QChar c : keys) {
        QWidget* target = m_eurof->focusWidget() ? m_eurof->focusWidget() : m_eurof;
        if (c == QLatin1Char('\r'))
            QTest::keyClick(target, Qt::Key_Return);
        else if (c == QLatin1Char('\b'))
            QTest::keyClick(target, Qt::Key_Backspace);
        else
            QTest::keyClick(target, c.toLatin1());
    }
}

void TestEurof::conversions_data()
{
    QTest::addColumn<bool>("francs");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("converted");

    QTest::newRow("100 F") << true << "100"
                           << "15,24";
    QTest::newRow("1000 F") << true << "1000"
                            << "152,45";
    QTest::newRow("10 F") << true << "10"
                          << "1,52";
    QTest::newRow("6,55957 F is one euro") << true << "6,55957"
                                           << "1";
    QTest::newRow("0,03 F rounds to 0") << true << "0,03"
                                        << "0";
    QTest::newRow("0,04 F is a cent") << true << "0,04"
                                      << "0,01";
    QTest::newRow("full stop typed") << true << "1.5"
                                     << "0,23";
    QTest::newRow("within 32 bits") << true << "140000000"
                                    << "21342862,41";
    QTest::newRow("10 EUR") << false << "10"
                            << "65,6";
    QTest::newRow("1 EUR") << false << "1"
                           << "6,6";
    QTest::newRow("100 EUR") << false << "100"
                             << "656";
    QTest::newRow("10000 EUR") << false << "10000"
                               << "65595,7";
    QTest::newRow("0,01 EUR") << false << "0,01"
                              << "0,1";
    QTest::newRow("0,001 EUR") << false << "0,001"
                               << "0";
    QTest::newRow("EUR within 32 bits") << false << "30000000"
                                        << "196787100";
}

void TestEurof::conversions()
{
    QFETCH(bool, francs);
    QFETCH(QString, amount);
    QFETCH(QString, converted);
    click(francs ? m_eurof->RadioButton1 : m_eurof->RadioButton2);
    typeKeys(amount + QLatin1Char('\r'));
    QCOMPARE(input(), QString(amount).replace(QLatin1Char('.'), QLatin1Char(',')));
    QCOMPARE(result(), converted);
    QVERIFY(m_eurof->engine().isConverted());
    QVERIFY(m_fake->messages.isEmpty());
}

void TestEurof::buttonsConvert()
{
    for (QPushButton* b : {m_eurof->Button1, m_eurof->Button0, m_eurof->Button0})
        click(b);
    QCOMPARE(input(), QStringLiteral("100"));
    QCOMPARE(result(), QString());
    click(m_eurof->Button11);
    QCOMPARE(result(), QStringLiteral("15,24"));
    // The keypad never takes the focus from "=", so Enter keeps converting.
    QCOMPARE(m_eurof->focusWidget(), m_eurof->Button11);
    click(m_eurof->RadioButton2);
    for (QPushButton* b : {m_eurof->Button2, m_eurof->Button12, m_eurof->Button5})
        click(b);
    QCOMPARE(input(), QStringLiteral("2,5"));
    QCOMPARE(result(), QString());
    // Enter converts while a direction button has the focus too.
    QCOMPARE(m_eurof->focusWidget(), m_eurof->RadioButton2);
    QTest::keyClick(m_eurof->focusWidget(), Qt::Key_Enter);
    QCOMPARE(result(), QStringLiteral("16,4"));
}

void TestEurof::failuresEmptyBothDisplays_data()
{
    QTest::addColumn<bool>("francs");
    QTest::addColumn<QString>("keys");
    QTest::newRow("empty input") << true << "\r";
    QTest::newRow("two commas") << true << "1,2,3\r";
    QTest::newRow("comma alone") << false << ",\r";
    QTest::newRow("cents beyond 32 bits") << true << "200000000\r";
    QTest::newRow("tenths beyond 32 bits") << false << "40000000\r";
    QTest::newRow("beyond the 6-byte range") << true << "1" + QString(39, QLatin1Char('0')) + "\r";
    QTest::newRow("5000 digits") << true << QString(5000, QLatin1Char('9')) + "\r";
    QTest::newRow("after a good conversion") << true << "100\r,\r";
}

void TestEurof::failuresEmptyBothDisplays()
{
    QFETCH(bool, francs);
    QFETCH(QString, keys);
    click(francs ? m_eurof->RadioButton1 : m_eurof->RadioButton2);
    typeKeys(keys);
    QCOMPARE(input(), QString());
    QCOMPARE(result(), QString());
    QVERIFY(!m_eurof->engine().isConverted());
    QVERIFY(m_fake->messages.isEmpty());
    // The next amount starts afresh.
    typeKeys(QStringLiteral("7"));
    QCOMPARE(input(), QStringLiteral("7"));
}

void TestEurof::entryAfterConversionStartsAfresh_data()
{
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("shown");
    QTest::newRow("digit key") << "5"
                               << "5";
    QTest::newRow("comma key") << ","
                               << ",";
    QTest::newRow("full stop key") << "."
                                   << ",";
    QTest::newRow("other key") << "a"
                               << "";
    QTest::newRow("backspace") << "\b"
                               << "";
}

void TestEurof::entryAfterConversionStartsAfresh()
{
    QFETCH(QString, after);
    QFETCH(QString, shown);
    typeKeys(QStringLiteral("100\r"));
    QCOMPARE(result(), QStringLiteral("15,24"));
    typeKeys(after);
    QCOMPARE(input(), shown);
    QCOMPARE(result(), QString());
}

void TestEurof::secondEqualsConvertsAgain()
{
    typeKeys(QStringLiteral("1000"));
    click(m_eurof->Button11);
    click(m_eurof->Button11);
    QCOMPARE(input(), QStringLiteral("1000"));
    QCOMPARE(result(), QStringLiteral("152,45"));
    // A digit button after a conversion empties both displays too.
    click(m_eurof->Button5);
    QCOMPARE(input(), QStringLiteral("5"));
    QCOMPARE(result(), QString());
}

void TestEurof::rateArrows()
{
    QCOMPARE(m_eurof->Edit3->text(), QStringLiteral("6,55957"));
    click(m_eurof->SpinButton1Up);
    QCOMPARE(m_eurof->Edit3->text(), QStringLiteral("6,55958"));
    QCOMPARE(m_eurof->engine().rate().value(), 655958.0L);
    // One step up still gives 15,24 for 100 francs.
    typeKeys(QStringLiteral("100\r"));
    QCOMPARE(result(), QStringLiteral("15,24"));
    click(m_eurof->SpinButton1Down);
    click(m_eurof->SpinButton1Down);
    QCOMPARE(m_eurof->Edit3->text(), QStringLiteral("6,55956"));
    // Held down, an arrow repeats after 400 ms, then every 100 ms.
    QVERIFY(m_eurof->SpinButton1Up->autoRepeat());
    QCOMPARE(m_eurof->SpinButton1Up->autoRepeatDelay(), 400);
    QCOMPARE(m_eurof->SpinButton1Down->autoRepeatInterval(), 100);
}

void TestEurof::rateNeverBelowOne()
{
    m_eurof->engine().setRate(2);
    click(m_eurof->SpinButton1Down);
    QCOMPARE(m_eurof->Edit3->text(), QStringLiteral("0,00001"));
    click(m_eurof->SpinButton1Down);
    QCOMPARE(m_eurof->Edit3->text(), QStringLiteral("0,00001"));
    QCOMPARE(m_eurof->engine().rate().value(), 1.0L);
    click(m_eurof->SpinButton1Up);
    QCOMPARE(m_eurof->Edit3->text(), QStringLiteral("0,00002"));
}

void TestEurof::rateIsUsedAtNextConversion()
{
    click(m_eurof->RadioButton2);
    typeKeys(QStringLiteral("10000\r"));
    QCOMPARE(result(), QStringLiteral("65595,7"));
    click(m_eurof->SpinButton1Up);
    // Changing the rate does not convert again.
    QCOMPARE(result(), QStringLiteral("65595,7"));
    click(m_eurof->Button11);
    QCOMPARE(result(), QStringLiteral("65595,8"));
}

void TestEurof::directionChangeDoesNotConvert()
{
    typeKeys(QStringLiteral("10\r"));
    QCOMPARE(result(), QStringLiteral("1,52"));
    click(m_eurof->RadioButton2);
    QVERIFY(!m_eurof->RadioButton1->isChecked());
    QCOMPARE(result(), QStringLiteral("1,52"));
    click(m_eurof->Button11);
    QCOMPARE(result(), QStringLiteral("65,6"));
}

void TestEurof::reopeningKeepsDisplaysButClearsFlag()
{
    typeKeys(QStringLiteral("100\r"));
    click(m_eurof->Button10);
    QVERIFY(!m_eurof->isVisible());
    QString seenInput, seenResult;
    m_fake->onModal = [&](QDialog* d) {
        d->show();
        seenInput = input();
        seenResult = result();
        typeKeys(QStringLiteral("5"));
        d->close();
        return 0;
    };
    seams().execModal(m_eurof);
    QCOMPARE(seenInput, QStringLiteral("100"));
    QCOMPARE(seenResult, QStringLiteral("15,24"));
    QCOMPARE(input(), QStringLiteral("1005"));
    QCOMPARE(result(), QStringLiteral("15,24"));
    QCOMPARE(m_eurof->focusWidget(), m_eurof->Button11);
}

void TestEurof::escapeCloses()
{
    typeKeys(QStringLiteral("12"));
    QSignalSpy rejected(m_eurof, &QDialog::rejected);
    QTest::keyClick(m_eurof->focusWidget(), Qt::Key_Escape);
    QCOMPARE(rejected.count(), 1);
    QVERIFY(!m_eurof->isVisible());
    QCOMPARE(input(), QStringLiteral("12"));
}

void TestEurof::layout()
{
    QCOMPARE(m_eurof->windowTitle(), QStringLiteral("Euro convertisseur"));
    QCOMPARE(m_eurof->size(), QSize(260, 273));
    QCOMPARE(m_eurof->palette().color(QPalette::Window), QColor(0, 0, 128));
    QCOMPARE(m_eurof->Panel1->geometry(), QRect(14, 10, 230, 27));
    QCOMPARE(m_eurof->Panel2->geometry(), QRect(14, 46, 230, 28));
    QCOMPARE(m_eurof->Panel1->palette().color(QPalette::Window), QColor(0, 128, 128));
    QCOMPARE(m_eurof->Label1->palette().color(QPalette::WindowText), QColor(Qt::white));
    QCOMPARE(m_eurof->Button9->geometry(), QRect(104, 89, 34, 33));
    QCOMPARE(m_eurof->Button12->geometry(), QRect(56, 233, 34, 33));
    QCOMPARE(m_eurof->Button12->text(), QStringLiteral(","));
    QCOMPARE(m_eurof->Button10->geometry(), QRect(164, 233, 82, 33));
    QCOMPARE(m_eurof->Button10->text(), QStringLiteral("Fermer"));
    QCOMPARE(m_eurof->RadioButton1->text(), QStringLiteral("Fr>Euro"));
    QCOMPARE(m_eurof->RadioButton2->text(), QStringLiteral("Euro>Fr"));
    QVERIFY(m_eurof->RadioButton1->isChecked());
    QCOMPARE(m_eurof->RadioGroup1->geometry(), QRect(153, 88, 96, 65));
    QCOMPARE(m_eurof->Edit3->geometry(), QRect(152, 186, 73, 28));
    QVERIFY(m_eurof->Edit3->isReadOnly());
    QCOMPARE(m_eurof->SpinButton1->geometry(), QRect(224, 188, 20, 25));
    // Only "=" and the direction take the focus from the keyboard.
    for (QWidget* w : std::initializer_list<QWidget*>{m_eurof->Button0, m_eurof->Button12, m_eurof->Button10,
                                                      m_eurof->Edit3, m_eurof->SpinButton1Up})
        QCOMPARE(w->focusPolicy(), Qt::NoFocus);
}

void TestEurof::menuShowsConverter()
{
    TMainForm frame;
    TEurof* eurof = frame.toolWindows().eurof();
    QStringList seen;
    QStringList typed{"100", "0"};
    m_fake->onModal = [&](QDialog* d) {
        d->show();
        seen << eurof->Label1->text() << eurof->Label2->text();
        QTest::keyClicks(eurof->focusWidget(), typed.takeFirst());
        QTest::keyClick(eurof->focusWidget(), Qt::Key_Return);
        seen << eurof->Label2->text();
        QTest::keyClick(eurof->focusWidget(), Qt::Key_Escape);
        return d->result();
    };
    frame.Euroconversion1Click();
    frame.Euroconversion1Click();
    QCOMPARE(m_fake->modalShown, (QList<QDialog*>{eurof, eurof}));
    // The second showing keeps the displays but not the converted flag: "100" is extended.
    QCOMPARE(seen, (QStringList{"", "", "15,24", "100", "15,24", "152,45"}));
}

QTEST_MAIN(TestEurof)
#include "TestEurof.moc"
