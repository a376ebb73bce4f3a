#include "ClassWindows.h"
#include "FakeSeams.h"
#include "TestFiles.h"
#include "app/MainForm.h"
#include "app/ToolWindows.h"
#include "classbook/MDIChild.h"
#include "companions/Devoirs.h"
#include "companions/Planning.h"
#include "core/PlatformError.h"
#include "widgets/Fonts.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolButton>

#include <sys/stat.h>

// The homework dates as a teacher meets them: the dialog, its colours, the class window's list and
// the homework file written beside the class file.
class TestDevoirs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void layout();
    void newClassThroughTheFrame();
    void centredOnTheScreen();
    void toolButtonOpensTheDialog();
    void entryShownAndHandedBack_data();
    void entryShownAndHandedBack();
    void badDateThroughTheMenu();
    void userChangeColours_data();
    void userChangeColours();
    void reopeningShowsColoursAfresh();
    void tabFollowsTheScreen_data();
    void tabFollowsTheScreen();
    void closingWays_data();
    void closingWays();
    void lineBreakInTitleKeeps21Lines();
    void loadAndSaveAll_data();
    void loadAndSaveAll();
    void namesWithDots_data();
    void namesWithDots();
    void noFileNameWritesNothing();
    void failedWriteIsReported();
    void fifoIsNoHomeworkFile();
    void openEditCloseThroughTheFrame();

private:
    QString path(const QString& name) const { return m_windows->path(name); }
    QByteArray readFile(const QString& name) const;
    void writeFile(const QString& name, const QByteArray& bytes) const;
    TDevoirs* dialog() const { return m_windows->shared().Devoirs; }
    // Opens the dialog on the test window; `whileShown` runs while it is shown, then it is closed.
    void openDialog(const std::function<void(TDevoirs*)>& whileShown);

    std::optional<ClassWindows> m_windows;
    QPointer<TMDIChild> m_window;
};

namespace {

const QColor Silver(192, 192, 192);

QColor baseOf(const QWidget* w)
{
    return w->palette().color(QPalette::Base);
}

QColor normalOf(const QWidget* w)
{
    return QApplication::palette(w).color(QPalette::Base);
}

void typeText(QWidget* widget, const QString& text)
{
    for (QChar ch : text) {
        if (ch.unicode() < 128) {
            QTest::keyClick(widget, ch.toLatin1());
        } else {
            QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        }
    }
}

QByteArray twentyUnsetLines()
{
    return QByteArray("01/01/1990\r\n").repeated(20) + "\r\n";
}

} // namespace

void TestDevoirs::initTestCase()
{
    fonts::install();
    // The test means something only if the two colours differ.
    const ClassWindows windows;
    QVERIFY(normalOf(windows.shared().Devoirs->Edit(1)) != Silver);
    QVERIFY(normalOf(windows.shared().Devoirs->DateTimePicker(1)) != Silver);
}

void TestDevoirs::init()
{
    m_windows.emplace();
    QDir::setCurrent(m_windows->folder());
    m_window = m_windows->openShown();
    QVERIFY(m_window);
}

void TestDevoirs::cleanup()
{
    m_windows.reset();
}

QByteArray TestDevoirs::readFile(const QString& name) const
{
    return testfiles::readAll(path(name));
}

void TestDevoirs::writeFile(const QString& name, const QByteArray& bytes) const
{
    testfiles::writeAll(path(name), bytes);
}

void TestDevoirs::openDialog(const std::function<void(TDevoirs*)>& whileShown)
{
    m_windows->fake().onModal = [&](QDialog* shown) {
        auto* d = qobject_cast<TDevoirs*>(shown);
        if (!d)
            return 0;
        d->show();
        QApplication::processEvents();
        whileShown(d);
        d->close();
        QApplication::processEvents();
        return d->result();
    };
    m_window->DatesDevoirs();
    m_windows->fake().onModal = nullptr;
}

// --- the window ---------------------------------------------------------------------------------

