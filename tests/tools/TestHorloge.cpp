#include "FakeSeams.h"
#include "Rows.h"
#include "core/SystemClock.h"
#include "tools/ClockFields.h"
#include "tools/Horloge.h"
#include "tools/SpinButton.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using clockfields::Field;

Q_DECLARE_METATYPE(clockfields::Field)

class TestHorloge : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void step_data();
    void step();
    void read_data();
    void read();

    void showingRefreshesAndRuns();
    void arrowsHoldTheirBounds_data();
    void arrowsHoldTheirBounds();
    void arrowsWithoutFieldDoNothing();
    void setFreezesThenApplies();
    void secondsAreThoseFrozen();
    void impossibleDateLeavesClockAlone();
    void systemAnswers_data();
    void systemAnswers();
    void answerComesLater();
    void steppingWithoutSetIsOverwrittenByTheNextTick();
    void closingDuringAnEditAbandonsIt();
    void escapeCloses();
    void layout();

private:
    FakeSeams* m_fake = nullptr;
    THorloge* m_form = nullptr;
};

void TestHorloge::init()
{
    m_fake = new FakeSeams;
    m_fake->fixedNow = QDateTime(QDate(2026, 12, 7), QTime(23, 59, 17));
    m_form = new THorloge;
}

void TestHorloge::cleanup()
{
    delete m_form;
    delete m_fake;
}

void TestHorloge::step_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Field>("field");
    QTest::addColumn<int>("delta");
    QTest::addColumn<QString>("expected");
    QTest::newRow("hour up") << "09:05:07" << Field::Hour << 1 << "10:05:07";
    QTest::newRow("hour holds 23") << "23:05:07" << Field::Hour << 1 << "23:05:07";
    QTest::newRow("hour holds 00") << "00:05:07" << Field::Hour << -1 << "00:05:07";
    QTest::newRow("minute up") << "09:05:07" << Field::Minute << 1 << "09:06:07";
    QTest::newRow("minute holds 59") << "09:59:07" << Field::Minute << 1 << "09:59:07";
    QTest::newRow("minute holds 00") << "09:00:07" << Field::Minute << -1 << "09:00:07";
    QTest::newRow("minute down keeps zero") << "09:10:07" << Field::Minute << -1 << "09:09:07";
    QTest::newRow("day holds 01") << "01/02/2026" << Field::Day << -1 << "01/02/2026";
    QTest::newRow("day may pass month end") << "28/02/2026" << Field::Day << 1 << "29/02/2026";
    QTest::newRow("day holds 31") << "31/02/2026" << Field::Day << 1 << "31/02/2026";
    QTest::newRow("month holds 12") << "15/12/2026" << Field::Month << 1 << "15/12/2026";
    QTest::newRow("month holds 01") << "15/01/2026" << Field::Month << -1 << "15/01/2026";
    QTest::newRow("month down") << "15/10/2026" << Field::Month << -1 << "15/09/2026";
    QTest::newRow("year holds 2099") << "15/10/2099" << Field::Year << 1 << "15/10/2099";
    QTest::newRow("year holds 1900") << "15/10/1900" << Field::Year << -1 << "15/10/1900";
    QTest::newRow("two-digit year up") << "20/10/98" << Field::Year << 1 << "20/10/1999";
    QTest::newRow("two-digit year down") << "20/10/00" << Field::Year << -1 << "20/10/1900";
    QTest::newRow("year beyond bounds comes back") << "20/10/2150" << Field::Year << 1 << "20/10/2099";
    QTest::newRow("not a number") << "ab:cd:ef" << Field::Hour << 1 << "ab:cd:ef";
    QTest::newRow("signed is not a number") << "+1:00:00" << Field::Hour << 1 << "+1:00:00";
    QTest::newRow("empty") << "" << Field::Year << 1 << "";
    QTest::newRow("short text") << "7" << Field::Minute << 1 << "7";
}

void TestHorloge::step()
{
    QFETCH(QString, text);
    QFETCH(Field, field);
    QFETCH(int, delta);
    QFETCH(QString, expected);
    QCOMPARE(clockfields::step(text, field, delta), expected);
}

void TestHorloge::read_data()
{
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QDateTime>("expected");
    QTest::newRow("plain") << "18:23:09"
                           << "20/10/1998" << QDateTime(QDate(1998, 10, 20), QTime(18, 23, 9));
    QTest::newRow("two-digit year") << "18:23:09"
                                    << "20/10/98" << QDateTime(QDate(1998, 10, 20), QTime(18, 23, 9));
    QTest::newRow("year 05 is 1905") << "00:00:00"
                                     << "01/01/05" << QDateTime(QDate(1905, 1, 1), QTime(0, 0, 0));
    QTest::newRow("leap day") << "12:00:00"
                              << "29/02/2028" << QDateTime(QDate(2028, 2, 29), QTime(12, 0, 0));
    QTest::newRow("31 February") << "12:00:00"
                                 << "31/02/2026" << QDateTime();
    QTest::newRow("29 February not leap") << "12:00:00"
                                          << "29/02/2027" << QDateTime();
    QTest::newRow("garbage") << "12:xx:00"
                             << "01/01/2026" << QDateTime();
}

