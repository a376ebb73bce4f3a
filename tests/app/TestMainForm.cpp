#include "FakeSeams.h"
#include "Rows.h"
#include "TestFiles.h"
#include "analysis/Graph.h"
#include "app/AboutBox.h"
#include "app/HelpWindow.h"
#include "app/MainForm.h"
#include "app/ToolWindows.h"
#include "classbook/CardPage.h"
#include "classbook/MDIChild.h"
#include "companions/Obs.h"
#include "companions/Plan.h"
#include "companions/Planning.h"
#include "companions/PlnEdit.h"
#include "companions/PrjEdit.h"
#include "tools/Blocnotes.h"
#include "tools/Calendrier.h"
#include "widgets/Fonts.h"
#include "widgets/StringGrid.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

class TestMainForm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void menuTree_data();
    void menuTree();
    void toolBar_data();
    void toolBar();
    void enablingRule_data();
    void enablingRule();
    void undoAndRedoEntries();
    void windowsGoWithTheFrame();
    void captions();
    void openCancelledCreatesNothing();
    void openCaptionIsFileName();
    void filesNamedAtStartUpOpenAsOuvrir();
    void filesNamedThatAreNoClass_data();
    void filesNamedThatAreNoClass();
    void hintAndClock();
    void clockPanelFollowsWidth();
    void minimiseAll();
    void unreadableNotesKeepThePhrases();
    void notesReadAtStartUpShowWhenOpened();
    void commandsWithoutWindowDoNothing();
    void ctrlXQuitsFromACardField();
    void quitAsksEveryWindowAndAnnulerKeepsRunning();
    void quitWithoutChangesWritesNoNotes();
    void quitAfterAFailedWrite_data();
    void quitAfterAFailedWrite();

private:
    TMainForm* m_form = nullptr;
    QTemporaryDir m_dir;
};

void TestMainForm::initTestCase()
{
    fonts::install();
    QApplication::setApplicationName(QStringLiteral("Vire Lan"));
    QDir::setCurrent(m_dir.path());
}

void TestMainForm::init()
{
    m_form = new TMainForm;
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
}

void TestMainForm::cleanup()
{
    for (TMDIChild* child : m_form->classWindows())
        child->setModified(false);
    delete m_form;
    m_form = nullptr;
}

void TestMainForm::menuTree_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<QString>("hint");
    QTest::newRow("open") << "FileOpenItem" << "&Ouvrir..." << "Ctrl+O" << "Ouvrir un fichier existant";
    QTest::newRow("save") << "FileSaveItem" << "&Enregistrer" << "Ctrl+S" << "Enregistrer le fichier en cours";
    QTest::newRow("save as") << "FileSaveAsItem" << "Enregistrer &sous..." << ""
                             << "Enregistrer le fichier en cours sous...";
    QTest::newRow("quit") << "FileExitItem" << "&Quitter" << "Ctrl+X" << "Quitter l'application";
    QTest::newRow("copy") << "CopyItem" << "Co&pier" << "Ctrl+C" << "Copier dans le Presse-papiers";
    QTest::newRow("paste") << "PasteItem" << "C&oller" << "Ctrl+V" << "Coller depuis le Presse-papiers";
    QTest::newRow("averages") << "Calculermoyennes1" << "&Calculer moyennes" << "" << "";
    QTest::newRow("phrases") << "Observations1" << "&Appréciations" << "" << "Liste des appréciaitons";
    QTest::newRow("cascade") << "WindowCascadeItem" << "&Cascade" << ""
                             << "Disposer les fenêtre de façon qu'elles se recouvrent";
    QTest::newRow("about") << "HelpAboutItem" << "&A propos" << "" << "Informations sur le logiciel, la version";
    QTest::newRow("versions") << "Versionsprcdentes1" << "&Versions précédentes..." << ""
                              << "Revoir les versions enregistrées de la classe et en restaurer une";
}

