#include "ClassWindows.h"
#include "FakeSeams.h"
#include "TestFiles.h"
#include "app/MainForm.h"
#include "app/ToolWindows.h"
#include "classbook/CardPage.h"
#include "classbook/CardPhoto.h"
#include "classbook/MDIChild.h"
#include "companions/Obs.h"
#include "widgets/Fonts.h"
#include "widgets/StringGrid.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <optional>

using testfiles::readAll;
using testfiles::writeAll;

namespace {

const QString Name = QStringLiteral("Virelan.obs");

QStringList shown(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

int selectedRow(const QListWidget* list)
{
    const QList<QListWidgetItem*> items = list->selectedItems();
    return items.isEmpty() ? -1 : list->row(items.first());
}

void clickRow(QListWidget* list, int row)
{
    const QRect r = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
}

// Typed key by key; accented letters arrive as the keyboard sends them, as text without a key code of Qt's.
void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 128) {
            QTest::keyClick(widget, c.toLatin1());
            continue;
        }
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

void typeInBox(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    typeText(edit, text);
}

} // namespace

class TestObs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void layout_data();
    void layout();
    void sixteenPixelLines();
    void loadShowsFileOrder();
    void enterOnEmptyBoxAddsEmptyPhrase();
    void enterWithKeypadAndReturn_data();
    void enterWithKeypadAndReturn();
    void enterIsSwallowed();
    void ajouterThenEnterTwiceAddsTwice();
    void selectEditEnterReplacesTwice();
    void arrowKeysFillTheBox();
    void typingDoesNotChangeThePhrase();
    void supprimerDeletesSelected_data();
    void supprimerDeletesSelected();
    void supprimerWithoutSelectionMarksModified();
    void supprimerOnEmptyListDoesNothing();
    void deleteInTheBoxDeletesACharacter();
    void pastedLineBreaksBecomeBlanks();
    void copierWithoutSelectionChoosesNothing();
    void copierTakesTheListPhraseAndStaysOpen();
    void escapeAndEnterOnTheListKeepItOpen();
    void fermerCloses();

    void classWindowReceivesThePhrase();
    void emptyPhraseIsNotHandedOver();
    void cardPageTakesThePhraseAtTheCaret();
    void cardSelectionIsKept();

    void savedAtCloseLoadedAtNextStart();
    void unreadableFileAtStartIsReported();
    void uncreatableFileAtCloseKeepsTheFrameOpen();

private:
    // Opens the dialog for the window as the menu does, running `during` while it is shown.
    void openFor(TMDIChild& child, const std::function<void(TObs*)>& during);

    QString m_oldCwd;
    std::optional<ClassWindows> m_windows;
    TObs* m_obs = nullptr;
};

void TestObs::initTestCase()
{
    fonts::install();
    QApplication::setApplicationName(QStringLiteral("Vire Lan"));
}

void TestObs::init()
{
    m_oldCwd = QDir::currentPath();
    m_windows.emplace();
    QDir::setCurrent(m_windows->folder());
    m_obs = m_windows->shared().Obs;
}

void TestObs::cleanup()
{
    m_windows.reset();
    QDir::setCurrent(m_oldCwd);
}

void TestObs::openFor(TMDIChild& child, const std::function<void(TObs*)>& during)
{
    m_windows->fake().onModal = [&](QDialog* dialog) {
        dialog->show();
        [&] { QVERIFY(QTest::qWaitForWindowExposed(dialog)); }();
        during(static_cast<TObs*>(dialog));
        if (dialog->isVisible())
            QTest::mouseClick(static_cast<TObs*>(dialog)->Button1, Qt::LeftButton);
        return dialog->result();
    };
    child.Observations();
    m_windows->fake().onModal = nullptr;
}

void TestObs::layout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");
    QTest::newRow("Edit1") << "Edit1" << QRect(0, 4, 337, 24) << "";
    QTest::newRow("ListBox1") << "ListBox1" << QRect(0, 32, 337, 311) << "";
    QTest::newRow("Ajouter") << "Button3" << QRect(360, 8, 75, 25) << "Ajouter";
    QTest::newRow("Supprimer") << "Button4" << QRect(360, 48, 75, 25) << "Supprimer";
    QTest::newRow("Copier") << "Button2" << QRect(352, 184, 75, 25) << "Copier";
    QTest::newRow("Fermer") << "Button1" << QRect(352, 224, 75, 25) << "Fermer";
}