void TestDevoirs::layout()
{
    TDevoirs* d = dialog();
    QCOMPARE(d->windowTitle(), QStringLiteral("Dates des devoirs"));
    QCOMPARE(d->size(), QSize(531, 319));
    QCOMPARE(d->minimumSize(), QSize(531, 319));
    QCOMPARE(d->maximumSize(), QSize(531, 319));
    QVERIFY(d->windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(!(d->windowFlags() & Qt::WindowMinMaxButtonsHint));
    QCOMPARE(d->Panel1->geometry(), QRect(0, 0, 531, 33));
    QCOMPARE(d->Button1->text(), QStringLiteral("Fermer"));
    QCOMPARE(d->Button1->parentWidget(), d->Panel1);
    QCOMPARE(d->Button1->geometry(), QRect(436, 4, 75, 25));

    const struct
    {
        const char* name;
        const char16_t* text;
        int left;
    } headings[] = {
        {"Label1", u"Date", 8}, {"Label2", u"Intitulé", 120}, {"Label3", u"Date", 272}, {"Label4", u"Intitulé", 384}};
    for (const auto& h : headings) {
        auto* label = d->findChild<QLabel*>(QLatin1String(h.name));
        QVERIFY2(label, h.name);
        QCOMPARE(label->text(), QString::fromUtf16(h.text));
        QCOMPARE(label->pos(), QPoint(h.left, 40));
        QCOMPARE(label->font().pixelSize(), 17);
    }

    const int left[10] = {1, 3, 4, 5, 6, 11, 12, 13, 17, 19};
    const int right[10] = {2, 7, 8, 9, 10, 14, 15, 16, 18, 20};
    for (int k = 0; k < 10; ++k) {
        for (int column = 0; column < 2; ++column) {
            const int row = column == 0 ? left[k] : right[k];
            // The rows are built when first asked for.
            QDateEdit* picker = d->DateTimePicker(row);
            QLineEdit* edit = d->Edit(row);
            QVERIFY(picker && edit);
            QCOMPARE(d->findChild<QDateEdit*>(QStringLiteral("DateTimePicker%1").arg(row)), picker);
            QCOMPARE(d->findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(row)), edit);
            QCOMPARE(picker->geometry(), QRect(column == 0 ? 7 : 271, 72 + 24 * k, 98, 24));
            QCOMPARE(edit->geometry(), QRect(column == 0 ? 112 : 376, 73 + 24 * k, 145, 24));
            QCOMPARE(picker->displayFormat(), QStringLiteral("dd/MM/yyyy"));
            QVERIFY(picker->calendarPopup());
            QCOMPARE(edit->font().pixelSize(), 13);
        }
    }
    QCOMPARE(d->findChildren<QDateEdit*>().size(), 20);
    QCOMPARE(d->findChildren<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly).size(), 20);
}

void TestDevoirs::newClassThroughTheFrame()
{
    delete m_window.data();
    TMainForm frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    frame.findChild<QAction*>(QStringLiteral("FileNewItem"))->trigger();
    TMDIChild* c = frame.activeChild();
    QVERIFY(c);
    m_window = c;
    QVERIFY(!c->isModified());

    int silverRows = 0;
    bool shown = false;
    m_windows->fake().onModal = [&](QDialog* d) {
        auto* devoirs = qobject_cast<TDevoirs*>(d);
        if (!devoirs)
            return 0;
        shown = true;
        for (int row = 1; row <= 20; ++row) {
            const bool silver = baseOf(devoirs->DateTimePicker(row)) == Silver && baseOf(devoirs->Edit(row)) == Silver;
            const bool unsetDate = devoirs->DateTimePicker(row)->date() == QDate(1990, 1, 1);
            if (silver && unsetDate && devoirs->Edit(row)->text().isEmpty())
                ++silverRows;
        }
        return 0;
    };
    QAction* menu = frame.findChild<QAction*>(QStringLiteral("Datesdesdevoirsd1"));
    QVERIFY(menu && menu->isEnabled());
    menu->trigger();
    QVERIFY(shown);
    QCOMPARE(silverRows, 20);
    QVERIFY(m_windows->fake().messages.isEmpty());
    for (int i = 0; i < 20; ++i)
        QCOMPARE(c->ListeDevoirs()[i], QStringLiteral("01/01/1990"));
    QCOMPARE(c->ListeDevoirs()[20], QString());
    QVERIFY(c->isModified());

    m_windows->fake().onModal = nullptr;
    m_windows->fake().saveAnswers << Seams::SaveChoice{path(QStringLiteral("neuve.prf")), 1};
    frame.findChild<QAction*>(QStringLiteral("FileSaveAsItem"))->trigger();
    QCOMPARE(readFile(QStringLiteral("neuve.prd")), twentyUnsetLines());
    QVERIFY(!c->isModified());
}