void TestMainForm::menuTree()
{
    QFETCH(QString, object);
    QFETCH(QString, caption);
    QFETCH(QString, shortcut);
    QFETCH(QString, hint);
    QAction* a = m_form->action(object);
    QVERIFY(a);
    QCOMPARE(a->text(), caption);
    QCOMPARE(a->shortcut().toString(), shortcut);
    QCOMPARE(a->statusTip(), hint);
}

// Each button runs the command of a menu entry, with a hint of its own.
void TestMainForm::toolBar_data()
{
    rows::add({"SpeedButton1 | 8 | Nouveau | &Nouveau", "OpenBtn | 33 | Ouvrir | &Ouvrir...",
               "SaveBtn | 58 | Enregistrer | &Enregistrer", "SpeedButton6 | 83 | Imprimer | &Imprimer...",
               "CopyBtn | 111 | Copier | Co&pier", "PasteBtn | 136 | Coller | C&oller",
               "SpeedButton2 | 169 | Classe | &Classe", "SpeedButton3 | 194 | Fiche élève | &Fiche élève",
               "SpeedButton4 | 227 | Calculer moyennes | &Calculer moyennes",
               "SpeedButton5 | 252 | Graphique des moyennes | Afficher &graphique",
               "SpeedButton7 | 277 | Suivi d'un élève | &Suivi d'un élève",
               "SpeedButton8 | 302 | Dates des devoirs | &Dates des devoirs"});
}

void TestMainForm::toolBar()
{
    const QStringList row = rows::fields();
    FakeSeams fake;
    QToolButton* b = m_form->button(row[0]);
    QVERIFY(b);
    QCOMPARE(b->geometry(), QRect(row[1].toInt(), 4, 25, 25));
    QVERIFY(!b->icon().isNull());
    QCOMPARE(b->defaultAction()->text(), row[3]);
    // Its own hint stays when the command is enabled, in the tool tip and in the status bar.
    m_form->FileNewItemClick();
    QVERIFY(b->isEnabled());
    QCOMPARE(b->toolTip(), row[2]);
    QTest::mouseMove(b);
    QTRY_COMPARE(m_form->statusPanel(0)->text(), row[2]);
}

// Every menu entry and tool button as the teacher sees it: all enabled while a class is open, all disabled while
// none is but these.
void TestMainForm::enablingRule_data()
{
    QTest::addColumn<int>("open");
    QTest::newRow("at start-up") << 0;
    QTest::newRow("a class open") << 1;
    QTest::newRow("the last one closed") << 2;
}

void TestMainForm::enablingRule()
{
    QFETCH(int, open);
    FakeSeams fake;
    // The menu entries never disabled, then the two tool buttons.
    const QStringList neverDisabled{"&Nouveau",  "&Ouvrir...",       "&Configurer imprimante...",
                                    "&Quitter",  "&Calendrier",      "C&alculatrice",
                                    "&Horloge",  "&Euro conversion", "&Bloc-notes",
                                    "&Sommaire", "&Rechercher",      "&Utiliser l'aide",
                                    "&A propos", "Nouveau",          "Ouvrir"};
    if (open >= 1)
        m_form->FileNewItemClick();
    if (open == 2) {
        m_form->FileCloseItemClick();
        QTRY_VERIFY(m_form->classWindows().isEmpty());
    }
    QStringList seen;
    // Undo and redo follow the class's steps: none yet.
    const QStringList history{"&Annuler", "&Rétablir"};
    const auto check = [&](const QString& shown, bool enabled) {
        seen << shown;
        QVERIFY2(enabled == ((open == 1 && !history.contains(shown)) || neverDisabled.contains(shown)),
                 qPrintable(shown));
    };
    for (QAction* top : m_form->menuBar()->actions()) {
        QVERIFY2(top->isEnabled(), qPrintable(top->text()));
        for (QAction* entry : top->menu()->actions())
            if (!entry->isSeparator())
                check(entry->text(), entry->isEnabled());
    }
    for (auto* button : m_form->findChild<QWidget*>("SpeedPanel")->findChildren<QToolButton*>())
        check(button->toolTip(), button->isEnabled());
    for (const QString& shown : neverDisabled)
        QVERIFY2(seen.count(shown) == 1, qPrintable(shown));
}