void TestObs::layout()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    QCOMPARE(m_obs->windowTitle(), QStringLiteral("Observations"));
    QCOMPARE(m_obs->size(), QSize(446, 343));
    QCOMPARE(m_obs->minimumSize(), m_obs->maximumSize());
    auto* widget = m_obs->findChild<QWidget*>(name);
    QVERIFY(widget);
    QCOMPARE(widget->parentWidget(), m_obs);
    QCOMPARE(widget->geometry(), geometry);
    if (auto* button = qobject_cast<QPushButton*>(widget))
        QCOMPARE(button->text(), text);
    QCOMPARE(m_obs->ListBox1->selectionMode(), QAbstractItemView::SingleSelection);
}

void TestObs::sixteenPixelLines()
{
    writeAll(Name, QByteArray("un\r\ndeux\r\ntrois\r\n"));
    m_obs->Charge();
    m_obs->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_obs));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(m_obs->ListBox1->visualItemRect(m_obs->ListBox1->item(i)).height(), 16);
    QCOMPARE(m_obs->ListBox1->visualItemRect(m_obs->ListBox1->item(2)).top() -
                 m_obs->ListBox1->visualItemRect(m_obs->ListBox1->item(0)).top(),
             32);
}

void TestObs::loadShowsFileOrder()
{
    writeAll(Name, QByteArray("Z dernier alphab\xe9tiquement\nA premier\r\rfin"));
    m_obs->Charge();
    const QStringList expected{QStringLiteral("Z dernier alphabétiquement"), "A premier", "", "fin"};
    QCOMPARE(m_obs->phrases(), expected);
    QCOMPARE(shown(m_obs->ListBox1), expected);
    QVERIFY(!m_obs->isModified());
    QCOMPARE(selectedRow(m_obs->ListBox1), -1);
    // A second load replaces, it does not add.
    writeAll(Name, QByteArray("seule\r\n"));
    m_obs->Charge();
    QCOMPARE(shown(m_obs->ListBox1), QStringList{"seule"});
}

void TestObs::enterOnEmptyBoxAddsEmptyPhrase()
{
    m_obs->show();
    QTest::keyClick(m_obs->Edit1, Qt::Key_Return);
    QCOMPARE(m_obs->phrases(), QStringList{""});
    QCOMPARE(shown(m_obs->ListBox1), QStringList{""});
    QVERIFY(m_obs->isModified());
    QCOMPARE(selectedRow(m_obs->ListBox1), -1);
    m_obs->Sauve();
    QCOMPARE(readAll(Name), QByteArray("\r\n"));
}

void TestObs::enterWithKeypadAndReturn_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
}

void TestObs::enterWithKeypadAndReturn()
{
    QFETCH(int, key);
    m_obs->show();
    typeInBox(m_obs->Edit1, QStringLiteral("Élève agréable"));
    QTest::keyClick(m_obs->Edit1, Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    QCOMPARE(m_obs->phrases(), QStringList{QStringLiteral("Élève agréable")});
    // The box keeps its text, the new phrase is not selected.
    QCOMPARE(m_obs->Edit1->text(), QStringLiteral("Élève agréable"));
    QCOMPARE(selectedRow(m_obs->ListBox1), -1);
}

void TestObs::enterIsSwallowed()
{
    writeAll(Name, QByteArray("a\r\n"));
    m_obs->Charge();
    m_obs->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_obs));
    clickRow(m_obs->ListBox1, 0);
    QTest::mouseClick(m_obs->Button2, Qt::LeftButton); // chosen "a"
    typeInBox(m_obs->Edit1, QStringLiteral("b"));
    QTest::keyClick(m_obs->Edit1, Qt::Key_Return);
    // No button was pressed by the Enter: still open, box and choice as they were, phrase replaced.
    QVERIFY(m_obs->isVisible());
    QCOMPARE(m_obs->Edit1->text(), QStringLiteral("b"));
    QCOMPARE(m_obs->chosenPhrase(), QStringLiteral("a"));
    QCOMPARE(m_obs->phrases(), QStringList{"b"});
}

