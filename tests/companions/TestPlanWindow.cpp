#include "ClassWindows.h"
#include "FakeSeams.h"
#include "TestFiles.h"
#include "app/ToolWindows.h"
#include "classbook/MDIChild.h"
#include "companions/Plan.h"
#include "companions/PlnEdit.h"
#include "widgets/Fonts.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <QToolButton>
#include <QUndoStack>
#include <memory>
#include <optional>

namespace {

const QColor Brown(192, 128, 80);
const QColor Silver(192, 192, 192);
// The teacher's yes to writing over a file changed elsewhere.
const MayReplace yes = [](const QString&) { return true; };

QColor backgroundOf(const QLabel* label)
{
    return label->palette().color(QPalette::Window);
}

QStringList namesShown(const TPlan* plan)
{
    QStringList names;
    for (int n = 1; n <= plan->plan().count(); ++n)
        names << plan->deskLabel(n)->text();
    return names;
}

} // namespace

class TestPlanWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void layout();
    void nameDialogLayout();
    void nameDialogKeys();
    void addThroughTheDialog();
    void cancelledAddStillMarksModified();
    void thirdEmptyNameIsBureau3InFile();
    void sixtyFirstDeskRefused();
    void clickSelectsSilverWithoutMoving();
    void clickOnEmptyAreaDeselects();
    void doubleClickKeepsSelection();
    void teacherDeskAndToolBarDoNotDeselect();
    void dragWithTheMouse();
    void dragAboveAndLeftRoundTrips();
    void deskUnderToolBarStaysReachable();
    void deskOutsideTheWindowStaysReachable();
    void deleteSecondOfFourWithKey();
    void deleteWithButtonWhileFermerHasFocus();
    void turnWithTheButton();
    void undoAndRedoDesks();
    void selectionSurvivesReopening();
    void escapeAndFermer();
    void planFileNames_data();
    void planFileNames();
    void missingFileKeepsPlanAndFlag();
    void unreadableFileGivesEmptyPlan();
    void secondClassReplacesFirst();
    void changedPlanWrittenBeforeReplaced();
    void loadedDesksLook();
    void sauveRules();
    void writeFailureIsReportedAndWhole();
    void classWindowsKeepTheirOwnPlans();
    void planEditedForNamedClassWithoutFile();
    void planEditedForUnsavedClass();

private:
    QString path(const QString& name) const { return m_windows->path(name); }
    QByteArray readFile(const QString& name) const;
    void writeFile(const QString& name, const QByteArray& bytes) const;
    // Loads a plan file through a class file name; the plan window is shown as a user would see it.
    void loadPlan(const QByteArray& bytes);
    void clickDesk(int n, QPoint at = QPoint(5, 5));
    // Answers the name dialog with a name (or cancels it) whenever it is shown.
    void answerNames(const QStringList& names, bool accept = true);

    std::optional<ClassWindows> m_windows;
    TPlan* m_plan = nullptr;
};

void TestPlanWindow::initTestCase()
{
    fonts::install();
}

void TestPlanWindow::init()
{
    // Every case starts from the program's start-up state: a fresh plan window and name dialog.
    m_windows.emplace();
    m_plan = m_windows->shared().Plan;
}

void TestPlanWindow::cleanup()
{
    m_windows.reset();
}

QByteArray TestPlanWindow::readFile(const QString& name) const
{
    return testfiles::readAll(path(name));
}

void TestPlanWindow::writeFile(const QString& name, const QByteArray& bytes) const
{
    testfiles::writeAll(path(name), bytes);
}

void TestPlanWindow::loadPlan(const QByteArray& bytes)
{
    writeFile(QStringLiteral("6A.prc"), bytes);
    m_plan->Charge(path(QStringLiteral("6A.prf")));
    m_plan->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_plan));
}

void TestPlanWindow::clickDesk(int n, QPoint at)
{
    QLabel* desk = m_plan->deskLabel(n);
    QVERIFY(desk);
    QTest::mouseClick(desk, Qt::LeftButton, Qt::NoModifier, at);
}

void TestPlanWindow::answerNames(const QStringList& names, bool accept)
{
    auto queue = std::make_shared<QStringList>(names);
    m_windows->fake().onModal = [queue, accept](QDialog* dialog) {
        auto* edit = qobject_cast<TPlnEdit*>(dialog);
        if (!edit)
            return int(QDialog::Rejected);
        edit->show();
        // The box is empty when the dialog opens, whatever was typed the last time.
        if (!edit->Edit1->text().isEmpty())
            return -1;
        QTest::keyClicks(edit->Edit1, queue->isEmpty() ? QString() : queue->takeFirst());
        QTest::mouseClick(accept ? edit->Button2 : edit->Button1, Qt::LeftButton);
        return edit->result();
    };
}