// "&Annuler" and "&Rétablir" head the Edit menu and name the step they would take back or make again. Ctrl+Z in a field
// typed into takes back the typing there first, then the class's steps.
void TestMainForm::undoAndRedoEntries()
{
    FakeSeams fake;
    QStringList entries;
    for (QAction* entry : m_form->findChild<QMenu*>("Edit1")->actions())
        entries << (entry->isSeparator() ? "-" : entry->text() + " " + entry->shortcut().toString());
    QCOMPARE(entries, QStringList({"&Annuler Ctrl+Z", "&Rétablir Ctrl+Y", "-", "Co&pier Ctrl+C", "C&oller Ctrl+V", "-",
                                   "&Supprimer ligne/fiche ", "Supprimer &photo "}));
    QAction* undo = m_form->action("UndoItem");
    QAction* redo = m_form->action("RedoItem");
    QCOMPARE(redo->shortcuts().value(1), QKeySequence("Ctrl+Shift+Z"));
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form));
    m_form->FileNewItemClick();
    TMDIChild* child = m_form->activeChild();
    const auto shown = [&] {
        return QString::number(undo->isEnabled()) + undo->text() + " | " + QString::number(redo->isEnabled()) +
               redo->text();
    };
    QCOMPARE(shown(), "0&Annuler | 0&Rétablir");
    child->grid()->setCurrent(2, 2);
    QTest::keyClicks(child->grid(), "12");
    QCOMPARE(shown(), "1&Annuler la saisie | 0&Rétablir");
    QTest::keyClick(child->grid()->editor(), Qt::Key_Return);
    m_form->Trier1Click();
    QCOMPARE(shown(), "1&Annuler le tri | 0&Rétablir");
    QTest::keyClick(child->grid(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(shown(), "1&Annuler la saisie | 1&Rétablir le tri");
    child->Fiche();
    QLineEdit* surname = child->card()->field(1);
    QTest::keyClicks(surname, "Dupont");
    QTest::keyClick(surname, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(surname->text(), QString());
    QCOMPARE(shown(), "1&Annuler la saisie | 1&Rétablir le tri");
    // The keys typed in the field still count as a change, which no undo takes back.
    QTest::keyClick(surname, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(!child->isCardPage() && child->isModified());
    QCOMPARE(child->grid()->cell(2, 2), QString());
    QCOMPARE(shown(), "0&Annuler | 1&Rétablir la saisie");
    QTest::keyClick(child->grid(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(child->grid()->cell(2, 2), "12");
    QCOMPARE(shown(), "1&Annuler la saisie | 1&Rétablir le tri");
}

// The tool windows, their name dialogs and the help viewer (on the start-up folder's help file) go with the frame.
void TestMainForm::windowsGoWithTheFrame()
{
    auto* form = new TMainForm;
    form->show();
    const ToolWindows& tools = form->toolWindows();
    const QList<QPointer<QWidget>> owned{tools.aboutBox(),
                                         tools.calendrier(),
                                         tools.blocnotes(),
                                         tools.graph(),
                                         tools.planning()->nameDialog(),
                                         tools.plan()->nameDialog(),
                                         &form->helpWindow()};
    QCOMPARE(form->helpWindow().helpFile(), QDir::currentPath() + "/Virelan.hlp");
    delete form;
    for (const QPointer<QWidget>& window : owned)
        QVERIFY(window.isNull());
}

void TestMainForm::captions()
{
    FakeSeams fake;
    m_form->FileNewItemClick();
    m_form->FileNewItemClick();
    QList<TMDIChild*> windows = m_form->classWindows();
    QCOMPARE(windows.size(), 2);
    QCOMPARE(windows[1]->windowTitle(), QStringLiteral("Classe1"));
    QCOMPARE(windows[0]->windowTitle(), QStringLiteral("Classe2"));
    // A new class shows its placeholder names until its first reload.
    QCOMPARE(windows[0]->grid()->cell(1, 2), QStringLiteral("Elève1"));
    QCOMPARE(windows[0]->grid()->cell(1, 63), QStringLiteral("Elève62"));

    m_form->mdiArea()->setActiveSubWindow(m_form->mdiArea()->subWindowList().first());
    m_form->FileCloseItemClick();
    QTRY_COMPARE(m_form->classWindows().size(), 1);
    m_form->FileNewItemClick();
    QCOMPARE(m_form->activeChild()->windowTitle(), QStringLiteral("Classe2"));
    QCOMPARE(m_form->classWindows().size(), 2);
}

void TestMainForm::openCancelledCreatesNothing()
{
    FakeSeams fake;
    m_form->FileOpenItemClick();
    QCOMPARE(fake.openFilters, QStringList{QStringLiteral("Fichiers classes (*.prf)|*.prf")});
    QVERIFY(m_form->classWindows().isEmpty());
}

void TestMainForm::openCaptionIsFileName()
{
    FakeSeams fake;
    fake.openAnswers << m_dir.filePath(QStringLiteral("Cours.2001/6A.prf"));
    m_form->FileOpenItemClick();
    QVERIFY(m_form->activeChild());
    QCOMPARE(m_form->activeChild()->windowTitle(), QStringLiteral("6A.prf"));
}

void TestMainForm::filesNamedAtStartUpOpenAsOuvrir()
{
    FakeSeams fake;
    // 6A.prf opens; 6B.prf's planning is a folder, which cannot be read.
    const QString good = m_dir.filePath("start/6A.prf"), bad = m_dir.filePath("start/6B.prf");
    testfiles::writeAll(good, "0C0" + QByteArray("020").repeated(30) + "\r\n0221Durand\r\n");
    testfiles::writeAll(bad, "");
    QVERIFY(QDir().mkpath(m_dir.filePath("start/6B.prp")));
    fake.openAnswers << bad;
    m_form->action("FileOpenItem")->trigger();
    QCOMPARE(fake.messages.size(), 1);
    const FakeSeams::Message byMenu = fake.messages.takeFirst();
    QVERIFY(byMenu.text.startsWith("Ne peut ouvrir le fichier "));
    m_form->FileCloseItemClick();
    QTRY_VERIFY(m_form->classWindows().isEmpty());

    // A class named twice has one window, brought to the front.
    m_form->OpenClassFiles({good, bad, good});
    const QList<TMDIChild*> windows = m_form->classWindows();
    QCOMPARE(windows.size(), 2);
    QCOMPARE(windows[0]->windowTitle() + windows[1]->windowTitle(), "6A.prf6B.prf");
    QCOMPARE(m_form->activeChild(), windows[0]);
    QCOMPARE(windows[0]->grid()->cell(1, 2), "Durand ");
    // The same message as "&Ouvrir...", and the file after it still opens.
    QCOMPARE(fake.messages.size(), 1);
    QVERIFY(fake.messages[0].text == byMenu.text && fake.messages[0].caption == byMenu.caption &&
            fake.messages[0].kind == byMenu.kind);
}

void TestMainForm::filesNamedThatAreNoClass_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content"); // "<folder>" for a folder, "<none>" for no file at all
    QTest::addColumn<QString>("message");    // %1: the path; empty when the file opens as a class
    QTest::newRow("missing") << "6C.prf" << QByteArray("<none>") << "Fichier introuvable : %1";
    QTest::newRow("folder") << "6C.prf" << QByteArray("<folder>") << "%1 est un dossier, pas un fichier de classe.";
    QTest::newRow("picture") << "photo.jpg" << QByteArray("\xFF\xD8\xFF\xE0\0\x10JFIF\0\x01", 12)
                             << "%1 n'est pas un fichier de classe.";
    QTest::newRow("list of students") << "liste.csv" << QByteArray("Nom;Prénom\r\nDurand;Léo\r\n")
                                      << "%1 n'est pas un fichier de classe.";
    QTest::newRow("class copied under another name") << "6C.bak" << QByteArray("0C0020\r\n0221Roux\r\n") << "";
    QTest::newRow("records without their widths") << "6C" << QByteArray("\r\n0221Roux\r\n") << "";
    QTest::newRow("empty class file") << "6C.prf" << QByteArray() << "";
}

// "virelan missing.prf photo.jpg 6A.prf": a file that is no class opens no window and is named in a message;
// the other files still open.
void TestMainForm::filesNamedThatAreNoClass()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    FakeSeams fake;
    QTemporaryDir dir;
    const QString path = dir.filePath(name), good = dir.filePath("6A.prf");
    testfiles::writeAll(good, "0C0\r\n0221Durand\r\n");
    if (content == "<folder>")
        QVERIFY(QDir().mkpath(path));
    else if (content != "<none>")
        testfiles::writeAll(path, content);
    m_form->OpenClassFiles({path, good});
    QStringList captions;
    for (TMDIChild* window : m_form->classWindows())
        captions << window->windowTitle();
    captions.sort();
    const QStringList opened = message.isEmpty() ? QStringList{"6A.prf", name} : QStringList{"6A.prf"};
    QCOMPARE(captions, opened);
    QStringList told;
    for (const FakeSeams::Message& shown : fake.messages)
        told << shown.text;
    QCOMPARE(told, message.isEmpty() ? QStringList() : QStringList{message.arg(path)});
    // The same rule for a file chosen with "&Ouvrir...", which offers only files that exist; a class open already
    // comes to the front.
    if (content != "<none>") {
        fake.openAnswers << path;
        m_form->action("FileOpenItem")->trigger();
        QCOMPARE(m_form->classWindows().size(), captions.size());
        QCOMPARE(fake.messages.size(), message.isEmpty() ? 0 : 2);
    }
}

void TestMainForm::hintAndClock()
{
    FakeSeams fake;
    QStatusTipEvent tip(QStringLiteral("Ouvrir un fichier existant"));
    QApplication::sendEvent(m_form, &tip);
    QCOMPARE(m_form->statusPanel(0)->text(), QStringLiteral("Ouvrir un fichier existant"));
    // A menu entry's hint travels the same way when the pointer is over it.
    m_form->action(QStringLiteral("Trier1"))->showStatusText(m_form);
    QCOMPARE(m_form->statusPanel(0)->text(), QStringLiteral("Trier la classe par ordre alphabétique"));

    fake.fixedNow = QDateTime(QDate(2001, 3, 5), QTime(8, 4, 9));
    m_form->Timer1Timer();
    QCOMPARE(m_form->statusPanel(1)->text(), QStringLiteral("08:04:09"));
}

void TestMainForm::clockPanelFollowsWidth()
{
    m_form->showNormal();
    m_form->resize(700, 400);
    QCOMPARE(m_form->statusPanel(0)->width(), m_form->width() - 100);
    m_form->resize(900, 400);
    QCOMPARE(m_form->statusPanel(0)->width(), m_form->width() - 100);
}

void TestMainForm::minimiseAll()
{
    FakeSeams fake;
    m_form->WindowMinimizeItemClick();
    m_form->FileNewItemClick();
    m_form->FileNewItemClick();
    m_form->WindowMinimizeItemClick();
    for (QMdiSubWindow* sub : m_form->mdiArea()->subWindowList())
        QVERIFY(sub->isMinimized());
}

void TestMainForm::commandsWithoutWindowDoNothing()
{
    FakeSeams fake;
    // Reached while no class window is open (before the refresh could disable them): nothing happens.
    m_form->FileSaveItemClick();
    m_form->CopyItemClick();
    m_form->Trier1Click();
    m_form->Imprimer1Click();
    m_form->FileCloseItemClick();
    QCOMPARE(fake.printDialogs, 0);
    QVERIFY(fake.messages.isEmpty());
    QVERIFY(m_form->copyBuffer().isEmpty());
}

void TestMainForm::ctrlXQuitsFromACardField()
{
    FakeSeams fake;
    m_form->FileNewItemClick();
    TMDIChild* child = m_form->activeChild();
    child->Fiche();
    child->card()->field(1)->setFocus();
    QTest::keyClicks(child->card()->field(1), QStringLiteral("Durand"));
    child->card()->field(1)->selectAll();
    fake.messageAnswers << 1; // "&Non"
    QTest::keyClick(child->card()->field(1), Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(fake.messages.size(), 1);
    // A class never saved has no file name: two blanks stand before the question mark.
    QCOMPARE(fake.messages[0].text, QStringLiteral("Sauver modifications dans  ?"));
    QVERIFY(!m_form->isVisible());
    // Nothing was cut from the field.
    QCOMPARE(child->card()->field(1)->text(), QStringLiteral("Durand"));
}

void TestMainForm::quitAsksEveryWindowAndAnnulerKeepsRunning()
{
    FakeSeams fake;
    m_form->FileNewItemClick();
    m_form->activeChild()->setModified(true);
    m_form->FileNewItemClick();
    m_form->activeChild()->setModified(true);
    fake.messageAnswers << 1 << 2; // "&Non" to the first, "Annuler" to the second
    m_form->FileExitItemClick();
    QCOMPARE(fake.messages.size(), 2);
    QCOMPARE(fake.messages[0].caption, QStringLiteral("Avertissement"));
    QCOMPARE(fake.messages[0].buttons, QStringList({"&Oui", "&Non", "Annuler"}));
    QCOMPARE(fake.messages[0].defaultButton, 0);
    QCOMPARE(fake.messages[0].escapeButton, 2);
    QVERIFY(m_form->isVisible());
    QCOMPARE(m_form->classWindows().size(), 2);
}

void TestMainForm::quitWithoutChangesWritesNoNotes()
{
    FakeSeams fake;
    m_form->FileExitItemClick();
    QVERIFY(!m_form->isVisible());
    QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("Virelan.nte"))));
    QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("Virelan.obs"))));
    QCOMPARE(QDir::currentPath(), QDir(m_dir.path()).canonicalPath());
}