void TestDevoirs::centredOnTheScreen()
{
    // Dragged into a corner during one opening, it still comes up in the middle the next time.
    openDialog([](TDevoirs* d) { d->move(3, 5); });
    QRect placed;
    openDialog([&](TDevoirs* d) { placed = d->frameGeometry(); });
    const QPoint middle = dialog()->screen()->availableGeometry().center();
    QCOMPARE(dialog()->size(), QSize(531, 319));
    QVERIFY2((placed.center() - middle).manhattanLength() <= 2,
             qPrintable(QStringLiteral("dialog at %1,%2").arg(placed.x()).arg(placed.y())));
}

void TestDevoirs::toolButtonOpensTheDialog()
{
    delete m_window.data();
    TMainForm frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    frame.findChild<QAction*>(QStringLiteral("FileNewItem"))->trigger();
    m_window = frame.activeChild();
    auto* button = frame.findChild<QToolButton*>(QStringLiteral("SpeedButton8"));
    QVERIFY(button);
    QVERIFY(button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(m_windows->fake().modalShown.size(), 1);
    QCOMPARE(m_windows->fake().modalShown.first(), static_cast<QDialog*>(frame.toolWindows().devoirs()));
    QVERIFY(m_window->isModified());
}

void TestDevoirs::entryShownAndHandedBack_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("silver");
    QTest::addColumn<QString>("handedBack");

    const QDate unset(1990, 1, 1);
    const QString t300(300, QLatin1Char('a'));
    const QString t40000 = QString(40000, QLatin1Char('b')) + QStringLiteral("fin");
    QTest::newRow("unset with title") << 1 << QStringLiteral("01/01/1990Révision") << unset
                                      << QStringLiteral("Révision") << true << QStringLiteral("01/01/1990Révision");
    QTest::newRow("date without title") << 2 << QStringLiteral("12/03/2001") << QDate(2001, 3, 12) << QString() << false
                                        << QStringLiteral("12/03/2001");
    QTest::newRow("abc") << 17 << QStringLiteral("abc") << unset << QString() << true << QStringLiteral("01/01/1990");
    QTest::newRow("empty") << 20 << QString() << unset << QString() << true << QStringLiteral("01/01/1990");
    QTest::newRow("dated title") << 10 << QStringLiteral("05/11/2026Exposé € œ") << QDate(2026, 11, 5)
                                 << QStringLiteral("Exposé € œ") << false << QStringLiteral("05/11/2026Exposé € œ");
    QTest::newRow("300-character title") << 3 << (QStringLiteral("01/02/2003") + t300) << QDate(2003, 2, 1) << t300
                                         << false << (QStringLiteral("01/02/2003") + t300);
    // Longer than a title box can hold: shown cut, handed back whole while the user leaves it alone.
    QTest::newRow("title longer than the box")
        << 4 << (QStringLiteral("01/02/2003") + t40000) << QDate(2003, 2, 1) << t40000.left(32767) << false
        << (QStringLiteral("01/02/2003") + t40000);
}

void TestDevoirs::entryShownAndHandedBack()
{
    QFETCH(int, row);
    QFETCH(QString, entry);
    QFETCH(QDate, date);
    QFETCH(QString, title);
    QFETCH(bool, silver);
    QFETCH(QString, handedBack);

    m_window->document().store([&](ClassContents& contents) {
        for (int i = 0; i < 20; ++i)
            contents.homework[i] = QStringLiteral("07/07/2007autre %1").arg(i);
        contents.homework[row - 1] = entry;
        contents.homework[20] = QStringLiteral("réserve");
    });
    openDialog([&](TDevoirs* d) {
        QCOMPARE(d->DateTimePicker(row)->date(), date);
        QCOMPARE(d->Edit(row)->text(), title);
        const QColor expected = silver ? Silver : normalOf(d->Edit(row));
        QCOMPARE(baseOf(d->DateTimePicker(row)), expected);
        QCOMPARE(baseOf(d->Edit(row)), expected);
    });
    QVERIFY(!QTest::currentTestFailed());
    for (int i = 0; i < 20; ++i)
        QCOMPARE(m_window->ListeDevoirs()[i], i == row - 1 ? handedBack : QStringLiteral("07/07/2007autre %1").arg(i));
    QCOMPARE(m_window->ListeDevoirs()[20], QStringLiteral("réserve"));
    QVERIFY(m_window->isModified());
}