void TestObs::ajouterThenEnterTwiceAddsTwice()
{
    writeAll(Name, QByteArray("premi\xe8re\r\n"));
    m_obs->Charge();
    m_obs->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_obs));
    clickRow(m_obs->ListBox1, 0);
    QCOMPARE(m_obs->Edit1->text(), QStringLiteral("première"));
    QTest::mouseClick(m_obs->Button3, Qt::LeftButton);
    QCOMPARE(m_obs->Edit1->text(), QString());
    QCOMPARE(selectedRow(m_obs->ListBox1), -1);
    QVERIFY(!m_obs->isModified());
    typeText(m_obs->Edit1, QStringLiteral("Bon trimestre"));
    QTest::keyClick(m_obs->Edit1, Qt::Key_Return);
    QTest::keyClick(m_obs->Edit1, Qt::Key_Return);
    QCOMPARE(shown(m_obs->ListBox1), QStringList({QStringLiteral("première"), "Bon trimestre", "Bon trimestre"}));
    m_obs->Sauve();
    QCOMPARE(readAll(Name), QByteArray("premi\xe8re\r\nBon trimestre\r\nBon trimestre\r\n"));
}

void TestObs::selectEditEnterReplacesTwice()
{
    writeAll(Name, QByteArray("a\r\nb\r\nc\r\n"));
    m_obs->Charge();
    m_obs->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_obs));
    clickRow(m_obs->ListBox1, 1);
    QCOMPARE(m_obs->Edit1->text(), QStringLiteral("b"));
    typeInBox(m_obs->Edit1, QStringLiteral("Des progrès"));
    QTest::keyClick(m_obs->Edit1, Qt::Key_Return);
    QCOMPARE(shown(m_obs->ListBox1), QStringList({"a", QStringLiteral("Des progrès"), "c"}));
    QCOMPARE(selectedRow(m_obs->ListBox1), 1);
    typeText(m_obs->Edit1, QStringLiteral(" réels"));
    QTest::keyClick(m_obs->Edit1, Qt::Key_Return);
    QCOMPARE(m_obs->phrases(), QStringList({"a", QStringLiteral("Des progrès réels"), "c"}));
    QCOMPARE(shown(m_obs->ListBox1), m_obs->phrases());
    QCOMPARE(selectedRow(m_obs->ListBox1), 1);
    QVERIFY(m_obs->isModified());
    m_obs->Sauve();
    QCOMPARE(readAll(Name), QByteArray("a\r\nDes progr\xe8s r\xe9\x65ls\r\nc\r\n"));
}

void TestObs::arrowKeysFillTheBox()
{
    writeAll(Name, QByteArray("un\r\ndeux\r\ntrois\r\n"));
    m_obs->Charge();
    m_obs->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_obs));
    clickRow(m_obs->ListBox1, 0);
    QCOMPARE(m_obs->Edit1->text(), QStringLiteral("un"));
    QTest::keyClick(m_obs->ListBox1, Qt::Key_Down);
    QCOMPARE(m_obs->Edit1->text(), QStringLiteral("deux"));
    QTest::keyClick(m_obs->ListBox1, Qt::Key_End);
    QCOMPARE(m_obs->Edit1->text(), QStringLiteral("trois"));
    QTest::keyClick(m_obs->ListBox1, Qt::Key_Up);
    QCOMPARE(m_obs->Edit1->text(), QStringLiteral("deux"));
    QCOMPARE(selectedRow(m_obs->ListBox1), 1);
    QVERIFY(!m_obs->isModified());
}

void TestObs::typingDoesNotChangeThePhrase()
{
    writeAll(Name, QByteArray("a\r\n"));
    m_obs->Charge();
    m_obs->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_obs));
    clickRow(m_obs->ListBox1, 0);
    typeText(m_obs->Edit1, QStringLiteral("bc"));
    // Only Enter stores.
    QCOMPARE(m_obs->phrases(), QStringList{"a"});
    QVERIFY(!m_obs->isModified());
    m_obs->Sauve();
    QCOMPARE(readAll(Name), QByteArray("a\r\n"));
}