// A file that cannot be written at quit is reported, and then the teacher chooses to leave without it (0, "&Oui") or
// to stay (1, "&Non").
void TestMainForm::quitAfterAFailedWrite_data()
{
    rows::add({"start-up folder removed | 0 | Erreur E/S 2 | Virelan.nte",
               "start-up folder removed | 1 | Erreur E/S 2 | Virelan.nte",
               "notes | 0 | Ne peut créer le fichier Virelan.nte | Virelan.nte",
               "homework | 0 | Ne peut créer le fichier %1/5C.prd | 5C.prd"},
              2);
}

void TestMainForm::quitAfterAFailedWrite()
{
    const QStringList row = rows::fields();
    FakeSeams fake;
    QTemporaryDir start;
    QDir::setCurrent(start.path());
    delete m_form;
    m_form = new TMainForm;
    m_form->show();
    m_form->toolWindows().blocnotes()->setText(QStringLiteral("à garder"));
    m_form->toolWindows().blocnotes()->setModified(true);
    if (row[0] == "homework") {
        testfiles::writeAll(start.filePath("5C.prf"), "0221Dupont\r\n");
        fake.openAnswers << start.filePath("5C.prf");
        m_form->FileOpenItemClick();
        m_form->activeChild()->document().store(
            [](ClassContents& contents) { contents.homework[0] = QStringLiteral("12/03/2001Maths"); });
    }
    QVERIFY(row[0] == "notes"      ? QDir(start.path()).mkdir("Virelan.nte")
            : row[0] == "homework" ? QDir(start.path()).mkdir("5C.prd")
                                   : start.remove());
    fake.messageAnswers << 0 << row[1].toInt(); // "OK" to the error
    m_form->FileExitItemClick();

    QCOMPARE(fake.messages.size(), 2);
    QCOMPARE(fake.messages[0].text, QString(row[2]).replace("%1", start.path()));
    QCOMPARE(fake.messages[1].text, "Quitter sans enregistrer " + row[3] + " ?");
    QCOMPARE(fake.messages[1].buttons, QStringList({"&Oui", "&Non"}));
    QCOMPARE(fake.messages[1].defaultButton, 1);
    QCOMPARE(m_form->isVisible(), row[1] == "1");
    // Leaving without the homework file still writes the notes.
    if (row[0] == "homework")
        QCOMPARE(testfiles::readAll(start.filePath("Virelan.nte")), "\xe0 garder");
    m_form->toolWindows().blocnotes()->setModified(false);
    QDir::setCurrent(m_dir.path());
}