void TestDevoirs::badDateThroughTheMenu()
{
    delete m_window.data();
    TMainForm frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    frame.findChild<QAction*>(QStringLiteral("FileNewItem"))->trigger();
    TMDIChild* c = frame.activeChild();
    m_window = c;
    c->document().store([](ClassContents& contents) {
        contents.homework[0] = QStringLiteral("12/03/2001Maths");
        contents.homework[5] = QStringLiteral("abcdefghijXYZ");
    });
    const homework::List before = c->ListeDevoirs();
    frame.findChild<QAction*>(QStringLiteral("Datesdesdevoirsd1"))->trigger();
    QVERIFY(m_windows->fake().modalShown.isEmpty());
    QCOMPARE(m_windows->fake().messages.size(), 1);
    QCOMPARE(m_windows->fake().messages[0].kind, Seams::MessageKind::Error);
    QCOMPARE(m_windows->fake().messages[0].text, QStringLiteral("'abcdefghij' n'est pas une date correcte"));
    QVERIFY(c->ListeDevoirs() == before);
    QVERIFY(!c->isModified());
}

void TestDevoirs::userChangeColours_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("picker");
    QTest::addColumn<QString>("handedBack");

    QTest::newRow("picker 17") << 17 << true << QStringLiteral("02/01/1990");
    QTest::newRow("picker 1") << 1 << true << QStringLiteral("02/01/1990");
    QTest::newRow("title box 10") << 10 << false << QStringLiteral("01/01/1990Lire p. 12");
    QTest::newRow("title box 20") << 20 << false << QStringLiteral("01/01/1990Lire p. 12");
}

void TestDevoirs::userChangeColours()
{
    QFETCH(int, row);
    QFETCH(bool, picker);
    QFETCH(QString, handedBack);

    openDialog([&](TDevoirs* d) {
        if (picker) {
            d->DateTimePicker(row)->setFocus();
            QTest::keyClick(d->DateTimePicker(row), Qt::Key_Up);
        } else {
            typeText(d->Edit(row), QStringLiteral("Lire p. 12"));
        }
        for (int r = 1; r <= 20; ++r) {
            const bool pickerTouched = picker && r == row;
            const bool editTouched = !picker && r == row;
            QCOMPARE(baseOf(d->DateTimePicker(r)), pickerTouched ? normalOf(d->DateTimePicker(r)) : Silver);
            QCOMPARE(baseOf(d->Edit(r)), editTouched ? normalOf(d->Edit(r)) : Silver);
        }
    });
    QVERIFY(!QTest::currentTestFailed());
    for (int i = 0; i < 20; ++i)
        QCOMPARE(m_window->ListeDevoirs()[i], i == row - 1 ? handedBack : QStringLiteral("01/01/1990"));
}

void TestDevoirs::reopeningShowsColoursAfresh()
{
    openDialog([](TDevoirs* d) {
        QTest::keyClick(d->DateTimePicker(5), Qt::Key_Up);
        typeText(d->Edit(6), QStringLiteral("x"));
    });
    QCOMPARE(m_window->ListeDevoirs()[4], QStringLiteral("02/01/1990"));
    QCOMPARE(m_window->ListeDevoirs()[5], QStringLiteral("01/01/1990x"));
    // Row 5 now has a date: normal on both sides. Row 6 kept the unset date: silver again, title kept.
    m_window->document().store([](ClassContents& contents) { contents.homework[6] = QStringLiteral("abc"); });
    openDialog([](TDevoirs* d) {
        QCOMPARE(baseOf(d->DateTimePicker(5)), normalOf(d->DateTimePicker(5)));
        QCOMPARE(baseOf(d->Edit(5)), normalOf(d->Edit(5)));
        QCOMPARE(baseOf(d->DateTimePicker(6)), Silver);
        // Its drop-down month calendar stays in the window colour.
        QCOMPARE(baseOf(d->DateTimePicker(6)->calendarWidget()), normalOf(d->DateTimePicker(6)));
        QCOMPARE(baseOf(d->Edit(6)), Silver);
        QCOMPARE(d->Edit(6)->text(), QStringLiteral("x"));
        QCOMPARE(baseOf(d->Edit(7)), Silver);
        QCOMPARE(d->Edit(7)->text(), QString());
    });
    QVERIFY(!QTest::currentTestFailed());
    QCOMPARE(m_window->ListeDevoirs()[4], QStringLiteral("02/01/1990"));
    QCOMPARE(m_window->ListeDevoirs()[5], QStringLiteral("01/01/1990x"));
    QCOMPARE(m_window->ListeDevoirs()[6], QStringLiteral("01/01/1990"));
}