void TestHorloge::read()
{
    QFETCH(QString, time);
    QFETCH(QString, date);
    QFETCH(QDateTime, expected);
    const QDateTime got = clockfields::read(time, date);
    QCOMPARE(got.isValid(), expected.isValid());
    if (expected.isValid()) {
        QCOMPARE(got, expected);
        QCOMPARE(got.time().msec(), 0);
    }
}

void TestHorloge::showingRefreshesAndRuns()
{
    m_form->Label1->setText(QStringLiteral("--"));
    m_form->show();
    QCOMPARE(m_form->Label1->text(), QStringLiteral("23:59:17"));
    QCOMPARE(m_form->Label2->text(), QStringLiteral("07/12/2026"));
    QVERIFY(m_form->Timer1->isActive());
    QCOMPARE(m_form->Timer1->interval(), 1000);
    QVERIFY(!m_form->isEditing());
    QCOMPARE(m_form->itemIndex(), -1);
    m_fake->fixedNow = m_fake->fixedNow.addSecs(43);
    QTRY_COMPARE_WITH_TIMEOUT(m_form->Label1->text(), QStringLiteral("00:00:00"), 2500);
    QCOMPARE(m_form->Label2->text(), QStringLiteral("08/12/2026"));
}

void TestHorloge::arrowsHoldTheirBounds_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<int>("ups");
    QTest::addColumn<int>("downs");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("date");
    const QDateTime base(QDate(2026, 12, 7), QTime(22, 1, 30));
    QTest::newRow("Hr up past 23") << 0 << base << 3 << 0 << "23:01:30"
                                   << "07/12/2026";
    QTest::newRow("Hr down past 00") << 0 << base << 0 << 30 << "00:01:30"
                                     << "07/12/2026";
    QTest::newRow("Mn up past 59") << 1 << base << 70 << 0 << "22:59:30"
                                   << "07/12/2026";
    QTest::newRow("Mn down past 00") << 1 << base << 0 << 3 << "22:00:30"
                                     << "07/12/2026";
    QTest::newRow("Jo down past 01") << 2 << base << 0 << 9 << "22:01:30"
                                     << "01/12/2026";
    QTest::newRow("Jo up past 31") << 2 << base << 40 << 0 << "22:01:30"
                                   << "31/12/2026";
    QTest::newRow("Mo up past 12") << 3 << base << 1 << 0 << "22:01:30"
                                   << "07/12/2026";
    QTest::newRow("Mo down past 01") << 3 << base << 0 << 12 << "22:01:30"
                                     << "07/01/2026";
    QTest::newRow("An up past 2099") << 4 << QDateTime(QDate(2097, 5, 5), QTime(1, 2, 3)) << 5 << 0 << "01:02:03"
                                     << "05/05/2099";
    QTest::newRow("An down past 1900") << 4 << QDateTime(QDate(1902, 5, 5), QTime(1, 2, 3)) << 0 << 5 << "01:02:03"
                                       << "05/05/1900";
    QTest::newRow("up then down") << 0 << base << 1 << 2 << "21:01:30"
                                  << "07/12/2026";
}

void TestHorloge::arrowsHoldTheirBounds()
{
    QFETCH(int, item);
    QFETCH(QDateTime, now);
    QFETCH(int, ups);
    QFETCH(int, downs);
    QFETCH(QString, time);
    QFETCH(QString, date);
    m_fake->fixedNow = now;
    m_form->show();
    QTest::mouseClick(m_form->Button2, Qt::LeftButton);
    QVERIFY(m_form->isEditing());
    QTest::mouseClick(m_form->RadioItems->button(item), Qt::LeftButton);
    QCOMPARE(m_form->itemIndex(), item);
    for (int i = 0; i < ups; ++i)
        QTest::mouseClick(m_form->SpinButton1->upButton(), Qt::LeftButton);
    for (int i = 0; i < downs; ++i)
        QTest::mouseClick(m_form->SpinButton1->downButton(), Qt::LeftButton);
    QCOMPARE(m_form->Label1->text(), time);
    QCOMPARE(m_form->Label2->text(), date);
}