// A notepad that cannot be read is reported; the phrases still load, and a phrase added is saved after them.
void TestMainForm::unreadableNotesKeepThePhrases()
{
    FakeSeams fake;
    QTemporaryDir start;
    QDir::setCurrent(start.path());
    QVERIFY(QDir(start.path()).mkdir("Virelan.nte"));
    testfiles::writeAll(start.filePath("Virelan.obs"), "Bon \xe9l\xe8ve\r\nS\xe9rieux\r\n");
    delete m_form;
    m_form = new TMainForm;
    fake.messageAnswers << 0;
    m_form->show();
    QCOMPARE(fake.messages.size(), 1);
    QCOMPARE(fake.messages[0].text, "Ne peut ouvrir le fichier Virelan.nte");
    QChar enter = QLatin1Char('\r');
    m_form->toolWindows().obs()->Edit1->setText(QStringLiteral("Assidu"));
    m_form->toolWindows().obs()->Edit1KeyPress(enter);
    m_form->FileExitItemClick();
    QVERIFY(!m_form->isVisible());
    QCOMPARE(testfiles::readAll(start.filePath("Virelan.obs")), "Bon \xe9l\xe8ve\r\nS\xe9rieux\r\nAssidu\r\n");
    QDir::setCurrent(m_dir.path());
}

// The notes read at start-up are in the notepad when the teacher first opens it, unchanged, and quitting writes
// nothing.
void TestMainForm::notesReadAtStartUpShowWhenOpened()
{
    FakeSeams fake;
    QTemporaryDir start;
    QDir::setCurrent(start.path());
    testfiles::writeAll(start.filePath("Virelan.nte"), "R\xe9union lundi\r\nConseil");
    delete m_form;
    m_form = new TMainForm;
    m_form->show();
    TBlocnotes* notes = m_form->toolWindows().blocnotes();
    QCOMPARE(notes->text(), QStringLiteral("Réunion lundi\r\nConseil"));
    QVERIFY(!notes->isModified());
    m_form->FileExitItemClick();
    QVERIFY(fake.messages.isEmpty());
    QCOMPARE(testfiles::readAll(start.filePath("Virelan.nte")), "R\xe9union lundi\r\nConseil");
    QCOMPARE(QDir(start.path()).entryList(QDir::Files), QStringList({"Virelan.nte"}));
    QDir::setCurrent(m_dir.path());
}

QTEST_MAIN(TestMainForm)
#include "TestMainForm.moc"