void TestDevoirs::tabFollowsTheScreen_data()
{
    QTest::addColumn<int>("fromTitle");
    QTest::addColumn<int>("toPicker");

    QTest::newRow("row 1 to the line below, row 3") << 1 << 3;
    QTest::newRow("row 6 to row 11") << 6 << 11;
    QTest::newRow("bottom of the left column to the top of the right one") << 19 << 2;
    QTest::newRow("row 16 to row 18") << 16 << 18;
}

void TestDevoirs::tabFollowsTheScreen()
{
    QFETCH(int, fromTitle);
    QFETCH(int, toPicker);
    bool moved = false;
    openDialog([&](TDevoirs* d) {
        d->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(d));
        d->Edit(fromTitle)->setFocus();
        QTest::keyClick(d->Edit(fromTitle), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        moved = focus == d->DateTimePicker(toPicker) || (focus && focus->parentWidget() == d->DateTimePicker(toPicker));
        // Tab first walks the day, month and year of the picker, then goes on to the title of the same row.
        for (int i = 0; i < 5 && QApplication::focusWidget() == focus; ++i)
            QTest::keyClick(focus, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(d->Edit(toPicker)));
    });
    QVERIFY(!QTest::currentTestFailed());
    QVERIFY(moved);
}

void TestDevoirs::closingWays_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("Fermer") << QStringLiteral("button");
    QTest::newRow("close box") << QStringLiteral("closebox");
    QTest::newRow("Enter in a title box, then Fermer") << QStringLiteral("enter");
}

void TestDevoirs::closingWays()
{
    QFETCH(QString, way);
    bool closed = false;
    openDialog([&](TDevoirs* d) {
        typeText(d->Edit(3), QStringLiteral("Contrôle"));
        // Escape is no way out: the dialog has nothing to cancel.
        QTest::keyClick(d->Edit(3), Qt::Key_Escape);
        QVERIFY(d->isVisible());
        if (way == QLatin1String("enter")) {
            QTest::keyClick(d->Edit(3), Qt::Key_Return);
            QVERIFY(d->isVisible());
        }
        if (way == QLatin1String("closebox"))
            d->close();
        else
            QTest::mouseClick(d->Button1, Qt::LeftButton);
        QApplication::processEvents();
        closed = !d->isVisible();
    });
    QVERIFY(closed);
    QVERIFY(!QTest::currentTestFailed());
    QCOMPARE(m_window->ListeDevoirs()[2], QStringLiteral("01/01/1990Contrôle"));
}

void TestDevoirs::lineBreakInTitleKeeps21Lines()
{
    m_window->Charge(path(QStringLiteral("sauts.prf")));
    openDialog([](TDevoirs* d) {
        d->Edit(1)->setFocus();
        d->Edit(1)->insert(QStringLiteral("Lire\nchapitre 3\r\nfin"));
    });
    m_window->SauveTout();
    const QByteArray bytes = readFile(QStringLiteral("sauts.prd"));
    QCOMPARE(bytes.count("\r\n"), 21);
    QCOMPARE(bytes.count('\n'), 21);
    QCOMPARE(bytes.count('\r'), 21);
    QVERIFY(bytes.startsWith("01/01/1990Lire"));
}

// --- the homework file ----------------------------------------------------------------------------