void TestObs::supprimerDeletesSelected_data()
{
    QTest::addColumn<bool>("withKey");
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("button, first") << false << 0 << QStringList{"deux", "trois"};
    QTest::newRow("button, middle") << false << 1 << QStringList{"un", "trois"};
    QTest::newRow("button, last") << false << 2 << QStringList{"un", "deux"};
    QTest::newRow("Delete key, first") << true << 0 << QStringList{"deux", "trois"};
    QTest::newRow("Delete key, last") << true << 2 << QStringList{"un", "deux"};
}

void TestObs::supprimerDeletesSelected()
{
    QFETCH(bool, withKey);
    QFETCH(int, row);
    QFETCH(QStringList, after);
    writeAll(Name, QByteArray("un\r\ndeux\r\ntrois\r\n"));
    m_obs->Charge();
    m_obs->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_obs));
    clickRow(m_obs->ListBox1, row);
    const QString selected = m_obs->Edit1->text();
    if (withKey)
        QTest::keyClick(m_obs->ListBox1, Qt::Key_Delete);
    else
        QTest::mouseClick(m_obs->Button4, Qt::LeftButton);
    QCOMPARE(shown(m_obs->ListBox1), after);
    QCOMPARE(m_obs->phrases(), after);
    QCOMPARE(selectedRow(m_obs->ListBox1), -1);
    // The box keeps the deleted phrase; the neighbour that took its place did not fill it.
    QCOMPARE(m_obs->Edit1->text(), selected);
    QVERIFY(m_obs->isModified());
    // The next Enter therefore adds.
    QTest::keyClick(m_obs->Edit1, Qt::Key_Return);
    QCOMPARE(m_obs->phrases(), after + QStringList{selected});
}

void TestObs::supprimerWithoutSelectionMarksModified()
{
    writeAll(Name, QByteArray("un\ndeux\n"));
    m_obs->Charge();
    m_obs->show();
    QTest::mouseClick(m_obs->Button4, Qt::LeftButton);
    QCOMPARE(m_obs->phrases(), QStringList({"un", "deux"}));
    QVERIFY(m_obs->isModified());
    // So the file is written again, now with CR LF.
    m_obs->Sauve();
    QCOMPARE(readAll(Name), QByteArray("un\r\ndeux\r\n"));

    // Same with the Delete key after "Ajouter" has deselected.
    writeAll(Name, QByteArray("x\n"));
    m_obs->Charge();
    QVERIFY(!m_obs->isModified());
    m_obs->ListBox1->setFocus();
    QTest::keyClick(m_obs->ListBox1, Qt::Key_Delete);
    QVERIFY(m_obs->isModified());
    QCOMPARE(m_obs->phrases(), QStringList{"x"});
}

void TestObs::supprimerOnEmptyListDoesNothing()
{
    m_obs->show();
    QTest::mouseClick(m_obs->Button4, Qt::LeftButton);
    QTest::keyClick(m_obs->ListBox1, Qt::Key_Delete);
    QVERIFY(!m_obs->isModified());
    m_obs->Sauve();
    QVERIFY(!QFile::exists(Name));
}

void TestObs::deleteInTheBoxDeletesACharacter()
{
    writeAll(Name, QByteArray("abc\r\n"));
    m_obs->Charge();
    m_obs->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_obs));
    clickRow(m_obs->ListBox1, 0);
    m_obs->Edit1->setFocus();
    m_obs->Edit1->setCursorPosition(0);
    QTest::keyClick(m_obs->Edit1, Qt::Key_Delete);
    QCOMPARE(m_obs->Edit1->text(), QStringLiteral("bc"));
    QCOMPARE(m_obs->phrases(), QStringList{"abc"});
    QVERIFY(!m_obs->isModified());
}