void TestPlanWindow::layout()
{
    QCOMPARE(m_plan->windowTitle(), QStringLiteral("Plan de la classe"));
    QCOMPARE(m_plan->size(), QSize(536, 343));
    QCOMPARE(m_plan->minimumSize(), m_plan->maximumSize());
    QCOMPARE(m_plan->palette().color(QPalette::Window), QColor(Qt::white));
    QCOMPARE(m_plan->Panel1->geometry(), QRect(0, 0, 536, 33));
    const QList<std::tuple<QToolButton*, QRect, QString>> buttons = {
        {m_plan->SpeedButton1, QRect(16, 4, 25, 25), QStringLiteral("Ajouter élève")},
        {m_plan->SpeedButton2, QRect(48, 4, 25, 25), QStringLiteral("Supprimer élève")},
        {m_plan->SpeedButton3, QRect(88, 4, 25, 25), QStringLiteral("Tourner table")},
    };
    for (const auto& [button, rect, hint] : buttons) {
        QCOMPARE(button->geometry(), rect);
        QCOMPARE(button->toolTip(), hint);
        QVERIFY(button->autoRaise());
        QVERIFY(!button->icon().isNull());
    }
    QCOMPARE(m_plan->Button1->text(), QStringLiteral("Fermer"));
    QCOMPARE(m_plan->Button1->geometry(), QRect(439, 4, 75, 25));
    QCOMPARE(m_plan->Bureau->text(), QStringLiteral("Bureau"));
    QCOMPARE(m_plan->Bureau->geometry(), QRect(208, 304, 100, 25));
    QVERIFY(m_plan->Bureau->font().bold());
    QCOMPARE(backgroundOf(m_plan->Bureau), Brown);
    QCOMPARE(m_plan->Bureau->palette().color(QPalette::WindowText), QColor(Qt::white));
    const QImage bureau = m_plan->Bureau->grab().toImage();
    QCOMPARE(bureau.pixelColor(0, 0), QColor(Qt::black));
    QCOMPARE(bureau.pixelColor(3, 3), Brown);
    QCOMPARE(m_plan->plan().count(), 0);
    QVERIFY(!m_plan->modified());
    // Centred on the screen, give or take the width of the window's border.
    const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
    m_plan->move(0, 0);
    m_plan->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_plan));
    QVERIFY((m_plan->frameGeometry().center() - screenCentre).manhattanLength() <= 4);
    TPlnEdit* names = m_plan->nameDialog();
    names->move(0, 0);
    names->show();
    QVERIFY(QTest::qWaitForWindowExposed(names));
    QVERIFY((names->frameGeometry().center() - screenCentre).manhattanLength() <= 4);
    names->hide();
}

void TestPlanWindow::nameDialogLayout()
{
    TPlnEdit* d = m_plan->nameDialog();
    QCOMPARE(d->windowTitle(), QStringLiteral("Nom de l'élève"));
    QCOMPARE(d->size(), QSize(306, 65));
    QCOMPARE(d->Edit1->geometry(), QRect(15, 21, 148, 24));
    QCOMPARE(d->Bevel1->geometry(), QRect(8, 8, 169, 49));
    QCOMPARE(d->Button1->text(), QStringLiteral("Annuler"));
    QCOMPARE(d->Button1->geometry(), QRect(212, 4, 75, 25));
    QCOMPARE(d->Button2->text(), QStringLiteral("OK"));
    QCOMPARE(d->Button2->geometry(), QRect(212, 36, 75, 25));
    d->Init(QStringLiteral("Durand"));
    QCOMPARE(d->Edit1->text(), QStringLiteral("Durand"));
}

void TestPlanWindow::nameDialogKeys()
{
    TPlnEdit* d = m_plan->nameDialog();
    d->Init(QString());
    d->setResult(-1);
    d->show();
    QVERIFY(QTest::qWaitForWindowActive(d));
    QCOMPARE(QApplication::focusWidget(), d->Edit1);
    // A comma cannot end up in a name.
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Dupont, Jean"));
    QCOMPARE(d->Edit1->text(), QStringLiteral("Dupont Jean"));
    QTest::keyClick(d->Edit1, Qt::Key_Return);
    QTest::keyClick(d->Edit1, Qt::Key_Enter);
    QVERIFY(d->isVisible());
    QCOMPARE(d->result(), -1);
    QTest::keyClick(d->Edit1, Qt::Key_Escape);
    QVERIFY(!d->isVisible());
    QCOMPARE(d->result(), int(QDialog::Rejected));
}

void TestPlanWindow::addThroughTheDialog()
{
    m_plan->show();
    answerNames({QStringLiteral("Martin Paul")});
    QTest::mouseClick(m_plan->SpeedButton1, Qt::LeftButton);
    QCOMPARE(m_windows->fake().modalShown.size(), 1);
    QCOMPARE(m_windows->fake().modalShown[0], static_cast<QDialog*>(m_plan->nameDialog()));
    QCOMPARE(m_plan->plan().count(), 1);
    QLabel* desk = m_plan->deskLabel(1);
    QCOMPARE(desk->text(), QStringLiteral("Martin Paul"));
    QCOMPARE(desk->geometry(), QRect(200, 180, 100, 25));
    QCOMPARE(desk->alignment(), Qt::AlignCenter);
    // Drawn as the user sees it: a black single line around the brown block.
    const QImage image = desk->grab().toImage();
    QCOMPARE(image.size(), QSize(100, 25));
    for (const QPoint corner : {QPoint(0, 0), QPoint(99, 0), QPoint(0, 24), QPoint(99, 24), QPoint(50, 24)})
        QCOMPARE(image.pixelColor(corner), QColor(Qt::black));
    QCOMPARE(image.pixelColor(2, 2), Brown);
    QCOMPARE(backgroundOf(desk), Brown);
    QCOMPARE(desk->palette().color(QPalette::WindowText), QColor(Qt::white));
    QVERIFY(!desk->font().bold());
    QVERIFY(desk->isVisible());
    QVERIFY(m_plan->modified());
}