void TestHorloge::arrowsWithoutFieldDoNothing()
{
    m_form->show();
    m_form->Button2Click();
    QTest::mouseClick(m_form->SpinButton1->upButton(), Qt::LeftButton);
    QTest::mouseClick(m_form->SpinButton1->downButton(), Qt::LeftButton);
    QCOMPARE(m_form->Label1->text(), QStringLiteral("23:59:17"));
    QCOMPARE(m_form->Label2->text(), QStringLiteral("07/12/2026"));
}

void TestHorloge::setFreezesThenApplies()
{
    m_form->show();
    QTest::mouseClick(m_form->Button2, Qt::LeftButton);
    QVERIFY(m_form->isEditing());
    QVERIFY(!m_form->Timer1->isActive());
    // Frozen: time goes on but the display does not follow.
    m_fake->fixedNow = m_fake->fixedNow.addSecs(5);
    QTest::qWait(1300);
    QCOMPARE(m_form->Label1->text(), QStringLiteral("23:59:17"));

    m_form->setItemIndex(0);
    m_form->SpinButton1DownClick();
    m_form->setItemIndex(3);
    m_form->SpinButton1DownClick();
    m_form->setItemIndex(4);
    m_form->SpinButton1UpClick();
    QCOMPARE(m_form->Label1->text(), QStringLiteral("22:59:17"));
    QCOMPARE(m_form->Label2->text(), QStringLiteral("07/11/2027"));
    QVERIFY(m_fake->clockSets.isEmpty());

    QTest::mouseClick(m_form->Button2, Qt::LeftButton);
    QVERIFY(!m_form->isEditing());
    QVERIFY(m_form->Timer1->isActive());
    QCOMPARE(m_fake->clockSets, (QList<QDateTime>{QDateTime(QDate(2027, 11, 7), QTime(22, 59, 17, 0))}));
}

void TestHorloge::secondsAreThoseFrozen()
{
    m_fake->fixedNow = QDateTime(QDate(2026, 3, 1), QTime(8, 0, 42, 750));
    m_form->show();
    m_form->Button2Click();
    m_fake->fixedNow = m_fake->fixedNow.addSecs(20);
    m_form->Button2Click();
    QCOMPARE(m_fake->clockSets.size(), 1);
    QCOMPARE(m_fake->clockSets[0], QDateTime(QDate(2026, 3, 1), QTime(8, 0, 42, 0)));
}

void TestHorloge::impossibleDateLeavesClockAlone()
{
    m_fake->fixedNow = QDateTime(QDate(2026, 3, 31), QTime(8, 0, 0));
    m_form->show();
    m_form->Button2Click();
    m_form->setItemIndex(3);
    m_form->SpinButton1DownClick();
    QCOMPARE(m_form->Label2->text(), QStringLiteral("31/02/2026"));
    m_form->Button2Click();
    QVERIFY(m_fake->clockSets.isEmpty());
    QVERIFY(m_form->Timer1->isActive());
    m_form->Timer1Timer();
    QCOMPARE(m_form->Label2->text(), QStringLiteral("31/03/2026"));
}

// The time service's answer, by the name of its D-Bus error: only where no time service answers at all does the
// program set the clock itself; any other failure is a refusal, told in French.
void TestHorloge::systemAnswers_data()
{
    rows::add({"set |  | set", "no timedated | org.freedesktop.DBus.Error.ServiceUnknown | no service",
               "timedated cannot start | org.freedesktop.DBus.Error.Spawn.ChildExited | no service",
               "automatic time on | org.freedesktop.timedate1.AutomaticTimeSyncEnabled | refused",
               "authentication cancelled | org.freedesktop.DBus.Error.AccessDenied | refused"});
}

void TestHorloge::systemAnswers()
{
    const QStringList row = rows::fields();
    QCOMPARE(int(systemclock::answerOf(row[1])), QStringList({"set", "no service", "refused"}).indexOf(row[2]));
}

void TestHorloge::answerComesLater()
{
    m_form->show();
    m_form->Button2Click();
    m_form->Button2Click();
    // Asked, not waited for: the window runs again at once.
    QCOMPARE(m_fake->clockSets.size(), 1);
    QVERIFY(m_form->Timer1->isActive() && !m_form->isEditing() && m_fake->messages.isEmpty());
    const QString refusal = systemclock::refusalText(QStringLiteral("org.freedesktop.DBus.Error.AccessDenied"));
    m_fake->answerClock(refusal);
    QCOMPARE(m_fake->messages.size(), 1);
    QCOMPARE(m_fake->messages[0].kind, Seams::MessageKind::Error);
    QCOMPARE(m_fake->messages[0].text, refusal);
    // Set: nothing to say. An answer for a window that is gone goes nowhere.
    for (int request = 0; request < 2; ++request) {
        m_form->Button2Click();
        m_form->Button2Click();
    }
    m_fake->answerClock();
    delete m_form;
    m_form = nullptr;
    m_fake->answerClock(refusal);
    QCOMPARE(m_fake->messages.size(), 1);
    QCOMPARE(m_fake->clockSets.size(), 3);
}