void TestObs::pastedLineBreaksBecomeBlanks()
{
    m_obs->show();
    QApplication::clipboard()->setText(QStringLiteral("Travail\r\nsérieux\n"));
    m_obs->Edit1->setFocus();
    m_obs->Edit1->paste();
    QTest::keyClick(m_obs->Edit1, Qt::Key_Return);
    // The box holds the line breaks as pasted; the phrase stays one line of the file.
    QCOMPARE(m_obs->Edit1->text(), QStringLiteral("Travail\r\nsérieux\n"));
    QCOMPARE(m_obs->phrases(), QStringList{QStringLiteral("Travail sérieux ")});
    QCOMPARE(shown(m_obs->ListBox1), m_obs->phrases());
    m_obs->Sauve();
    QCOMPARE(readAll(Name), QByteArray("Travail s\xe9rieux \r\n"));
}

void TestObs::copierWithoutSelectionChoosesNothing()
{
    writeAll(Name, QByteArray("un\r\n"));
    m_obs->Charge();
    m_obs->show();
    typeInBox(m_obs->Edit1, QStringLiteral("tapé"));
    QTest::mouseClick(m_obs->Button2, Qt::LeftButton);
    QCOMPARE(m_obs->chosenPhrase(), QString());
    QString target = QStringLiteral("avant");
    m_obs->Result(target);
    QCOMPARE(target, QStringLiteral("avant"));
}

void TestObs::copierTakesTheListPhraseAndStaysOpen()
{
    writeAll(Name, QByteArray("un\r\ndeux\r\n"));
    m_obs->Charge();
    m_obs->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_obs));
    clickRow(m_obs->ListBox1, 1);
    // The phrase in the list counts, not an unsaved edit in the box.
    typeText(m_obs->Edit1, QStringLiteral(" modifié"));
    QTest::mouseClick(m_obs->Button2, Qt::LeftButton);
    QVERIFY(m_obs->isVisible());
    QCOMPARE(m_obs->chosenPhrase(), QStringLiteral("deux"));
    QString target;
    m_obs->Result(target);
    QCOMPARE(target, QStringLiteral("deux"));
    QVERIFY(!m_obs->isModified());
    // A new opening forgets it.
    m_obs->hide();
    m_obs->show();
    QCOMPARE(m_obs->chosenPhrase(), QString());
    QString again = QStringLiteral("gardé");
    m_obs->Result(again);
    QCOMPARE(again, QStringLiteral("gardé"));
}

void TestObs::escapeAndEnterOnTheListKeepItOpen()
{
    writeAll(Name, QByteArray("un\r\n"));
    m_obs->Charge();
    m_obs->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_obs));
    QTest::keyClick(m_obs->Edit1, Qt::Key_Escape);
    QVERIFY(m_obs->isVisible());
    clickRow(m_obs->ListBox1, 0);
    QTest::keyClick(m_obs->ListBox1, Qt::Key_Return);
    // No button took the Enter: nothing added, nothing cleared, still open.
    QVERIFY(m_obs->isVisible());
    QCOMPARE(m_obs->phrases(), QStringList{"un"});
    QCOMPARE(m_obs->Edit1->text(), QStringLiteral("un"));
    QCOMPARE(selectedRow(m_obs->ListBox1), 0);
    // Enter on a button that has the focus presses that button.
    m_obs->Button2->setFocus();
    QTest::keyClick(m_obs->Button2, Qt::Key_Return);
    QCOMPARE(m_obs->chosenPhrase(), QStringLiteral("un"));
    QVERIFY(m_obs->isVisible());
}

void TestObs::fermerCloses()
{
    m_obs->show();
    QVERIFY(m_obs->isVisible());
    QTest::mouseClick(m_obs->Button1, Qt::LeftButton);
    QVERIFY(!m_obs->isVisible());
}