void TestPlanWindow::cancelledAddStillMarksModified()
{
    m_plan->show();
    answerNames({QStringLiteral("Personne")}, false);
    QTest::mouseClick(m_plan->SpeedButton1, Qt::LeftButton);
    QCOMPARE(m_plan->plan().count(), 0);
    QVERIFY(m_plan->modified());
    // So the next save-all step writes the plan: an empty file.
    TMDIChild* window = m_windows->open();
    window->Charge(path(QStringLiteral("5B.prf")));
    window->PlanClasse();
    window->SauveTout();
    QCOMPARE(readFile(QStringLiteral("5B.prc")), QByteArray());
    QVERIFY(!m_plan->modified());
}

void TestPlanWindow::thirdEmptyNameIsBureau3InFile()
{
    loadPlan(QByteArray());
    answerNames({QStringLiteral("Ana"), QStringLiteral("Bob"), QString()});
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(m_plan->SpeedButton1, Qt::LeftButton);
    QCOMPARE(namesShown(m_plan), (QStringList{"Ana", "Bob", "Bureau3"}));
    m_plan->Sauve(path(QStringLiteral("6A.prf")));
    QCOMPARE(readFile(QStringLiteral("6A.prc")),
             QByteArray("Ana,200,180,100,25\r\nBob,200,180,100,25\r\nBureau3,200,180,100,25\r\n"));
    QVERIFY(!m_plan->modified());
}

void TestPlanWindow::sixtyFirstDeskRefused()
{
    QByteArray bytes;
    for (int i = 1; i <= 60; ++i)
        bytes += "E" + QByteArray::number(i) + "," + QByteArray::number(i) + ",40,100,25\r\n";
    loadPlan(bytes);
    answerNames({QStringLiteral("Trop")});
    QTest::mouseClick(m_plan->SpeedButton1, Qt::LeftButton);
    QCOMPARE(m_plan->plan().count(), 60);
    QVERIFY(m_windows->fake().modalShown.isEmpty());
    QCOMPARE(m_windows->fake().messages.size(), 1);
    QCOMPARE(m_windows->fake().messages[0].text, QStringLiteral("Le plan compte déjà 60 tables."));
    QVERIFY(!m_plan->modified());
}

void TestPlanWindow::clickSelectsSilverWithoutMoving()
{
    loadPlan("A,20,60,100,25\r\nB,150,60,100,25\r\n");
    QVERIFY(!m_plan->modified());
    clickDesk(2, QPoint(40, 12));
    QCOMPARE(m_plan->plan().selected(), 2);
    QCOMPARE(backgroundOf(m_plan->deskLabel(2)), Silver);
    QCOMPARE(backgroundOf(m_plan->deskLabel(1)), Brown);
    QCOMPARE(m_plan->deskLabel(2)->geometry(), QRect(150, 60, 100, 25));
    QVERIFY(m_plan->modified());
    // Another desk takes the selection.
    clickDesk(1);
    QCOMPARE(m_plan->plan().selected(), 1);
    QCOMPARE(backgroundOf(m_plan->deskLabel(2)), Brown);
    QCOMPARE(backgroundOf(m_plan->deskLabel(1)), Silver);
}

void TestPlanWindow::clickOnEmptyAreaDeselects()
{
    loadPlan("A,20,60,100,25\r\nB,150,60,100,25\r\n");
    clickDesk(1);
    QTest::mouseClick(m_plan, Qt::LeftButton, Qt::NoModifier, QPoint(400, 200));
    QCOMPARE(m_plan->plan().selected(), 0);
    QCOMPARE(backgroundOf(m_plan->deskLabel(1)), Brown);
    QTest::keyClick(m_plan, Qt::Key_Delete);
    QTest::mouseClick(m_plan->SpeedButton3, Qt::LeftButton);
    QTest::mouseClick(m_plan->SpeedButton2, Qt::LeftButton);
    QCOMPARE(namesShown(m_plan), (QStringList{"A", "B"}));
    QCOMPARE(m_plan->deskLabel(1)->geometry(), QRect(20, 60, 100, 25));
}