void TestHorloge::steppingWithoutSetIsOverwrittenByTheNextTick()
{
    m_form->show();
    m_form->setItemIndex(0);
    m_form->SpinButton1DownClick();
    QCOMPARE(m_form->Label1->text(), QStringLiteral("22:59:17"));
    QTRY_COMPARE_WITH_TIMEOUT(m_form->Label1->text(), QStringLiteral("23:59:17"), 2500);
    QVERIFY(m_fake->clockSets.isEmpty());
}

void TestHorloge::closingDuringAnEditAbandonsIt()
{
    m_form->show();
    m_form->Button2Click();
    m_form->setItemIndex(1);
    m_form->SpinButton1UpClick();
    QCOMPARE(m_form->Label1->text(), QStringLiteral("23:59:17"));
    m_form->setItemIndex(0);
    m_form->SpinButton1DownClick();
    QTest::mouseClick(m_form->Button1, Qt::LeftButton);
    QVERIFY(!m_form->isVisible());
    QVERIFY(!m_form->Timer1->isActive());
    QVERIFY(m_fake->clockSets.isEmpty());

    m_fake->fixedNow = QDateTime(QDate(2026, 12, 8), QTime(0, 0, 1));
    m_form->show();
    QVERIFY(!m_form->isEditing());
    QVERIFY(m_form->Timer1->isActive());
    QCOMPARE(m_form->Label1->text(), QStringLiteral("00:00:01"));
    // "Set" now starts a new edit instead of applying the abandoned one.
    m_form->Button2Click();
    QVERIFY(m_form->isEditing());
    QVERIFY(m_fake->clockSets.isEmpty());
}

void TestHorloge::escapeCloses()
{
    m_fake->onModal = [](QDialog* d) {
        d->show();
        auto* form = static_cast<THorloge*>(d);
        if (QApplication::focusWidget() != form->Button1 && form->focusWidget() != form->Button1)
            return 1;
        QTest::keyClick(form->Button1, Qt::Key_Escape);
        return d->isVisible() ? 2 : 0;
    };
    QCOMPARE(seams().execModal(m_form), 0);
    // Escape while a radio item has the focus closes too.
    m_form->show();
    m_form->RadioItems->button(2)->setFocus();
    QTest::keyClick(m_form->RadioItems->button(2), Qt::Key_Escape);
    QVERIFY(!m_form->isVisible());
}

void TestHorloge::layout()
{
    QCOMPARE(m_form->windowTitle(), QStringLiteral("Horloge"));
    QCOMPARE(m_form->size(), QSize(277, 156));
    QCOMPARE(m_form->Panel1->geometry(), QRect(0, 0, 277, 156));
    QCOMPARE(m_form->Panel2->geometry(), QRect(12, 12, 142, 34));
    QCOMPARE(m_form->Panel3->geometry(), QRect(12, 63, 142, 34));
    QCOMPARE(m_form->Label4->geometry(), QRect(8, 52, 153, 2));
    QCOMPARE(m_form->RadioGroup1->geometry(), QRect(162, 6, 58, 94));
    QCOMPARE(m_form->SpinButton1->geometry(), QRect(236, 26, 20, 25));
    QCOMPARE(m_form->Button2->geometry(), QRect(228, 66, 37, 24));
    QCOMPARE(m_form->Button1->geometry(), QRect(162, 112, 86, 32));
    QCOMPARE(m_form->Label3->text(), QStringLiteral("VIR"));
    QCOMPARE(m_form->Label3->pos(), QPoint(12, 116));
    QCOMPARE(m_form->Label1->font().pixelSize(), 23);
    QVERIFY(m_form->Label1->font().bold());
    QCOMPARE(m_form->Label1->alignment(), Qt::AlignCenter);
    QStringList items;
    for (QAbstractButton* b : m_form->RadioItems->buttons())
        items << b->text();
    QCOMPARE(items, (QStringList{"Hr", "Mn", "Jo", "Mo", "An"}));
    QCOMPARE(m_form->Button2->text(), QStringLiteral("Set"));
    QCOMPARE(m_form->Button1->text(), QStringLiteral("Fermer"));
    QCOMPARE(m_form->SpinButton1->upButton()->autoRepeatDelay(), 400);
    QCOMPARE(m_form->SpinButton1->upButton()->autoRepeatInterval(), 100);
    QCOMPARE(m_form->Panel1->palette().color(QPalette::Window), QColor(Qt::black));
}

QTEST_MAIN(TestHorloge)
#include "TestHorloge.moc"
