#include "FakeSeams.h"
#include "app/MainForm.h"
#include "app/ToolWindows.h"
#include "tools/Pocket.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

// Drives the calculator as a user does: keys typed on the focused control, clicks on the buttons.
class TestPocket : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void typedKeys_data();
    void typedKeys();
    void failures_data();
    void failures();
    void mouseClicks();
    void operatorOnEmptyDisplayBecomesPending();
    void failedOperandKeepsPendingOperator();
    void overflowKeepsAccumulator();
    void reciprocalOverflowKeepsRunningValue();
    void clearKeepsFreshEntry();
    void enterOnEqualsEvaluates();
    void keysWorkAfterClickOnReciprocal();
    void escapeCloses();
    void layout();
    void showingClears();
    void menuShowsClearedCalculator();

private:
    void type(const QString& keys);
    QString display() const { return m_pocket->Label1->text(); }

    FakeSeams* m_fake = nullptr;
    TPocket* m_pocket = nullptr;
};

void TestPocket::init()
{
    m_fake = new FakeSeams;
    m_pocket = new TPocket;
    m_pocket->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_pocket));
}

void TestPocket::cleanup()
{
    delete m_pocket;
    delete m_fake;
}

void TestPocket::type(const QString& keys)
{
    for (QChar c : keys) {
        QWidget* target = m_pocket->focusWidget() ? m_pocket->focusWidget() : m_pocket;
        QTest::keyClick(target, c.toLatin1());
    }
}

void TestPocket::typedKeys_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("shown");

    QTest::newRow("2+3=") << "2+3="
                          << "5";
    QTest::newRow("2+3== repeats +3") << "2+3=="
                                      << "10";
    QTest::newRow("third = adds the displayed 10") << "2+3==="
                                                   << "20";
    QTest::newRow("5=3= drops the 3") << "5=3="
                                      << "5";
    QTest::newRow("7-2=") << "7-2="
                          << "5";
    QTest::newRow("8/2=") << "8/2="
                          << "4";
    QTest::newRow("no precedence") << "2+3*4="
                                   << "20";
    QTest::newRow("operator shows running value") << "2+3*"
                                                  << "5";
    QTest::newRow("digits while typing") << "1234"
                                         << "1234";
    QTest::newRow("digit after result starts anew") << "2+3=7"
                                                    << "7";
    QTest::newRow("4 1/x") << "4x"
                           << "0,25";
    QTest::newRow("1/x upper case") << "4X"
                                    << "0,25";
    QTest::newRow("2+4 1/x = adds the displayed 0,25") << "2+4x="
                                                       << "0,5";
    QTest::newRow("1/3 with 15 digits") << "3x"
                                        << "0,333333333333333";
    QTest::newRow("1/3 as running value, 12 digits") << "3x+0="
                                                     << "0,333333333333";
    QTest::newRow("sqr 2") << "2s"
                           << "1,4142135623731";
    // The second root reads the displayed text, held in 40 bits: not the fourth root of 2 (…02721).
    QTest::newRow("sqr twice") << "2sS"
                               << "1,18920711500282";
    QTest::newRow("comma after a result") << "2+3=,5"
                                          << ",5";
    QTest::newRow(",5 reads as 0,5") << "2+3=,5="
                                     << "5,5";
    QTest::newRow("full stop is the comma") << "1.5+1="
                                            << "2,5";
    QTest::newRow("leading zeros") << "007+1="
                                   << "8";
    QTest::newRow("trailing comma") << "7,+1="
                                    << "8";
    QTest::newRow("0,1 shows 0,1") << "0,1=+0="
                                   << "0,1";
    QTest::newRow("0,1+0,2") << "0,1+0,2="
                             << "0,3";
    QTest::newRow("negative result") << "3-5="
                                     << "-2";
    QTest::newRow("negative read back") << "3-5=x"
                                        << "-0,5";
    QTest::newRow("1/x 3 then x3") << "3x*3="
                                   << "1";
    QTest::newRow("C clears") << "2+3=C"
                              << "";
    QTest::newRow("c clears, then 4+1") << "9*9c4+1="
                                        << "5";
    QTest::newRow("other keys ignored") << "2a+b3="
                                        << "5";
    QTest::newRow("large with scientific form") << "1000000*1000000*1000="
                                                << "1E15";
    QTest::newRow("tiny becomes 0") << QStringLiteral("0,") + QString(39, QLatin1Char('0')) + QStringLiteral("1=+0=")
                                    << "0";
}