void TestObs::classWindowReceivesThePhrase()
{
    writeAll(Name, QByteArray("Bon travail\r\nPeut mieux faire\r\n"));
    m_obs->Charge();
    TMDIChild& child = *m_windows->open();
    QCOMPARE(child.lastChosenPhrase(), QString());
    openFor(child, [](TObs* obs) {
        clickRow(obs->ListBox1, 1);
        QTest::mouseClick(obs->Button2, Qt::LeftButton);
    });
    QCOMPARE(m_windows->fake().modalShown, QList<QDialog*>{m_obs});
    QCOMPARE(child.lastChosenPhrase(), QStringLiteral("Peut mieux faire"));
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Peut mieux faire"));
    // On the class grid the class itself does not change.
    QVERIFY(!child.isModified());

    // Opened again and closed without "Copier": the window keeps what it received, even with another
    // phrase selected, and the clipboard is left alone.
    QApplication::clipboard()->setText(QStringLiteral("autre chose"));
    openFor(child, [](TObs* obs) {
        QCOMPARE(obs->chosenPhrase(), QString());
        clickRow(obs->ListBox1, 0);
    });
    QCOMPARE(child.lastChosenPhrase(), QStringLiteral("Peut mieux faire"));
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("autre chose"));

    // Another window has its own phrase.
    TMDIChild& other = *m_windows->open();
    openFor(other, [](TObs*) {});
    QCOMPARE(other.lastChosenPhrase(), QString());

    // Opening and closing the dialog wrote nothing.
    QCOMPARE(readAll(Name), QByteArray("Bon travail\r\nPeut mieux faire\r\n"));
}

void TestObs::emptyPhraseIsNotHandedOver()
{
    writeAll(Name, QByteArray("\r\nplein\r\n"));
    m_obs->Charge();
    TMDIChild& child = *m_windows->open();
    openFor(child, [](TObs* obs) {
        clickRow(obs->ListBox1, 1);
        QTest::mouseClick(obs->Button2, Qt::LeftButton);
    });
    QCOMPARE(child.lastChosenPhrase(), QStringLiteral("plein"));
    child.Fiche();
    child.setModified(false);
    openFor(child, [](TObs* obs) {
        clickRow(obs->ListBox1, 0);
        QTest::mouseClick(obs->Button2, Qt::LeftButton);
    });
    QCOMPARE(child.lastChosenPhrase(), QStringLiteral("plein"));
    QCOMPARE(child.card()->remarks()->toPlainText(), QString());
    QVERIFY(!child.isModified());
}

void TestObs::cardPageTakesThePhraseAtTheCaret()
{
    writeAll(Name, QByteArray("tr\xe8s bien\r\n"));
    m_obs->Charge();
    TMDIChild& child = *m_windows->open();
    child.grid()->setCurrent(2, 4); // student 3
    child.Fiche();
    QVERIFY(child.isCardPage());
    child.card()->remarks()->setPlainText(QStringLiteral("Trimestre : \nFin"));
    child.setModified(false);
    QTextCursor cursor = child.card()->remarks()->textCursor();
    cursor.setPosition(12); // after "Trimestre : "
    child.card()->remarks()->setTextCursor(cursor);
    openFor(child, [](TObs* obs) {
        clickRow(obs->ListBox1, 0);
        QTest::mouseClick(obs->Button2, Qt::LeftButton);
    });
    QCOMPARE(child.card()->remarks()->toPlainText(), QStringLiteral("Trimestre : très bien\nFin"));
    QCOMPARE(child.card()->remarks()->textCursor().position(), 21);
    QVERIFY(child.isModified());
    // The remarks reach the student's card in the class.
    child.Classe();
    QCOMPARE(child.table().at(3, ClassTable::Remarks), QStringLiteral("Trimestre : très bien\r\nFin"));

    // Without "Copier" the card is left alone.
    child.Fiche();
    child.setModified(false);
    const QString before = child.card()->remarks()->toPlainText();
    openFor(child, [](TObs* obs) { clickRow(obs->ListBox1, 0); });
    QCOMPARE(child.card()->remarks()->toPlainText(), before);
    QVERIFY(!child.isModified());
}

void TestObs::cardSelectionIsKept()
{
    writeAll(Name, QByteArray("ajout\r\n"));
    m_obs->Charge();
    TMDIChild& child = *m_windows->open();
    child.Fiche();
    child.card()->remarks()->setPlainText(QStringLiteral("garder ceci"));
    child.card()->remarks()->selectAll();
    openFor(child, [](TObs* obs) {
        clickRow(obs->ListBox1, 0);
        QTest::mouseClick(obs->Button2, Qt::LeftButton);
    });
    QCOMPARE(child.card()->remarks()->toPlainText(), QStringLiteral("garder ceciajout"));
}