void TestPlanWindow::doubleClickKeepsSelection()
{
    loadPlan("<b>A</b>,20,60,100,25\r\n");
    QTest::mouseDClick(m_plan->deskLabel(1), Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
    QCOMPARE(m_plan->plan().selected(), 1);
    QCOMPARE(backgroundOf(m_plan->deskLabel(1)), Silver);
    QTest::keyClick(m_plan, Qt::Key_Delete);
    QCOMPARE(m_plan->plan().count(), 0);
    // A double click on the empty area leaves nothing selected.
    writeFile(QStringLiteral("5B.prc"), "<b>A</b>,20,60,100,25\r\n");
    m_plan->Charge(path(QStringLiteral("5B.prf")));
    clickDesk(1);
    QTest::mouseDClick(m_plan, Qt::LeftButton, Qt::NoModifier, QPoint(400, 200));
    QCOMPARE(m_plan->plan().selected(), 0);
    // A name that looks like markup is shown as typed.
    QCOMPARE(m_plan->deskLabel(1)->textFormat(), Qt::PlainText);
    QCOMPARE(m_plan->deskLabel(1)->text(), QStringLiteral("<b>A</b>"));
}

void TestPlanWindow::teacherDeskAndToolBarDoNotDeselect()
{
    loadPlan("A,20,60,100,25\r\n");
    clickDesk(1);
    m_plan->Sauve(path(QStringLiteral("6A.prf")));
    QVERIFY(!m_plan->modified());
    QTest::mouseClick(m_plan->Bureau, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QTest::mouseClick(m_plan->Panel1, Qt::LeftButton, Qt::NoModifier, QPoint(300, 15));
    QCOMPARE(m_plan->plan().selected(), 1);
    QCOMPARE(backgroundOf(m_plan->deskLabel(1)), Silver);
    // Dragging from the teacher's desk moves nothing.
    QTest::mousePress(m_plan->Bureau, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QTest::mouseMove(m_plan, QPoint(20, 100));
    QTest::mouseRelease(m_plan->Bureau, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QCOMPARE(m_plan->Bureau->geometry(), QRect(208, 304, 100, 25));
    QCOMPARE(m_plan->deskLabel(1)->geometry(), QRect(20, 60, 100, 25));
    QVERIFY(!m_plan->modified());
    // A desk dragged onto the teacher's desk lies over it and can be taken again from there.
    QTest::mousePress(m_plan->deskLabel(1), Qt::LeftButton, Qt::NoModifier, QPoint(1, 1));
    QTest::mouseMove(m_plan->deskLabel(1), QPoint(190, 250));
    QTest::mouseRelease(m_plan->deskLabel(1), Qt::LeftButton, Qt::NoModifier, QPoint(1, 1));
    QCOMPARE(m_plan->deskLabel(1)->geometry(), QRect(209, 309, 100, 25));
    QCOMPARE(QApplication::widgetAt(m_plan->mapToGlobal(QPoint(250, 320))),
             static_cast<QWidget*>(m_plan->deskLabel(1)));
}

void TestPlanWindow::dragWithTheMouse()
{
    loadPlan("A,20,60,100,25\r\nB,150,60,100,25\r\n");
    QLabel* desk = m_plan->deskLabel(2);
    QTest::mousePress(desk, Qt::LeftButton, Qt::NoModifier, QPoint(30, 10));
    QCOMPARE(desk->cursor().shape(), Qt::CrossCursor);
    QCOMPARE(m_plan->cursor().shape(), Qt::CrossCursor);
    QCOMPARE(m_plan->plan().grabOffset(), QPoint(30, 10));
    // The move arrives at the desk, relative to it; the grabbed point stays under the mouse.
    QTest::mouseMove(desk, QPoint(130, 110));
    QCOMPARE(desk->geometry(), QRect(250, 160, 100, 25));
    QTest::mouseMove(desk, QPoint(50, 50));
    QCOMPARE(desk->geometry(), QRect(270, 200, 100, 25));
    QTest::mouseRelease(desk, Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    QVERIFY(!m_plan->plan().dragging());
    QVERIFY(!desk->testAttribute(Qt::WA_SetCursor));
    QCOMPARE(m_plan->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(backgroundOf(desk), Silver);
    // Once released, moving the mouse moves nothing.
    QTest::mouseMove(m_plan, QPoint(10, 300));
    QCOMPARE(desk->geometry(), QRect(270, 200, 100, 25));
    QCOMPARE(m_plan->deskLabel(1)->geometry(), QRect(20, 60, 100, 25));
    m_plan->Sauve(path(QStringLiteral("6A.prf")));
    QCOMPARE(readFile(QStringLiteral("6A.prc")), QByteArray("A,20,60,100,25\r\nB,270,200,100,25\r\n"));
}

void TestPlanWindow::dragAboveAndLeftRoundTrips()
{
    loadPlan("A,20,60,100,25\r\n");
    QLabel* desk = m_plan->deskLabel(1);
    QTest::mousePress(desk, Qt::LeftButton, Qt::NoModifier, QPoint(60, 20));
    QTest::mouseMove(desk, QPoint(10, -50));
    QTest::mouseRelease(desk, Qt::LeftButton, Qt::NoModifier, QPoint(10, -50));
    QCOMPARE(desk->geometry(), QRect(-30, -10, 100, 25));
    m_plan->Sauve(path(QStringLiteral("6A.prf")));
    QCOMPARE(readFile(QStringLiteral("6A.prc")), QByteArray("A,-30,-10,100,25\r\n"));
    m_plan->Charge(path(QStringLiteral("6A.prf")));
    QCOMPARE(m_plan->deskLabel(1)->geometry(), QRect(-30, -10, 100, 25));
    QCOMPARE(m_plan->plan().selected(), 0);
    QCOMPARE(backgroundOf(m_plan->deskLabel(1)), Brown);
}

void TestPlanWindow::deskUnderToolBarStaysReachable()
{
    loadPlan("A,150,-10,100,25\r\n");
    QLabel* desk = m_plan->deskLabel(1);
    // Dragged up beyond the window, the grabbed point stays inside: the desk stays in view under the tool bar.
    QTest::mousePress(desk, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(desk, QPoint(10, -200));
    QTest::mouseRelease(desk, Qt::LeftButton, {}, QPoint(10, -200));
    QCOMPARE(desk->geometry(), QRect(150, -10, 100, 25));
    // It shows over the tool bar, where it is selected again and deleted.
    QTest::mouseClick(m_plan, Qt::LeftButton, {}, QPoint(400, 200));
    QWidget* onToolBar = QApplication::widgetAt(m_plan->mapToGlobal(QPoint(200, 5)));
    QCOMPARE(onToolBar, static_cast<QWidget*>(desk));
    QTest::mouseClick(onToolBar, Qt::LeftButton);
    QTest::keyClick(m_plan, Qt::Key_Delete);
    QCOMPARE(m_plan->plan().count(), 0);
}

void TestPlanWindow::deskOutsideTheWindowStaysReachable()
{
    loadPlan("Loin,5000,-300,100,25\r\n");
    QLabel* desk = m_plan->deskLabel(1);
    // It shows at the window's edge; taken there, it is dragged back into the room.
    QCOMPARE(desk->geometry(), QRect(436, 33, 100, 25));
    QTest::mousePress(desk, Qt::LeftButton, {}, QPoint(5, 20));
    QTest::mouseMove(desk, QPoint(-295, 220));
    QTest::mouseRelease(desk, Qt::LeftButton, {}, QPoint(-295, 220));
    m_plan->Sauve(path(QStringLiteral("6A.prf")));
    QCOMPARE(readFile(QStringLiteral("6A.prc")), QByteArray("Loin,136,233,100,25\r\n"));
}

void TestPlanWindow::deleteSecondOfFourWithKey()
{
    loadPlan("Un,10,40,100,25\r\nDeux,10,80,100,25\r\nTrois,10,120,25,100\r\nQuatre,200,40,100,25\r\n");
    clickDesk(2);
    QTest::keyClick(m_plan, Qt::Key_Delete);
    QCOMPARE(namesShown(m_plan), (QStringList{"Un", "Trois", "Quatre"}));
    QCOMPARE(m_plan->deskLabel(2)->geometry(), QRect(10, 120, 25, 100));
    QCOMPARE(m_plan->findChildren<QLabel*>(QStringLiteral("Desk4")).size(), 0);
    QCOMPARE(m_plan->plan().selected(), 0);
    for (int n = 1; n <= 3; ++n)
        QCOMPARE(backgroundOf(m_plan->deskLabel(n)), Brown);
    // Nothing selected any more: a second Delete removes nothing.
    QTest::keyClick(m_plan, Qt::Key_Delete);
    QCOMPARE(m_plan->plan().count(), 3);
    m_plan->Sauve(path(QStringLiteral("6A.prf")));
    QCOMPARE(readFile(QStringLiteral("6A.prc")),
             QByteArray("Un,10,40,100,25\r\nTrois,10,120,25,100\r\nQuatre,200,40,100,25\r\n"));
}

void TestPlanWindow::deleteWithButtonWhileFermerHasFocus()
{
    loadPlan("Un,10,40,100,25\r\nDeux,10,80,100,25\r\n");
    clickDesk(1);
    m_plan->Button1->setFocus();
    QTest::keyClick(m_plan->Button1, Qt::Key_Delete);
    QCOMPARE(namesShown(m_plan), (QStringList{"Deux"}));
    QVERIFY(m_plan->isVisible());
    clickDesk(1);
    QTest::mouseClick(m_plan->SpeedButton2, Qt::LeftButton);
    QCOMPARE(m_plan->plan().count(), 0);
    m_plan->Sauve(path(QStringLiteral("6A.prf")));
    QCOMPARE(readFile(QStringLiteral("6A.prc")), QByteArray());
}

void TestPlanWindow::turnWithTheButton()
{
    loadPlan("Lu,10,40,80,30\r\n");
    answerNames({QStringLiteral("Neuf")});
    QTest::mouseClick(m_plan->SpeedButton1, Qt::LeftButton);
    clickDesk(1);
    QTest::mouseClick(m_plan->SpeedButton3, Qt::LeftButton);
    QCOMPARE(m_plan->deskLabel(1)->geometry(), QRect(10, 40, 100, 25));
    clickDesk(2);
    QTest::mouseClick(m_plan->SpeedButton3, Qt::LeftButton);
    QCOMPARE(m_plan->deskLabel(2)->geometry(), QRect(200, 180, 25, 100));
    QTest::mouseClick(m_plan->SpeedButton3, Qt::LeftButton);
    QCOMPARE(m_plan->deskLabel(2)->geometry(), QRect(200, 180, 100, 25));
    QCOMPARE(backgroundOf(m_plan->deskLabel(2)), Silver);
}

// Desks added, moved, turned and removed: Ctrl+Z takes each back, Ctrl+Y makes it again; a click that moves nothing is
// no step. A plan read from a file forgets the steps of the plan before.
void TestPlanWindow::undoAndRedoDesks()
{
    loadPlan("A,20,60,100,25\r\nB,150,60,100,25\r\n");
    m_plan->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_plan));
    QList<QByteArray> states{m_plan->plan().toBytes()};
    answerNames({QStringLiteral("C")});
    QTest::mouseClick(m_plan->SpeedButton1, Qt::LeftButton);
    states << m_plan->plan().toBytes();
    QTest::mousePress(m_plan->deskLabel(1), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseMove(m_plan->deskLabel(1), QPoint(45, 85));
    QTest::mouseRelease(m_plan->deskLabel(1), Qt::LeftButton, Qt::NoModifier, QPoint(45, 85));
    states << m_plan->plan().toBytes();
    clickDesk(2);
    QTest::mouseClick(m_plan->SpeedButton3, Qt::LeftButton);
    states << m_plan->plan().toBytes();
    clickDesk(1);
    QTest::keyClick(m_plan, Qt::Key_Delete);
    states << m_plan->plan().toBytes();
    QCOMPARE(states.last(), "B,150,60,25,100\r\nC,200,180,100,25\r\n");
    for (qsizetype i = states.size() - 1; i > 0; --i) {
        QTest::keyClick(m_plan, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(m_plan->plan().toBytes(), states[i - 1]);
    }
    QCOMPARE(namesShown(m_plan), QStringList({"A", "B"}));
    for (qsizetype i = 1; i < states.size(); ++i) {
        QTest::keyClick(m_plan, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(m_plan->plan().toBytes(), states[i]);
    }
    QCOMPARE(namesShown(m_plan), QStringList({"B", "C"}));
    QVERIFY(m_plan->modified());
    writeFile(QStringLiteral("6B.prc"), "D,0,40,100,25\r\n");
    m_plan->Charge(path(QStringLiteral("6B.prf")));
    QCOMPARE(namesShown(m_plan), QStringList({"D"}));
    QVERIFY(!m_plan->history()->canUndo());
}

void TestPlanWindow::selectionSurvivesReopening()
{
    loadPlan("A,20,60,100,25\r\nB,150,60,100,25\r\n");
    clickDesk(2);
    QTest::mouseClick(m_plan->Button1, Qt::LeftButton);
    QVERIFY(!m_plan->isVisible());
    m_plan->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_plan));
    QCOMPARE(m_plan->plan().selected(), 2);
    QCOMPARE(backgroundOf(m_plan->deskLabel(2)), Silver);
    QTest::mouseClick(m_plan->SpeedButton3, Qt::LeftButton);
    QCOMPARE(m_plan->deskLabel(2)->geometry(), QRect(150, 60, 25, 100));
}

void TestPlanWindow::escapeAndFermer()
{
    loadPlan("A,20,60,100,25\r\n");
    QTest::keyClick(m_plan, Qt::Key_Escape);
    QVERIFY(m_plan->isVisible());
    QTest::mouseClick(m_plan->Button1, Qt::LeftButton);
    QVERIFY(!m_plan->isVisible());
    // Closing saves nothing.
    QCOMPARE(readFile(QStringLiteral("6A.prc")), QByteArray("A,20,60,100,25\r\n"));
}

void TestPlanWindow::planFileNames_data()
{
    QTest::addColumn<QString>("classFile");
    QTest::addColumn<QString>("planFile");
    QTest::newRow("prf") << "6A.prf"
                         << "6A.prc";
    QTest::newRow("no dot") << "6A"
                            << "6A.prc";
    QTest::newRow("dotted folder") << "Cours.2001/6A.prf"
                                   << "Cours.2001/6A.prc";
    QTest::newRow("dotted folder, no dot") << "Cours.2001/6A"
                                           << "Cours.2001/6A.prc";
    QTest::newRow("two dots") << "Cours.2001/6A.old.prf"
                              << "Cours.2001/6A.old.prc";
}

void TestPlanWindow::planFileNames()
{
    QFETCH(QString, classFile);
    QFETCH(QString, planFile);
    QVERIFY(QDir(m_windows->folder()).mkpath(QStringLiteral("Cours.2001")));
    writeFile(planFile, "Lu,1,2,3,4\r\n");
    m_plan->Charge(path(classFile));
    QCOMPARE(namesShown(m_plan), QStringList{"Lu"});
    clickDesk(1);
    // Removed meanwhile, and the teacher says to write it again.
    QFile::remove(path(planFile));
    m_plan->Sauve(path(classFile), nullptr, yes);
    QCOMPARE(readFile(planFile), QByteArray("Lu,1,2,3,4\r\n"));
    QCOMPARE(QDir(m_windows->folder()).entryList(QDir::Files).size(), planFile.contains('/') ? 0 : 1);
}

void TestPlanWindow::missingFileKeepsPlanAndFlag()
{
    loadPlan("A,20,60,100,25\r\n");
    clickDesk(1);
    m_plan->Charge(path(QStringLiteral("Autre.prf")));
    QCOMPARE(namesShown(m_plan), QStringList{"A"});
    QVERIFY(m_plan->modified());
    QCOMPARE(m_plan->plan().selected(), 1);
    m_plan->Sauve(path(QStringLiteral("6A.prf")));
    QVERIFY(!m_plan->modified());
    m_plan->Charge(path(QStringLiteral("Autre.prf")));
    QVERIFY(!m_plan->modified());
    QCOMPARE(namesShown(m_plan), QStringList{"A"});
}

void TestPlanWindow::unreadableFileGivesEmptyPlan()
{
    loadPlan("A,20,60,100,25\r\nB,1,1,100,25\r\n");
    clickDesk(1);
    // A folder where the plan file should be exists but cannot be read as a file.
    QVERIFY(QDir(m_windows->folder()).mkdir(QStringLiteral("5C.prc")));
    QCOMPARE(testfiles::errorOf([&] { m_plan->Charge(path(QStringLiteral("5C.prf"))); }),
             QStringLiteral("Ne peut ouvrir le fichier ") + path(QStringLiteral("5C.prc")));
    QCOMPARE(m_plan->plan().count(), 0);
    QVERIFY(m_plan->findChildren<QLabel*>(QRegularExpression(QStringLiteral("^Desk"))).isEmpty());
    QVERIFY(!m_plan->modified());
    QCOMPARE(m_plan->plan().selected(), 0);
}

void TestPlanWindow::secondClassReplacesFirst()
{
    loadPlan("A,1,1,100,25\r\nB,2,2,100,25\r\nC,3,3,100,25\r\nD,4,4,100,25\r\nE,5,5,100,25\r\n");
    QCOMPARE(m_plan->plan().count(), 5);
    clickDesk(4);
    writeFile(QStringLiteral("5B.prc"), "X,10,20,100,25\r\nY,30,40,25,100\r\n");
    m_plan->Charge(path(QStringLiteral("5B.prf")));
    QCOMPARE(namesShown(m_plan), (QStringList{"X", "Y"}));
    QCOMPARE(m_plan->findChildren<QLabel*>(QRegularExpression(QStringLiteral("^Desk"))).size(), 2);
    QCOMPARE(m_plan->deskLabel(2)->geometry(), QRect(30, 40, 25, 100));
    QCOMPARE(m_plan->plan().selected(), 0);
    QVERIFY(!m_plan->modified());
}

void TestPlanWindow::changedPlanWrittenBeforeReplaced()
{
    loadPlan("A,20,60,100,25\r\n");
    QLabel* desk = m_plan->deskLabel(1);
    QTest::mousePress(desk, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QTest::mouseMove(desk, QPoint(30, 50));
    QTest::mouseRelease(desk, Qt::LeftButton, Qt::NoModifier, QPoint(30, 50));
    writeFile(QStringLiteral("5B.prc"), "B,1,1,100,25\r\n");
    m_plan->Charge(path(QStringLiteral("5B.prf")));
    QCOMPARE(readFile(QStringLiteral("6A.prc")), QByteArray("A,40,100,100,25\r\n"));
    QCOMPARE(namesShown(m_plan), QStringList{"B"});
    QVERIFY(!m_plan->modified());
    // An unchanged plan is simply replaced.
    writeFile(QStringLiteral("6A.prc"), "A,0,0,1,1\r\n");
    m_plan->Charge(path(QStringLiteral("6A.prf")));
    QCOMPARE(readFile(QStringLiteral("5B.prc")), QByteArray("B,1,1,100,25\r\n"));
    QCOMPARE(namesShown(m_plan), QStringList{"A"});
}

void TestPlanWindow::loadedDesksLook()
{
    loadPlan("Martin,10,20\r\n\r\nZo\xe9,-5,50,100,25\r\n");
    QCOMPARE(namesShown(m_plan), (QStringList{"Martin", "Bureau2", "Zoé"}));
    QCOMPARE(m_plan->deskLabel(1)->geometry(), QRect(10, 0, 65, 17));
    QCOMPARE(m_plan->deskLabel(2)->geometry(), QRect(0, 0, 65, 17));
    QCOMPARE(m_plan->deskLabel(3)->geometry(), QRect(-5, 50, 100, 25));
    for (int n = 1; n <= 3; ++n) {
        QCOMPARE(backgroundOf(m_plan->deskLabel(n)), Brown);
        QCOMPARE(m_plan->deskLabel(n)->alignment(), Qt::AlignCenter);
    }
    // A desk loaded at the top left lies under the tool bar, which stays usable.
    QCOMPARE(QApplication::widgetAt(m_plan->mapToGlobal(QPoint(20, 16))), static_cast<QWidget*>(m_plan->SpeedButton1));
    // The name given to an unnamed desk is written back.
    clickDesk(3);
    m_plan->Sauve(path(QStringLiteral("6A.prf")));
    QCOMPARE(readFile(QStringLiteral("6A.prc")),
             QByteArray("Martin,10,0,65,17\r\nBureau2,0,0,65,17\r\nZo\xe9,-5,50,100,25\r\n"));
}

void TestPlanWindow::sauveRules()
{
    loadPlan("A,1,2,100,25\r\n");
    QFile::remove(path(QStringLiteral("6A.prc")));
    m_plan->Sauve(path(QStringLiteral("6A.prf")));
    QCOMPARE(readFile(QStringLiteral("6A.prc")), QByteArray("<missing>"));
    clickDesk(1);
    m_plan->Sauve(QString());
    QVERIFY(m_plan->modified());
    m_plan->Sauve(path(QStringLiteral("6A")));
    QVERIFY(m_plan->modified());
    m_plan->Sauve(path(QStringLiteral("6A")), nullptr, yes);
    QCOMPARE(readFile(QStringLiteral("6A.prc")), QByteArray("A,1,2,100,25\r\n"));
    QVERIFY(!m_plan->modified());
    // Written once: a second save of the unchanged plan leaves the file alone.
    writeFile(QStringLiteral("6A.prc"), "touched");
    m_plan->Sauve(path(QStringLiteral("6A.prf")));
    QCOMPARE(readFile(QStringLiteral("6A.prc")), QByteArray("touched"));
}

void TestPlanWindow::writeFailureIsReportedAndWhole()
{
    loadPlan("A,1,2,100,25\r\n");
    clickDesk(1);
    QFile::remove(path(QStringLiteral("6A.prc")));
    QVERIFY(QDir(m_windows->folder()).mkdir(QStringLiteral("6A.prc")));
    QCOMPARE(testfiles::errorOf([&] { m_plan->Sauve(path(QStringLiteral("6A.prf")), nullptr, yes); }),
             QStringLiteral("Ne peut créer le fichier ") + path(QStringLiteral("6A.prc")));
    QVERIFY(QFileInfo(path(QStringLiteral("6A.prc"))).isDir());
    QCOMPARE(QDir(m_windows->folder()).entryList(QDir::Files | QDir::Hidden), QStringList());
    // The plan was not written: the next save tries again.
    QVERIFY(m_plan->modified());
    QVERIFY(QDir(m_windows->folder()).rmdir(QStringLiteral("6A.prc")));
    m_plan->Sauve(path(QStringLiteral("6A.prf")), nullptr, yes);
    QCOMPARE(readFile(QStringLiteral("6A.prc")), QByteArray("A,1,2,100,25\r\n"));
}

void TestPlanWindow::classWindowsKeepTheirOwnPlans()
{
    writeFile(QStringLiteral("6A.prc"), "A1,10,40,100,25\r\nA2,10,80,100,25\r\n");
    TMDIChild* classA = m_windows->open();
    classA->Charge(path(QStringLiteral("6A.prf")));
    TMDIChild* classB = m_windows->open();
    classB->Charge(path(QStringLiteral("5B.prf"))); // no plan file: the plan of 6A stays shown
    QCOMPARE(namesShown(m_plan), (QStringList{"A1", "A2"}));

    // Edited from the window of 5B, the plan is still that of 6A.
    m_windows->fake().onModal = [this](QDialog* dialog) {
        if (dialog != m_plan)
            return int(QDialog::Rejected);
        dialog->show();
        QTest::mouseClick(m_plan->deskLabel(2), Qt::LeftButton);
        QTest::keyClick(m_plan, Qt::Key_Delete);
        dialog->close();
        return dialog->result();
    };
    classB->PlanClasse();
    QCOMPARE(m_windows->fake().modalShown.size(), 1);
    QCOMPARE(namesShown(m_plan), QStringList{"A1"});
    classB->SauveTout();
    QCOMPARE(readFile(QStringLiteral("5B.prc")), QByteArray("<missing>"));
    QVERIFY(m_plan->modified());
    classA->SauveTout();
    QCOMPARE(readFile(QStringLiteral("6A.prc")), QByteArray("A1,10,40,100,25\r\n"));

    // Loading a third class with its own plan hands the plan to it; 6A's file is never written again.
    writeFile(QStringLiteral("4C.prc"), "C1,1,1,100,25\r\n");
    TMDIChild* classC = m_windows->open();
    classC->Charge(path(QStringLiteral("4C.prf")));
    m_windows->fake().onModal = nullptr;
    classA->PlanClasse();
    QCOMPARE(namesShown(m_plan), QStringList{"C1"});
    clickDesk(1);
    classA->SauveTout();
    QCOMPARE(readFile(QStringLiteral("6A.prc")), QByteArray("A1,10,40,100,25\r\n"));
    classC->SauveTout();
    QCOMPARE(readFile(QStringLiteral("4C.prc")), QByteArray("C1,1,1,100,25\r\n"));
    QVERIFY(!m_plan->modified());
}

void TestPlanWindow::planEditedForNamedClassWithoutFile()
{
    TMDIChild* classN = m_windows->open();
    classN->Charge(path(QStringLiteral("3N.prf")));
    TMDIChild* classM = m_windows->open();
    classM->Charge(path(QStringLiteral("3M.prf")));
    // Shown from 3M without a change, the plan of start-up stays free.
    classM->PlanClasse();
    answerNames({QStringLiteral("Nina")});
    auto names = m_windows->fake().onModal;
    m_windows->fake().onModal = [this, names](QDialog* dialog) {
        if (dialog != m_plan)
            return names(dialog);
        QTest::mouseClick(m_plan->SpeedButton1, Qt::LeftButton);
        return int(QDialog::Rejected);
    };
    classN->PlanClasse();
    QCOMPARE(namesShown(m_plan), QStringList{"Nina"});
    classM->SauveTout();
    QCOMPARE(readFile(QStringLiteral("3M.prc")), QByteArray("<missing>"));
    classN->SauveTout();
    QCOMPARE(readFile(QStringLiteral("3N.prc")), QByteArray("Nina,200,180,100,25\r\n"));
}

void TestPlanWindow::planEditedForUnsavedClass()
{
    TMDIChild* fresh = m_windows->open();
    fresh->Nouveau();
    TMDIChild* named = m_windows->open();
    named->Charge(path(QStringLiteral("2N.prf")));
    answerNames({QString()});
    auto names = m_windows->fake().onModal;
    m_windows->fake().onModal = [this, names](QDialog* dialog) {
        if (dialog != m_plan)
            return names(dialog);
        QTest::mouseClick(m_plan->SpeedButton1, Qt::LeftButton);
        return int(QDialog::Rejected);
    };
    fresh->PlanClasse();
    QCOMPARE(namesShown(m_plan), QStringList{"Bureau1"});
    // Only its plan changed, and closing it asks first: "Annuler" keeps it open.
    QVERIFY(!fresh->isModified());
    m_windows->fake().messageAnswers << 2;
    QVERIFY(!fresh->close());
    QCOMPARE(m_windows->fake().messages.size(), 1);
    QVERIFY(m_windows->fake().messages[0].text.startsWith("Sauver modifications dans "));
    named->SauveTout();
    fresh->SauveTout(); // never saved: no name, nothing written
    QCOMPARE(QDir(m_windows->folder()).entryList(QDir::Files), QStringList());
    // Its first save under a name gives the plan its file.
    m_windows->fake().saveAnswers << Seams::SaveChoice{path(QStringLiteral("1F.prf")), 1};
    fresh->Sauve();
    fresh->SauveTout();
    QCOMPARE(readFile(QStringLiteral("1F.prc")), QByteArray("Bureau1,200,180,100,25\r\n"));
    QCOMPARE(readFile(QStringLiteral("2N.prc")), QByteArray("<missing>"));
    clickDesk(1);
    named->SauveTout();
    QCOMPARE(readFile(QStringLiteral("2N.prc")), QByteArray("<missing>"));
}

QTEST_MAIN(TestPlanWindow)
#include "TestPlanWindow.moc"