void TestPocket::typedKeys()
{
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    type(keys);
    QCOMPARE(display(), shown);
    QVERIFY(m_fake->messages.isEmpty());
}

void TestPocket::failures_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("accumulator");
    QTest::addColumn<QString>("operand");

    const QString big = QStringLiteral("1") + QString(39, QLatin1Char('0'));
    QTest::newRow("two commas while running") << "2+1,2,3+"
                                              << "'1,2,3' n'est pas une valeur flottante correcte"
                                              << "1,2,3"
                                              << "2"
                                              << "0";
    QTest::newRow("empty display at 1/x") << "x"
                                          << "'' n'est pas une valeur flottante correcte"
                                          << ""
                                          << "0"
                                          << "0";
    QTest::newRow("bad text at sqr") << "1,,s"
                                     << "'1,,' n'est pas une valeur flottante correcte"
                                     << "1,,"
                                     << "0"
                                     << "0";
    QTest::newRow("division by zero") << "5/0="
                                      << "Division flottante par zéro"
                                      << "0"
                                      << "5"
                                      << "0";
    // "/" after "=" first applies the pending "+" once more: 8 + 8.
    QTest::newRow("operator after equals") << "5+3=/0="
                                           << "Division flottante par zéro"
                                           << "0"
                                           << "16"
                                           << "0";
    QTest::newRow("1/x of 0") << "7+0x"
                              << "Division flottante par zéro"
                              << "0"
                              << "7"
                              << "0";
    QTest::newRow("0/0") << "0/0="
                         << "Opération flottante incorrecte"
                         << "0"
                         << "0"
                         << "0";
    QTest::newRow("root of a negative") << "3-7=s"
                                        << "Opération flottante incorrecte"
                                        << "-4"
                                        << "-4"
                                        << "-4";
    QTest::newRow("result overflow") << "1" + QString(38, QLatin1Char('0')) + "*10="
                                     << "Débordement flottant"
                                     << "10"
                                     << "1E38"
                                     << "10";
    // Beyond even the range of the conversion: not a number at all.
    const QString huge(5000, QLatin1Char('9'));
    QTest::newRow("5000 digits while running")
        << "2+" + huge + "="
        << "'" + huge + "' n'est pas une valeur flottante correcte" << huge << "2"
        << "0";
    QTest::newRow("operand overflow") << "2+3=" + big + "="
                                      << "Débordement flottant" << big << "5"
                                      << "3";
}

void TestPocket::failures()
{
    QFETCH(QString, keys);
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QFETCH(QString, accumulator);
    QFETCH(QString, operand);
    type(keys);
    QCOMPARE(m_fake->messages.size(), 1);
    QCOMPARE(m_fake->messages[0].text, message);
    QCOMPARE(m_fake->messages[0].kind, Seams::MessageKind::Error);
    QCOMPARE(display(), shown);
    QCOMPARE(m_pocket->engine().accumulator().displayText(), accumulator);
    QCOMPARE(m_pocket->engine().operand().displayText(), operand);
}

void TestPocket::mouseClicks()
{
    for (QPushButton* b : {m_pocket->Button1, m_pocket->Button2, m_pocket->Button10, m_pocket->Button5,
                           m_pocket->Button14, m_pocket->Button4, m_pocket->Button11})
        QTest::mouseClick(b, Qt::LeftButton);
    QCOMPARE(display(), QStringLiteral("50"));
    QTest::mouseClick(m_pocket->Button17, Qt::LeftButton);
    QCOMPARE(display(), QStringLiteral("7,07106781186548"));
    QTest::mouseClick(m_pocket->Button18, Qt::LeftButton);
    QCOMPARE(display(), QString());
    QCOMPARE(m_pocket->engine().accumulator().value(), 0.0L);
    QVERIFY(!m_pocket->engine().isRunning());
    QCOMPARE(m_pocket->focusWidget(), m_pocket->Button11);
}