void TestDevoirs::loadAndSaveAll_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QByteArray>("written");

    QByteArray twentyFive, first21;
    QStringList entries21;
    for (int k = 0; k < 25; ++k) {
        const QByteArray line = QByteArray::number(10 + k) + "/01/2001Le\xE7on " + QByteArray::number(k);
        twentyFive += line + "\r\n";
        if (k < 21) {
            first21 += line + "\r\n";
            entries21 << QStringLiteral("%1/01/2001Leçon %2").arg(10 + k).arg(k);
        }
    }
    QTest::newRow("25 lines") << twentyFive << entries21 << first21;
    QTest::newRow("5 lines") << QByteArray("12/03/2001\r\nabc\r\n01/01/1990R\xE9vision\r\n\r\n14/03/2001Dict\xE9\x65")
                             << QStringList{"12/03/2001", "abc", "01/01/1990Révision", "", "14/03/2001Dictée"}
                             << (QByteArray(
                                     "12/03/2001\r\nabc\r\n01/01/1990R\xE9vision\r\n\r\n14/03/2001Dict\xE9\x65\r\n") +
                                 QByteArray("\r\n").repeated(16));
    // Entry 0 empty: the list has never been filled, so the file is left exactly as it is.
    QTest::newRow("first line empty") << QByteArray("\nsecond\n") << QStringList{"", "second"}
                                      << QByteArray("\nsecond\n");
}

void TestDevoirs::loadAndSaveAll()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, entries);
    QFETCH(QByteArray, written);

    writeFile(QStringLiteral("6A.prf"), "0002Maths\r\n");
    writeFile(QStringLiteral("6A.prd"), file);
    m_window->document().store(
        [](ClassContents& contents) { contents.homework[20] = QStringLiteral("left from before"); });
    m_window->Charge(path(QStringLiteral("6A.prf")));
    QVERIFY(m_windows->fake().messages.isEmpty());
    for (int k = 0; k < 21; ++k)
        QCOMPARE(m_window->ListeDevoirs()[k], k < entries.size() ? entries[k] : QString());
    QVERIFY(!m_window->isModified());

    m_window->Sauve();
    m_window->SauveTout();
    QCOMPARE(readFile(QStringLiteral("6A.prd")), written);
    // An unchanged class is not rewritten; only its homework file is.
    QCOMPARE(readFile(QStringLiteral("6A.prf")), QByteArray("0002Maths\r\n"));
}

void TestDevoirs::namesWithDots_data()
{
    QTest::addColumn<QString>("classFile");
    QTest::addColumn<QString>("homeworkFile");

    QTest::newRow("dotted folder") << QStringLiteral("Cours.2001/6A.prf") << QStringLiteral("Cours.2001/6A.prd");
    QTest::newRow("no extension") << QStringLiteral("Classes/6A") << QStringLiteral("Classes/6A.prd");
    QTest::newRow("two dots") << QStringLiteral("Archives/5e.B.prf") << QStringLiteral("Archives/5e.B.prd");
}

void TestDevoirs::namesWithDots()
{
    QFETCH(QString, classFile);
    QFETCH(QString, homeworkFile);

    writeFile(homeworkFile, "12/03/2001Maths\r\n");
    m_window->Charge(path(classFile));
    QCOMPARE(m_window->ListeDevoirs()[0], QStringLiteral("12/03/2001Maths"));
    openDialog([](TDevoirs* d) { typeText(d->Edit(2), QStringLiteral("Histoire")); });
    m_window->SauveTout();
    QCOMPARE(readFile(homeworkFile), QByteArray("12/03/2001Maths\r\n01/01/1990Histoire\r\n") +
                                         QByteArray("01/01/1990\r\n").repeated(18) + "\r\n");
    // Nothing written beside the folder or under the wrong name.
    const QString folder = QFileInfo(path(homeworkFile)).path();
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{QFileInfo(homeworkFile).fileName()});
    QVERIFY(!QFileInfo::exists(path(QStringLiteral("Cours.prd"))));
}

void TestDevoirs::noFileNameWritesNothing()
{
    const QStringList before = QDir(m_windows->folder()).entryList(QDir::Files);
    openDialog([](TDevoirs*) {});
    QVERIFY(m_window->isModified());
    m_window->SauveTout();
    QCOMPARE(QDir(m_windows->folder()).entryList(QDir::Files), before);
}