void TestObs::savedAtCloseLoadedAtNextStart()
{
    QDir().mkdir(QStringLiteral("ailleurs"));
    {
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.FileNewItemClick();
        TObs* obs = form.toolWindows().obs();
        m_windows->fake().onModal = [&](QDialog* dialog) {
            dialog->show();
            for (const QString& p : {QStringLiteral("Bon élève"), QStringLiteral("Sérieux"), QString()}) {
                QTest::mouseClick(obs->Button3, Qt::LeftButton);
                typeText(obs->Edit1, p);
                QTest::keyClick(obs->Edit1, Qt::Key_Return);
            }
            QTest::mouseClick(obs->Button1, Qt::LeftButton);
            return 0;
        };
        form.Observations1Click();
        m_windows->fake().onModal = nullptr;
        // A dialog moved the current folder; the phrases still go to the start-up folder.
        QDir::setCurrent(m_windows->path(QStringLiteral("ailleurs")));
        form.FileExitItemClick();
        QVERIFY(!form.isVisible());
    }
    QCOMPARE(readAll(m_windows->path(Name)), QByteArray("Bon \xe9l\xe8ve\r\nS\xe9rieux\r\n\r\n"));
    QVERIFY(!QFile::exists(m_windows->path(QStringLiteral("ailleurs/") + Name)));

    // Next start, in the same folder.
    {
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        TObs* obs = form.toolWindows().obs();
        QCOMPARE(obs->phrases(), QStringList({QStringLiteral("Bon élève"), QStringLiteral("Sérieux"), ""}));
        QCOMPARE(shown(obs->ListBox1), obs->phrases());
        QVERIFY(!obs->isModified());
        // Quitting without a change leaves the file as it is.
        writeAll(Name, QByteArray("Bon \xe9l\xe8ve\nS\xe9rieux\n\n"));
        form.FileExitItemClick();
    }
    QCOMPARE(readAll(m_windows->path(Name)), QByteArray("Bon \xe9l\xe8ve\nS\xe9rieux\n\n"));
    for (const FakeSeams::Message& m : m_windows->fake().messages)
        QVERIFY2(m.kind != Seams::MessageKind::Error, qPrintable(m.text));
}

void TestObs::unreadableFileAtStartIsReported()
{
    if (!QFile::exists(QStringLiteral("/proc/self/mem")))
        QSKIP("no /proc here");
    QVERIFY(QFile::link(QStringLiteral("/proc/self/mem"), Name));
    {
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(m_windows->fake().messages.size(), 1);
        QCOMPARE(m_windows->fake().messages[0].kind, Seams::MessageKind::Error);
        QCOMPARE(m_windows->fake().messages[0].text, QStringLiteral("Ne peut ouvrir le fichier Virelan.obs"));
        QVERIFY(form.toolWindows().obs()->phrases().isEmpty());
        QVERIFY(form.isVisible());
        form.FileExitItemClick();
        QVERIFY(!form.isVisible());
    }
}

void TestObs::uncreatableFileAtCloseKeepsTheFrameOpen()
{
    {
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(QDir().mkdir(Name));
        QChar enter = QLatin1Char('\r');
        form.toolWindows().obs()->Edit1->setText(QStringLiteral("à garder"));
        form.toolWindows().obs()->Edit1KeyPress(enter);
        // The error, then the question, whose default "&Non" keeps the program open.
        form.FileExitItemClick();
        QCOMPARE(m_windows->fake().messages.size(), 2);
        QCOMPARE(m_windows->fake().messages[0].text, QStringLiteral("Ne peut créer le fichier Virelan.obs"));
        QCOMPARE(m_windows->fake().messages[1].text, QStringLiteral("Quitter sans enregistrer Virelan.obs ?"));
        QVERIFY(form.isVisible());
        // Once the folder is out of the way, quitting again writes the phrases.
        QVERIFY(QDir().rmdir(Name));
        form.FileExitItemClick();
        QVERIFY(!form.isVisible());
    }
    QCOMPARE(readAll(Name), QByteArray("\xe0 garder\r\n"));
}

QTEST_MAIN(TestObs)
#include "TestObs.moc"