void TestPocket::operatorOnEmptyDisplayBecomesPending()
{
    type(QStringLiteral("+"));
    QCOMPARE(display(), QString());
    QVERIFY(m_fake->messages.isEmpty());
    QCOMPARE(m_pocket->engine().pendingOperator(), QLatin1Char('+'));
    QVERIFY(!m_pocket->engine().isRunning());
    // The first value beyond the 6-byte range is wiped the same way, silently.
    type(QStringLiteral("1") + QString(39, QLatin1Char('0')) + QStringLiteral("*"));
    QCOMPARE(display(), QString());
    QVERIFY(m_fake->messages.isEmpty());
    QCOMPARE(m_pocket->engine().pendingOperator(), QLatin1Char('*'));
    type(QStringLiteral("1,2,3="));
    QCOMPARE(display(), QString());
    QVERIFY(m_fake->messages.isEmpty());
    QVERIFY(!m_pocket->engine().isRunning());
}

void TestPocket::failedOperandKeepsPendingOperator()
{
    type(QStringLiteral("6*1,2,3+"));
    QCOMPARE(m_fake->messages.size(), 1);
    QCOMPARE(m_pocket->engine().pendingOperator(), QLatin1Char('*'));
    // Division by zero stops the operator too: "/" stays pending, "-" is not taken.
    type(QStringLiteral("C6/0-"));
    QCOMPARE(m_fake->messages.size(), 2);
    QCOMPARE(m_pocket->engine().pendingOperator(), QLatin1Char('/'));
    QCOMPARE(display(), QStringLiteral("0"));
    type(QStringLiteral("2="));
    QCOMPARE(display(), QStringLiteral("3"));
}

void TestPocket::overflowKeepsAccumulator()
{
    // 1E38 x 1E38 overflows; the running value stays 1E38 and the display keeps the typed operand.
    const QString e38 = QStringLiteral("1") + QString(38, QLatin1Char('0'));
    type(e38 + QStringLiteral("*") + e38 + QStringLiteral("="));
    QCOMPARE(m_fake->messages.size(), 1);
    QCOMPARE(m_fake->messages[0].text, QStringLiteral("Débordement flottant"));
    QCOMPARE(m_pocket->engine().accumulator().displayText(), QStringLiteral("1E38"));
    QCOMPARE(display(), e38);
    // Still usable afterwards.
    type(QStringLiteral("C2+2="));
    QCOMPARE(display(), QStringLiteral("4"));
}

void TestPocket::reciprocalOverflowKeepsRunningValue()
{
    // 1/3E-39 is about 3,3E38, beyond the range: the running value is not replaced.
    type(QStringLiteral("0,") + QString(38, QLatin1Char('0')) + QStringLiteral("3x"));
    QCOMPARE(m_fake->messages.size(), 1);
    QCOMPARE(m_fake->messages[0].text, QStringLiteral("Débordement flottant"));
    QVERIFY(!m_pocket->engine().isRunning());
    QCOMPARE(m_pocket->engine().accumulator().value(), 0.0L);
}

void TestPocket::clearKeepsFreshEntry()
{
    type(QStringLiteral("2+3="));
    QVERIFY(m_pocket->engine().isFreshEntry());
    type(QStringLiteral("C"));
    QVERIFY(m_pocket->engine().isFreshEntry());
    QCOMPARE(m_pocket->engine().pendingOperator(), QChar());
    type(QStringLiteral("9+1="));
    QCOMPARE(display(), QStringLiteral("10"));
}

void TestPocket::enterOnEqualsEvaluates()
{
    type(QStringLiteral("2+3"));
    QCOMPARE(m_pocket->focusWidget(), m_pocket->Button11);
    QTest::keyClick(m_pocket->focusWidget(), Qt::Key_Return);
    QCOMPARE(display(), QStringLiteral("5"));
    QTest::keyClick(m_pocket->focusWidget(), Qt::Key_Enter);
    QCOMPARE(display(), QStringLiteral("10"));
}

void TestPocket::keysWorkAfterClickOnReciprocal()
{
    type(QStringLiteral("8"));
    QTest::mouseClick(m_pocket->Button16, Qt::LeftButton);
    m_pocket->Button16->setFocus();
    QCOMPARE(display(), QStringLiteral("0,125"));
    type(QStringLiteral("*8="));
    QCOMPARE(display(), QStringLiteral("1"));
}