void TestDevoirs::failedWriteIsReported()
{
    m_window->Charge(path(QStringLiteral("bloque/7C.prf")));
    openDialog([](TDevoirs*) {});
    const std::array<QString, 21> list = m_window->ListeDevoirs();
    // A folder now stands where the homework file goes.
    QDir(m_windows->folder()).mkpath(QStringLiteral("bloque/7C.prd"));
    m_windows->shared().Planning->MajPrj(1, QStringLiteral("Maths"));
    QVERIFY_THROWS_EXCEPTION(PlatformError, m_window->SauveTout());
    QCOMPARE(m_window->ListeDevoirs(), list);
    QVERIFY(QFileInfo(path(QStringLiteral("bloque/7C.prd"))).isDir());
    // The rest of the save-all step went on, and no temporary file is left behind.
    QCOMPARE(QDir(path(QStringLiteral("bloque"))).entryList(QDir::Files | QDir::Hidden), QStringList{"7C.prp"});
}

void TestDevoirs::fifoIsNoHomeworkFile()
{
    QDir(m_windows->folder()).mkpath(QStringLiteral("tube"));
    QVERIFY(::mkfifo(QFile::encodeName(path(QStringLiteral("tube/8D.prd"))).constData(), 0600) == 0);
    // A pipe would wait for a writer for ever: it is a homework file that cannot be read.
    QVERIFY_THROWS_EXCEPTION(PlatformError, m_window->Charge(path(QStringLiteral("tube/8D.prf"))));
    for (const QString& entry : m_window->ListeDevoirs())
        QVERIFY(entry.isEmpty());
}

void TestDevoirs::openEditCloseThroughTheFrame()
{
    delete m_window.data();
    writeFile(QStringLiteral("menu/4B.prf"), "0002Fran\xE7\x61is\r\n");
    writeFile(QStringLiteral("menu/4B.prd"), "12/03/2001Maths\r\n");
    TMainForm frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    m_windows->fake().openAnswers << path(QStringLiteral("menu/4B.prf"));
    frame.findChild<QAction*>(QStringLiteral("FileOpenItem"))->trigger();
    TMDIChild* c = frame.activeChild();
    QVERIFY(c);
    m_window = c;
    m_windows->fake().onModal = [&](QDialog* shown) {
        auto* d = qobject_cast<TDevoirs*>(shown);
        if (!d)
            return 0;
        d->show();
        QApplication::processEvents();
        [&] {
            QCOMPARE(d->DateTimePicker(1)->date(), QDate(2001, 3, 12));
            QCOMPARE(d->Edit(1)->text(), QStringLiteral("Maths"));
            QCOMPARE(baseOf(d->Edit(1)), normalOf(d->Edit(1)));
            d->Edit(1)->selectAll();
            typeText(d->Edit(1), QStringLiteral("Géométrie"));
            QTest::keyClick(d->DateTimePicker(19), Qt::Key_Up);
        }();
        QTest::mouseClick(d->Button1, Qt::LeftButton);
        return d->result();
    };
    frame.findChild<QAction*>(QStringLiteral("Datesdesdevoirsd1"))->trigger();
    QVERIFY(!QTest::currentTestFailed());
    m_windows->fake().onModal = nullptr;
    QVERIFY(c->isModified());
    // "Non" to the save question: the class file stays, the homework file is written all the same.
    m_windows->fake().messageAnswers << 1;
    frame.findChild<QAction*>(QStringLiteral("FileCloseItem"))->trigger();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(m_windows->fake().messages.size(), 1);
    QCOMPARE(m_windows->fake().messages[0].text, QStringLiteral("Sauver modifications dans 4B.prf ?"));
    QCOMPARE(readFile(QStringLiteral("menu/4B.prf")), QByteArray("0002Fran\xE7\x61is\r\n"));
    QByteArray expected = "12/03/2001G\xE9om\xE9trie\r\n";
    for (int row = 2; row <= 20; ++row)
        expected += row == 19 ? "02/01/1990\r\n" : "01/01/1990\r\n";
    expected += "\r\n";
    QCOMPARE(readFile(QStringLiteral("menu/4B.prd")), expected);
}

QTEST_MAIN(TestDevoirs)
#include "TestDevoirs.moc"