void TestPocket::escapeCloses()
{
    QSignalSpy rejected(m_pocket, &QDialog::rejected);
    QTest::keyClick(m_pocket->focusWidget(), Qt::Key_Escape);
    QCOMPARE(rejected.count(), 1);
    QVERIFY(!m_pocket->isVisible());
}

void TestPocket::layout()
{
    QCOMPARE(m_pocket->windowTitle(), QStringLiteral("Calculatrice"));
    QCOMPARE(m_pocket->size(), QSize(342, 219));
    QCOMPARE(m_pocket->palette().color(QPalette::Window), QColor(0, 128, 128));
    QCOMPARE(m_pocket->Label1->palette().color(QPalette::Window), QColor(192, 192, 192));
    QCOMPARE(m_pocket->Label2->palette().color(QPalette::Window), QColor(255, 0, 0));
    QCOMPARE(m_pocket->Label2->size(), QSize(147, 9));
    QCOMPARE(m_pocket->Panel2->palette().color(QPalette::Window), QColor(0, 0, 128));
    QCOMPARE(m_pocket->Panel2->size(), QSize(185, 41));
    struct Key
    {
        QPushButton* button;
        const char* caption;
        QRect geometry;
    };
    const Key keys[] = {
        {m_pocket->Button7, "7", {8, 57, 34, 33}},          {m_pocket->Button12, "+", {152, 57, 34, 33}},
        {m_pocket->Button16, "1/x", {200, 57, 34, 33}},     {m_pocket->Button17, "sqr", {200, 97, 34, 33}},
        {m_pocket->Button1, "1", {8, 137, 34, 33}},         {m_pocket->Button18, "C", {200, 137, 34, 33}},
        {m_pocket->Button10, ",", {8, 177, 34, 33}},        {m_pocket->Button0, "0", {56, 177, 34, 33}},
        {m_pocket->Button11, "=", {104, 177, 34, 33}},      {m_pocket->Button15, "/", {152, 177, 34, 33}},
        {m_pocket->Button19, "Fermer", {248, 177, 74, 33}},
    };
    for (const Key& k : keys) {
        QCOMPARE(k.button->text(), QString::fromLatin1(k.caption));
        QCOMPARE(k.button->geometry(), k.geometry);
    }
}

void TestPocket::showingClears()
{
    m_pocket->hide();
    m_fake->onModal = [this](QDialog* d) {
        d->show();
        type(QStringLiteral("2+3="));
        d->close();
        return 0;
    };
    seams().execModal(m_pocket);
    QCOMPARE(display(), QStringLiteral("5"));
    QString seen;
    long double accumulator = -1;
    bool running = true;
    QChar pending;
    QWidget* focus = nullptr;
    m_fake->onModal = [&](QDialog* d) {
        d->show();
        seen = display();
        accumulator = m_pocket->engine().accumulator().value();
        running = m_pocket->engine().isRunning();
        pending = m_pocket->engine().pendingOperator();
        focus = m_pocket->focusWidget();
        type(QStringLiteral("4="));
        d->close();
        return 0;
    };
    seams().execModal(m_pocket);
    QCOMPARE(seen, QString());
    QCOMPARE(accumulator, 0.0L);
    QVERIFY(!running);
    QCOMPARE(pending, QChar());
    QCOMPARE(focus, m_pocket->Button11);
    QCOMPARE(display(), QStringLiteral("4"));
}

void TestPocket::menuShowsClearedCalculator()
{
    TMainForm frame;
    TPocket* pocket = frame.toolWindows().pocket();
    QStringList shown;
    m_fake->onModal = [&](QDialog* d) {
        d->show();
        shown << pocket->Label1->text();
        QTest::keyClicks(pocket->focusWidget(), QStringLiteral("6*7="));
        shown << pocket->Label1->text();
        QTest::keyClick(pocket->focusWidget(), Qt::Key_Escape);
        return d->result();
    };
    frame.Calculatrice1Click();
    frame.Calculatrice1Click();
    QCOMPARE(m_fake->modalShown, (QList<QDialog*>{pocket, pocket}));
    QCOMPARE(shown, (QStringList{"", "42", "", "42"}));
}

QTEST_MAIN(TestPocket)
#include "TestPocket.moc"
