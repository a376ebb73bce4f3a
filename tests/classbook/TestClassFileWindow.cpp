#include "ClassWindows.h"
#include "FakeSeams.h"
#include "Rows.h"
#include "TestFiles.h"
#include "app/MainForm.h"
#include "classbook/CardPage.h"
#include "classbook/CardPhoto.h"
#include "classbook/MDIChild.h"
#include "classbook/PhotoView.h"
#include "core/PlatformError.h"
#include "model/ClassFile.h"
#include "model/PhotoCache.h"
#include "widgets/Fonts.h"
#include "widgets/StringGrid.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRandomGenerator>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>

#include <csignal>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>

// The class window's files, its editing keys and its photos, driven as a user would.
class TestClassFileWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void savesTypedClassByteForByte();
    void loadsHandMadeFile();
    void missingFileLoadsEmptyClassSilently();
    void unreadableFileIsReportedAndNeverOverwritten_data();
    void unreadableFileIsReportedAndNeverOverwritten();
    void junkFileLoadsWithoutCrash();
    void saveTwiceWritesOnce();
    void saveAsWritesUnchangedClassUnderNewName();
    void saveAsCancelledTwiceWritesNothing();
    void saveWhileTypingAMarkKeepsIt();
    void saveNames_data();
    void saveNames();
    void closeQuestion_data();
    void closeQuestion();
    void closeWithoutChangesAsksNothing();
    void failedSaveKeepsFlagAndOldFile();
    void failedSaveOnCloseKeepsWindow();
    void typingMarks_data();
    void typingMarks();
    void birthDateFullStopBecomesComma();
    void whatMarksModified_data();
    void whatMarksModified();
    void ficheShowsStudentOfCurrentRow_data();
    void ficheShowsStudentOfCurrentRow();
    void pageKeysStayWithinBounds_data();
    void pageKeysStayWithinBounds();
    void cardButtons();
    void movedColumnStaysMoved();
    void photoFitsTheFrame_data();
    void photoFitsTheFrame();
    void photoDialogCancelledChangesNothing();
    void photoThatFailsKeepsPathAndFlag();
    void brokenPhotoCardShowsItsOwnFields();
    void photoComesBackAfterMovingAway();
    void pageDownHeldReadsOnlyTheCardStoppedOn_data();
    void pageDownHeldReadsOnlyTheCardStoppedOn();
    void photoChosenThenLeftAtOnce_data();
    void photoChosenThenLeftAtOnce();
    void newTypeSaveCloseOpenThroughTheFrame();
    void quitKeepsRunningWhenAClassCannotBeSaved();

private:
    QString path(const QString& name) const { return m_windows->path(name); }
    QByteArray readFile(const QString& name) const;
    void writeFile(const QString& name, const QByteArray& bytes) const;
    QString writeJpeg(const QString& name, const QSize& size) const;
    void typeInCell(int col, int row, const QString& keys);
    void dragColumn(int from, int to);
    TMDIChild* w() const { return m_window.data(); }

    std::optional<ClassWindows> m_windows;
    QPointer<TMDIChild> m_window;
};

namespace {

// Types a text key by key, accented letters included (they have no key code of their own here).
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

QByteArray defaultHeader()
{
    return "0C0" + QByteArray("020").repeated(30);
}

// The records of a new class's headings ("1" to "30") and coefficients ("1"), as written by hand from
// the layout: row + 1 and slot in two hexadecimal digits each, then the text.
QByteArray defaultHeadingsAndCoefficients(const QByteArray& firstHeading)
{
    QByteArray out = "0002" + firstHeading + "\r\n";
    for (int slot = 3; slot <= 31; ++slot)
        out += QByteArray("00") + QByteArray::number(slot, 16).toUpper().rightJustified(2, '0') +
               QByteArray::number(slot - 1) + "\r\n";
    for (int slot = 2; slot <= 31; ++slot)
        out += QByteArray("01") + QByteArray::number(slot, 16).toUpper().rightJustified(2, '0') + "1\r\n";
    return out;
}

} // namespace

void TestClassFileWindow::initTestCase()
{
    fonts::install();
}

void TestClassFileWindow::init()
{
    m_windows.emplace();
    m_window = m_windows->openShown();
    QVERIFY(m_window);
}

void TestClassFileWindow::cleanup()
{
    m_windows.reset();
}

QByteArray TestClassFileWindow::readFile(const QString& name) const
{
    return testfiles::readAll(path(name));
}

void TestClassFileWindow::writeFile(const QString& name, const QByteArray& bytes) const
{
    testfiles::writeAll(path(name), bytes);
}

QString TestClassFileWindow::writeJpeg(const QString& name, const QSize& size) const
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(180, 120, 60));
    image.save(path(name), "JPG");
    return path(name);
}

void TestClassFileWindow::typeInCell(int col, int row, const QString& keys)
{
    w()->grid()->setCurrent(col, row);
    QTest::keyClicks(w()->grid(), keys);
    QTest::keyClick(w()->grid()->editor(), Qt::Key_Return);
}

void TestClassFileWindow::dragColumn(int from, int to)
{
    StringGrid* grid = w()->grid();
    const QRect a = grid->cellRect(from, 0), b = grid->cellRect(to, 0);
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, a.center());
    QMouseEvent move(QEvent::MouseMove, QPointF(b.center()), grid->viewport()->mapToGlobal(QPointF(b.center())),
                     Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(grid->viewport(), &move);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, b.center());
}

// --- files ---------------------------------------------------------------------------------

void TestClassFileWindow::savesTypedClassByteForByte()
{
    w()->Nouveau();
    w()->grid()->setCell(2, 0, QStringLiteral("Maths"));
    typeInCell(2, 2, QStringLiteral("12.50"));
    w()->Fiche();
    typeText(w()->card()->field(1), QStringLiteral("Dupré"));
    typeText(w()->card()->field(2), QStringLiteral("Léa"));
    typeText(w()->card()->remarks(), QStringLiteral("Ligne 1"));
    QTest::keyClick(w()->card()->remarks(), Qt::Key_Return);
    typeText(w()->card()->remarks(), QStringLiteral("Ligne 2"));
    m_windows->fake().saveAnswers << Seams::SaveChoice{path(QStringLiteral("typed.prf")), 1};
    w()->Sauve();
    QCOMPARE(m_windows->fake().saveFilters, QStringList{QStringLiteral("Fichiers classe (*.prf)|*.prf")});
    QVERIFY(!w()->isModified());

    const QByteArray expected = defaultHeader() + "\r\n" + defaultHeadingsAndCoefficients("Maths") +
                                "020212,50\r\n"
                                "0221Dupr\xE9\r\n"
                                "0222L\xE9"
                                "a\r\n"
                                "022CLigne 1\x0BLigne 2\r\n";
    QCOMPARE(readFile(QStringLiteral("typed.prf")), expected);
}

void TestClassFileWindow::loadsHandMadeFile()
{
    // A short header (columns 1 to 3), lower-case digits, records out of order, a duplicate, slot 0,
    // the spare rows, junk and a three-line remark.
    writeFile(QStringLiteral("hand.prf"), "0a0014fff\r\n"
                                          "0221old name\r\n"
                                          "022cUn\x0B"
                                          "deux\x0Btrois\r\n"
                                          "0202 12.5\r\n"
                                          "0002Maths\r\n"
                                          "not a record\r\n"
                                          "0221Martin\r\n"
                                          "0222Paul\r\n"
                                          "0200zero\r\n"
                                          "4030spare 63\r\n"
                                          "4101spare 64\r\n"
                                          "4202beyond\r\n"
                                          "0003trimestre 2\r\n");
    w()->grid()->setColWidth(4, 50);
    w()->Charge(path(QStringLiteral("hand.prf")));
    QVERIFY(m_windows->fake().messages.isEmpty());
    QCOMPARE(w()->fileName(), path(QStringLiteral("hand.prf")));
    QVERIFY(!w()->isModified());
    QVERIFY(!w()->isCardPage());
    StringGrid* g = w()->grid();
    QCOMPARE(g->colWidth(1), 0xA0);
    QCOMPARE(g->colWidth(2), 0x14);
    QCOMPARE(g->colWidth(3), 0xFFF);
    QCOMPARE(g->colWidth(4), 50);
    QCOMPARE(g->cell(2, 0), QStringLiteral("Maths"));
    QCOMPARE(g->cell(3, 0), QStringLiteral("trimestre 2"));
    QCOMPARE(g->cell(4, 0), QString()); // the file has no other heading
    QCOMPARE(g->cell(2, 2), QStringLiteral("12,50"));
    QCOMPARE(g->cell(1, 2), QStringLiteral("Martin Paul"));
    QCOMPARE(g->cell(1, 3), QStringLiteral(" "));
    QCOMPARE(w()->table().at(1, 0), QStringLiteral("zero"));
    QCOMPARE(w()->table().at(63, 48), QStringLiteral("spare 63"));
    QCOMPARE(w()->table().at(64, 1), QStringLiteral("spare 64"));
    w()->Fiche();
    QCOMPARE(w()->card()->remarks()->toPlainText(), QStringLiteral("Un\ndeux\ntrois"));
    QCOMPARE(w()->card()->field(1)->text(), QStringLiteral("Martin"));

    // Saved again: slot 0 is lost, the spare rows are written, the remark keeps its three lines.
    w()->setModified(true);
    w()->Sauve();
    const QByteArray saved = readFile(QStringLiteral("hand.prf"));
    QVERIFY(saved.startsWith("0A0014FFF032020"));
    QVERIFY(!saved.contains("\r\n0200"));
    QVERIFY(saved.contains("\r\n022CUn\x0B"
                           "deux\x0Btrois\r\n"));
    QVERIFY(saved.endsWith("\r\n4030spare 63\r\n4101spare 64\r\n"));
    QVERIFY(!saved.contains("beyond"));
}

void TestClassFileWindow::missingFileLoadsEmptyClassSilently()
{
    w()->grid()->setColWidth(5, 77);
    w()->Charge(path(QStringLiteral("nowhere.prf")));
    QVERIFY(m_windows->fake().messages.isEmpty());
    QCOMPARE(w()->fileName(), path(QStringLiteral("nowhere.prf")));
    for (int c = 2; c <= 31; ++c) {
        QCOMPARE(w()->grid()->cell(c, 0), QString());
        QCOMPARE(w()->grid()->cell(c, 1), QString());
    }
    QCOMPARE(w()->grid()->cell(1, 10), QStringLiteral(" "));
    QCOMPARE(w()->grid()->colWidth(5), 77);
    QCOMPARE(w()->grid()->colWidth(1), 192);
    // A later save creates the file there.
    typeInCell(3, 4, QStringLiteral("9"));
    w()->Sauve();
    QCOMPARE(readFile(QStringLiteral("nowhere.prf")), "0C0020020020"
                                                      "04D" +
                                                          QByteArray("020").repeated(26) +
                                                          "\r\n0403"
                                                          "9\r\n");
}

void TestClassFileWindow::unreadableFileIsReportedAndNeverOverwritten_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("folder") << "folder";
    QTest::newRow("pipe") << "pipe";
}

void TestClassFileWindow::unreadableFileIsReportedAndNeverOverwritten()
{
    QFETCH(QString, kind);
    const QString name = path(kind + QStringLiteral(".prf"));
    if (kind == QLatin1String("folder"))
        QVERIFY(QDir().mkpath(name));
    else
        QCOMPARE(mkfifo(QFile::encodeName(name).constData(), 0644), 0);
    QString message;
    try {
        w()->Charge(name);
    } catch (const PlatformError& error) {
        message = error.message();
    }
    QCOMPARE(message, QStringLiteral("Ne peut ouvrir le fichier ") + name);
    // The empty class shown instead has no name: saving it asks where, and never writes over the file.
    QVERIFY(w()->fileName().isEmpty());
    typeInCell(2, 2, QStringLiteral("12"));
    w()->Sauve();
    QCOMPARE(m_windows->fake().saveFilters.size(), 1);
    QVERIFY(w()->isModified());
    QVERIFY(!QFileInfo(name).isFile());
}

void TestClassFileWindow::junkFileLoadsWithoutCrash()
{
    QByteArray junk;
    for (int i = 0; i < 200000; ++i)
        junk += char((i * 131 + 7) % 256);
    writeFile(QStringLiteral("junk.prf"), junk + "\r\n0221Survivor\r\n" + QByteArray(4 + classfile::MaxText, 'z'));
    w()->Charge(path(QStringLiteral("junk.prf")));
    QVERIFY(m_windows->fake().messages.isEmpty());
    QCOMPARE(w()->table().at(1, 33), QStringLiteral("Survivor"));
    QCOMPARE(w()->grid()->cell(1, 2), QStringLiteral("Survivor "));
}

void TestClassFileWindow::saveTwiceWritesOnce()
{
    typeInCell(2, 2, QStringLiteral("10"));
    m_windows->fake().saveAnswers << Seams::SaveChoice{path(QStringLiteral("twice.prf")), 1};
    w()->Sauve();
    QVERIFY(readFile(QStringLiteral("twice.prf")).contains("\r\n020210\r\n"));
    writeFile(QStringLiteral("twice.prf"), "changed behind the window");
    w()->Sauve();
    w()->SauveTout();
    QCOMPARE(readFile(QStringLiteral("twice.prf")), QByteArray("changed behind the window"));
    QCOMPARE(m_windows->fake().saveFilters.size(), 1);
}

void TestClassFileWindow::saveAsWritesUnchangedClassUnderNewName()
{
    w()->setWindowTitle(QStringLiteral("Classe1"));
    m_windows->fake().saveAnswers << Seams::SaveChoice{path(QStringLiteral("first.prf")), 1}
                                  << Seams::SaveChoice{path(QStringLiteral("second.prf")), 1};
    w()->SaveAs();
    w()->Sauve();
    QVERIFY(!w()->isModified());
    w()->SaveAs();
    QVERIFY(w()->isModified());
    w()->Sauve();
    QCOMPARE(readFile(QStringLiteral("second.prf")), readFile(QStringLiteral("first.prf")));
    QVERIFY(readFile(QStringLiteral("second.prf"))
                .startsWith(defaultHeader() + "\r\n0002"
                                              "1\r\n"));
    QCOMPARE(w()->fileName(), path(QStringLiteral("second.prf")));
    QCOMPARE(w()->windowTitle(), QStringLiteral("Classe1"));
}

void TestClassFileWindow::saveAsCancelledTwiceWritesNothing()
{
    const QStringList before = QDir(m_windows->folder()).entryList(QDir::Files);
    typeInCell(2, 2, QStringLiteral("3"));
    w()->SaveAs();
    w()->Sauve();
    w()->SauveTout();
    QCOMPARE(m_windows->fake().saveFilters.size(), 2);
    QCOMPARE(w()->fileName(), QString());
    QVERIFY(w()->isModified());
    QCOMPARE(QDir(m_windows->folder()).entryList(QDir::Files), before);
}

void TestClassFileWindow::saveWhileTypingAMarkKeepsIt()
{
    // The mark is still in the cell editor when the save is chosen from the menu.
    w()->grid()->setCurrent(4, 5);
    QTest::keyClicks(w()->grid(), QStringLiteral("15"));
    QVERIFY(w()->grid()->isEditing());
    m_windows->fake().saveAnswers << Seams::SaveChoice{path(QStringLiteral("typing.prf")), 1};
    w()->Sauve();
    QVERIFY(readFile(QStringLiteral("typing.prf"))
                .endsWith("\r\n0504"
                          "15\r\n"));
    QVERIFY(!w()->isModified());
    QCOMPARE(w()->grid()->cell(4, 5), QStringLiteral("15"));
}

void TestClassFileWindow::saveNames_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::newRow("no extension") << "classe"
                                  << "classe.prf";
    QTest::newRow("other extension") << "classe.txt"
                                     << "classe.txt.prf";
    QTest::newRow("two dots") << "ma.classe.txt"
                              << "ma.classe.txt.prf";
    QTest::newRow("two dots and .prf") << "6e.1"
                                       << "6e.1.prf";
    QTest::newRow("upper-case extension") << "5C.PRF"
                                          << "5C.PRF";
    QTest::newRow("dot in folder") << "dossier.2026/classe"
                                   << "dossier.2026/classe.prf";
}

void TestClassFileWindow::saveNames()
{
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QDir(m_windows->folder()).mkpath(QStringLiteral("dossier.2026"));
    QFile::remove(path(written));
    m_windows->fake().saveAnswers << Seams::SaveChoice{path(typed), 1};
    w()->SaveAs();
    w()->Sauve();
    QCOMPARE(w()->fileName(), path(written));
    QVERIFY(readFile(written).startsWith(defaultHeader()));
    if (typed != written)
        QVERIFY(!QFile::exists(path(typed)));
}

void TestClassFileWindow::closeQuestion_data()
{
    QTest::addColumn<QString>("fileName");   // the window's file, empty for a class never saved
    QTest::addColumn<int>("answer");         // 0 "&Oui", 1 "&Non", 2 "Annuler"
    QTest::addColumn<bool>("dialogAccepts"); // the save dialog shown by "&Oui" on a never-saved class
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("written");

    QTest::newRow("never saved, Oui, dialog cancelled")
        << QString() << 0 << false << "Sauver modifications dans  ?" << false << false;
    QTest::newRow("never saved, Oui, named")
        << QString() << 0 << true << "Sauver modifications dans  ?" << true << true;
    QTest::newRow("never saved, Non") << QString() << 1 << false << "Sauver modifications dans  ?" << true << false;
    QTest::newRow("never saved, Annuler")
        << QString() << 2 << false << "Sauver modifications dans  ?" << false << false;
    QTest::newRow("named, Oui") << "nommee.prf" << 0 << false << "Sauver modifications dans nommee.prf ?" << true
                                << true;
    QTest::newRow("named, Non") << "nommee.prf" << 1 << false << "Sauver modifications dans nommee.prf ?" << true
                                << false;
    QTest::newRow("named, Annuler") << "nommee.prf" << 2 << false << "Sauver modifications dans nommee.prf ?" << false
                                    << false;
}

void TestClassFileWindow::closeQuestion()
{
    QFETCH(QString, fileName);
    QFETCH(int, answer);
    QFETCH(bool, dialogAccepts);
    QFETCH(QString, text);
    QFETCH(bool, closes);
    QFETCH(bool, written);
    QFile::remove(path(QStringLiteral("nommee.prf")));
    if (!fileName.isEmpty())
        w()->Charge(path(fileName));
    typeInCell(4, 3, QStringLiteral("5"));
    QVERIFY(w()->isModified());
    m_windows->fake().messageAnswers << answer;
    if (dialogAccepts)
        m_windows->fake().saveAnswers << Seams::SaveChoice{path(QStringLiteral("nommee")), 1};

    const bool closed = w()->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QCOMPARE(m_windows->fake().messages.size(), 1);
    const FakeSeams::Message& m = m_windows->fake().messages[0];
    QCOMPARE(m.kind, Seams::MessageKind::Warning);
    QCOMPARE(m.caption, QStringLiteral("Avertissement"));
    QCOMPARE(m.text, text);
    QCOMPARE(m.buttons, (QStringList{"&Oui", "&Non", "Annuler"}));
    QCOMPARE(m.defaultButton, 0);
    QCOMPARE(m.escapeButton, 2);
    QCOMPARE(closed, closes);
    // A closed window is destroyed, not hidden.
    QCOMPARE(m_window.isNull(), closes);
    if (!closes)
        QVERIFY(w()->isModified());
    QCOMPARE(QFile::exists(path(QStringLiteral("nommee.prf"))), written);
}

void TestClassFileWindow::closeWithoutChangesAsksNothing()
{
    w()->Fiche();
    QTest::keyClick(w()->card()->field(1), Qt::Key_PageDown);
    w()->Classe();
    QVERIFY(w()->close());
    QVERIFY(m_windows->fake().messages.isEmpty());
}

void TestClassFileWindow::failedSaveKeepsFlagAndOldFile()
{
    writeFile(QStringLiteral("old.prf"), "old");
    w()->Charge(path(QStringLiteral("old.prf")));
    typeInCell(2, 2, QStringLiteral("15"));

    // A file system that refuses to grow files beyond 40 bytes: the class file needs more.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit tight = saved;
    tight.rlim_cur = 40;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &tight), 0);
    QString message;
    try {
        w()->Sauve();
    } catch (const PlatformError& error) {
        message = error.message();
    }
    setrlimit(RLIMIT_FSIZE, &saved);

    QCOMPARE(message, QStringLiteral("Ne peut créer le fichier ") + path(QStringLiteral("old.prf")));
    QVERIFY(w()->isModified());
    QCOMPARE(readFile(QStringLiteral("old.prf")), QByteArray("old"));
    QCOMPARE(QDir(m_windows->folder()).entryList({QStringLiteral("old*")}, QDir::Files), QStringList{"old.prf"});

    // Once the disk takes it again, the same save goes through.
    w()->Sauve();
    QVERIFY(!w()->isModified());
    QVERIFY(readFile(QStringLiteral("old.prf")).endsWith("\r\n020215\r\n"));
}

void TestClassFileWindow::failedSaveOnCloseKeepsWindow()
{
    // A folder appears where the class file should be written: it cannot be created.
    w()->Charge(path(QStringLiteral("blocked.prf")));
    typeInCell(2, 2, QStringLiteral("11"));
    QDir(m_windows->folder()).mkpath(QStringLiteral("blocked.prf"));
    m_windows->fake().messageAnswers << 0;
    QVERIFY(!w()->close());
    QVERIFY(!m_window.isNull());
    QVERIFY(w()->isModified());
    QCOMPARE(m_windows->fake().messages.size(), 2);
    QCOMPARE(m_windows->fake().messages[1].kind, Seams::MessageKind::Error);
    QCOMPARE(m_windows->fake().messages[1].text,
             QStringLiteral("Ne peut créer le fichier ") + path(QStringLiteral("blocked.prf")));
}

// --- editing --------------------------------------------------------------------------------

void TestClassFileWindow::typingMarks_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("cell");
    QTest::newRow("full stop") << "12.50"
                               << "12,50";
    QTest::newRow("comma") << "12,50"
                           << "12,50";
    QTest::newRow("digits only") << "1250"
                                 << "12,50";
    QTest::newRow("one decimal") << "7.5"
                                 << "7,5";
}

void TestClassFileWindow::typingMarks()
{
    QFETCH(QString, keys);
    QFETCH(QString, cell);
    w()->grid()->setCurrent(6, 9);
    QTest::keyClicks(w()->grid(), keys);
    QVERIFY(!w()->grid()->editor()->text().contains(QLatin1Char('.')));
    QTest::keyClick(w()->grid()->editor(), Qt::Key_Return);
    QCOMPARE(w()->grid()->cell(6, 9), cell);
    QVERIFY(w()->isModified());
    w()->EcritGrille();
    QCOMPARE(w()->table().at(8, 6), cell);
}

void TestClassFileWindow::birthDateFullStopBecomesComma()
{
    w()->Fiche();
    typeText(w()->card()->field(3), QStringLiteral("12.03.2010"));
    QCOMPARE(w()->card()->field(3)->text(), QStringLiteral("12,03,2010"));
    QVERIFY(w()->isModified());
    // Only the date field turns full stops into commas.
    typeText(w()->card()->field(7), QStringLiteral("75.001"));
    QCOMPARE(w()->card()->field(7)->text(), QStringLiteral("75.001"));
}

void TestClassFileWindow::whatMarksModified_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("modified");
    QTest::newRow("town typed") << "town" << true;
    QTest::newRow("mother's occupation typed") << "edit13" << true;
    QTest::newRow("remark typed") << "memo" << true;
    QTest::newRow("backspace in surname") << "backspace" << true;
    QTest::newRow("backspace in a mark") << "gridBackspace" << true;
    QTest::newRow("column moved") << "move" << true;
    QTest::newRow("arrows in the grid") << "arrows" << false;
    QTest::newRow("page keys on the card") << "pages" << false;
    QTest::newRow("switching pages") << "pagesSwitch" << false;
    QTest::newRow("card buttons") << "buttons" << false;
}

void TestClassFileWindow::whatMarksModified()
{
    QFETCH(QString, action);
    QFETCH(bool, modified);
    w()->EcritGrille();
    w()->document().store([&](ClassContents& contents) {
        contents.table.at(1, 33) = QStringLiteral("Durand");
        contents.table.at(1, 3) = QStringLiteral("10");
    });
    w()->LitGrille();
    QCOMPARE(w()->grid()->cell(3, 2), QStringLiteral("10,00"));
    QVERIFY(!w()->isModified());
    if (action == QLatin1String("town")) {
        w()->Fiche();
        typeText(w()->card()->field(8), QStringLiteral("Lyon"));
    } else if (action == QLatin1String("edit13")) {
        w()->Fiche();
        typeText(w()->card()->field(13), QStringLiteral("x"));
    } else if (action == QLatin1String("memo")) {
        w()->Fiche();
        typeText(w()->card()->remarks(), QStringLiteral("y"));
    } else if (action == QLatin1String("backspace")) {
        w()->Fiche();
        QTest::keyClick(w()->card()->field(1), Qt::Key_End);
        QTest::keyClick(w()->card()->field(1), Qt::Key_Backspace);
        QCOMPARE(w()->card()->field(1)->text(), QStringLiteral("Duran"));
    } else if (action == QLatin1String("gridBackspace")) {
        w()->grid()->setCurrent(3, 2);
        QTest::keyClick(w()->grid(), Qt::Key_F2);
        QTest::keyClick(w()->grid()->editor(), Qt::Key_Backspace);
        QTest::keyClick(w()->grid()->editor(), Qt::Key_Backspace);
        QTest::keyClick(w()->grid()->editor(), Qt::Key_Return);
    } else if (action == QLatin1String("move")) {
        dragColumn(5, 3);
        QCOMPARE(w()->grid()->cell(3, 0), QStringLiteral("4,00"));
    } else if (action == QLatin1String("arrows")) {
        w()->grid()->setCurrent(3, 3);
        for (int key : {Qt::Key_Down, Qt::Key_Right, Qt::Key_Up, Qt::Key_Left, Qt::Key_PageDown, Qt::Key_Tab})
            QTest::keyClick(w()->grid(), Qt::Key(key));
    } else if (action == QLatin1String("pages")) {
        w()->Fiche();
        QTest::keyClick(w()->card()->field(1), Qt::Key_PageDown);
        QTest::keyClick(w()->card()->field(1), Qt::Key_PageUp);
    } else if (action == QLatin1String("pagesSwitch")) {
        w()->Fiche();
        w()->Classe();
        w()->Fiche();
    } else if (action == QLatin1String("buttons")) {
        w()->Fiche();
        QTest::mouseClick(w()->findChild<QToolButton*>("SpeedButton2"), Qt::LeftButton);
        QTest::mouseClick(w()->findChild<QToolButton*>("SpeedButton1"), Qt::LeftButton);
    }
    QCOMPARE(w()->isModified(), modified);
}

void TestClassFileWindow::ficheShowsStudentOfCurrentRow_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("card");
    QTest::newRow("first student row") << 2 << 1;
    QTest::newRow("middle") << 20 << 19;
    QTest::newRow("last grid row") << 63 << 62;
}

void TestClassFileWindow::ficheShowsStudentOfCurrentRow()
{
    QFETCH(int, row);
    QFETCH(int, card);
    w()->document().store(
        [&](ClassContents& contents) { contents.table.at(card, 33) = QStringLiteral("Nom%1").arg(card); });
    w()->grid()->setCurrent(7, row);
    QCOMPARE(w()->card()->title(), QStringLiteral("Fiche élève"));
    w()->Fiche();
    QVERIFY(w()->isCardPage());
    QCOMPARE(w()->currentCard(), card);
    QCOMPARE(w()->card()->title(), QStringLiteral("Fiche élève - %1").arg(card));
    QCOMPARE(w()->card()->field(1)->text(), QStringLiteral("Nom%1").arg(card));
    QCOMPARE(w()->focusWidget(), w()->card()->field(1));
    w()->Classe();
    QVERIFY(!w()->isCardPage());
    QCOMPARE(w()->grid()->row(), card + 1);
    QCOMPARE(w()->grid()->col(), 7);
}

void TestClassFileWindow::pageKeysStayWithinBounds_data()
{
    QTest::addColumn<int>("startRow");
    QTest::addColumn<QString>("focus"); // the control that has the focus
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("presses");
    QTest::addColumn<int>("card");
    QTest::newRow("down from 1") << 2 << "Edit1" << int(Qt::Key_PageDown) << 1 << 2;
    QTest::newRow("down three times") << 2 << "Edit5" << int(Qt::Key_PageDown) << 3 << 4;
    QTest::newRow("up from 10 in the memo") << 11 << "Memo1" << int(Qt::Key_PageUp) << 2 << 8;
    QTest::newRow("up from 1 stays") << 2 << "Edit1" << int(Qt::Key_PageUp) << 1 << 1;
    QTest::newRow("down from 62 stays") << 63 << "Edit13" << int(Qt::Key_PageDown) << 1 << 62;
    QTest::newRow("down past 62") << 61 << "Edit2" << int(Qt::Key_PageDown) << 5 << 62;
    QTest::newRow("from the next-card button") << 5 << "SpeedButton2" << int(Qt::Key_PageUp) << 1 << 3;
}

void TestClassFileWindow::pageKeysStayWithinBounds()
{
    QFETCH(int, startRow);
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(int, presses);
    QFETCH(int, card);
    for (int n = 1; n <= 62; ++n)
        w()->document().store(
            [&](ClassContents& contents) { contents.table.at(n, 40) = QStringLiteral("Ville%1").arg(n); });
    w()->grid()->setCurrent(2, startRow);
    w()->Fiche();
    auto* target = w()->findChild<QWidget*>(focus);
    QVERIFY(target);
    for (int i = 0; i < presses; ++i)
        QTest::keyClick(target, Qt::Key(key));
    QCOMPARE(w()->currentCard(), card);
    QCOMPARE(w()->card()->field(8)->text(), QStringLiteral("Ville%1").arg(card));
    QCOMPARE(w()->findChild<QScrollArea*>("ScrollBox1")->verticalScrollBar()->value(), 0);
    QVERIFY(!w()->isModified());
}

void TestClassFileWindow::cardButtons()
{
    // The card page is built when first shown.
    w()->grid()->setCurrent(2, 2);
    w()->Fiche();
    QCOMPARE(w()->findChild<QToolButton*>("SpeedButton1")->toolTip(), QStringLiteral("Précédent"));
    QCOMPARE(w()->findChild<QToolButton*>("SpeedButton2")->toolTip(), QStringLiteral("Suivant"));
    QCOMPARE(w()->findChild<QToolButton*>("SpeedButton1")->geometry(), QRect(16, 4, 25, 25));
    QCOMPARE(w()->findChild<QToolButton*>("SpeedButton2")->geometry(), QRect(41, 4, 25, 25));
    // What is typed on a card goes with it when the next one is shown.
    typeText(w()->card()->field(1), QStringLiteral("Ana"));
    QTest::mouseClick(w()->findChild<QToolButton*>("SpeedButton2"), Qt::LeftButton);
    QCOMPARE(w()->currentCard(), 2);
    QCOMPARE(w()->card()->field(1)->text(), QString());
    QCOMPARE(w()->table().at(1, 33), QStringLiteral("Ana"));
    QTest::mouseClick(w()->findChild<QToolButton*>("SpeedButton1"), Qt::LeftButton);
    QTest::mouseClick(w()->findChild<QToolButton*>("SpeedButton1"), Qt::LeftButton);
    QCOMPARE(w()->currentCard(), 1);
    QCOMPARE(w()->card()->field(1)->text(), QStringLiteral("Ana"));
    QCOMPARE(w()->focusWidget(), w()->card()->field(1));
}

void TestClassFileWindow::movedColumnStaysMoved()
{
    typeInCell(5, 2, QStringLiteral("14"));
    w()->grid()->setColWidth(5, 60);
    w()->setModified(false);
    dragColumn(5, 2);
    QVERIFY(w()->isModified());
    m_windows->fake().saveAnswers << Seams::SaveChoice{path(QStringLiteral("moved.prf")), 1};
    w()->Sauve();

    TMDIChild& reopened = *m_windows->open();
    reopened.Charge(path(QStringLiteral("moved.prf")));
    QCOMPARE(reopened.grid()->cell(2, 0), QStringLiteral("4,00"));
    QCOMPARE(reopened.grid()->cell(2, 2), QStringLiteral("14,00"));
    QCOMPARE(reopened.grid()->colWidth(2), 60);
    QCOMPARE(reopened.grid()->cell(3, 0), QStringLiteral("1,00"));
    QCOMPARE(reopened.grid()->colWidth(3), 32);
    QCOMPARE(reopened.grid()->cell(6, 0), QStringLiteral("5,00"));
}

// --- photos ---------------------------------------------------------------------------------

void TestClassFileWindow::photoFitsTheFrame_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRect>("area");
    QTest::addColumn<bool>("stretch");
    QTest::newRow("300 x 600") << QSize(300, 600) << QRect(30, 1, 60, 119) << true;
    QTest::newRow("600 x 300") << QSize(600, 300) << QRect(1, 30, 118, 60) << true;
    QTest::newRow("100 x 100") << QSize(100, 100) << QRect(1, 1, 118, 119) << false;
    QTest::newRow("50 x 400") << QSize(50, 400) << QRect(1, 1, 118, 119) << false;
}

void TestClassFileWindow::photoFitsTheFrame()
{
    QFETCH(QSize, size);
    QFETCH(QRect, area);
    QFETCH(bool, stretch);
    const QString file = writeJpeg(QStringLiteral("p%1x%2.jpg").arg(size.width()).arg(size.height()), size);
    w()->Fiche();
    m_windows->fake().openAnswers << file;
    QTest::mouseClick(w()->card()->photo()->view(), Qt::LeftButton, {}, QPoint(50, 50));
    QVERIFY(ClassWindows::photoCame(w()));
    QCOMPARE(m_windows->fake().openFilters,
             QStringList{QStringLiteral("Tout (*.bmp;*.ico;*.jpg)|*.bmp;*.ico;*.jpg|Bitmaps (*.bmp)|*.bmp|Icônes "
                                        "(*.ico)|*.ico|Compressés jpeg (*.jpg)|*.jpg")});
    QVERIFY(m_windows->fake().messages.isEmpty());
    QCOMPARE(w()->photoPath(), file);
    QVERIFY(w()->isModified());
    QCOMPARE(w()->card()->photo()->view()->geometry(), area);
    QCOMPARE(w()->card()->photo()->view()->stretch(), stretch);
    QCOMPARE(w()->card()->photo()->view()->pictureSize(), size);
    QCOMPARE(w()->card()->photo()->geometry(), QRect(448, 72, 120, 121));
    // What is drawn: the photo's colour in the middle of the area.
    const QImage shot = w()->card()->photo()->grab().toImage();
    const QColor middle = shot.pixelColor(area.center());
    QVERIFY2(qAbs(middle.red() - 180) < 10 && qAbs(middle.green() - 120) < 10, qPrintable(middle.name()));
}

void TestClassFileWindow::photoDialogCancelledChangesNothing()
{
    w()->Fiche();
    QTest::mouseClick(w()->card()->photo()->view(), Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(m_windows->fake().openFilters.size(), 1);
    QCOMPARE(w()->photoPath(), QString());
    QVERIFY(!w()->isModified());
}

void TestClassFileWindow::photoThatFailsKeepsPathAndFlag()
{
    writeFile(QStringLiteral("cut.jpg"), QByteArray("\xFF\xD8\xFF\xE0\x00\x10JFIF", 10));
    w()->Fiche();
    m_windows->fake().openAnswers << path(QStringLiteral("cut.jpg")) << path(QStringLiteral("photo.png"));
    for (int click = 0; click < 2; ++click) {
        QTest::mouseClick(w()->card()->photo()->view(), Qt::LeftButton, {}, QPoint(10, 10));
        QVERIFY(ClassWindows::photoCame(w()));
    }
    QCOMPARE(m_windows->fake().messages.size(), 2);
    QCOMPARE(m_windows->fake().messages[0].kind, Seams::MessageKind::Error);
    QCOMPARE(m_windows->fake().messages[0].text,
             QStringLiteral("Ne peut ouvrir le fichier ") + path(QStringLiteral("cut.jpg")));
    QCOMPARE(m_windows->fake().messages[1].text, QStringLiteral("Extension de fichier graphique inconnue (.png)"));
    QCOMPARE(w()->photoPath(), path(QStringLiteral("photo.png")));
    QVERIFY(!w()->isModified());
    QVERIFY(w()->card()->photo()->view()->isEmpty());
}

void TestClassFileWindow::brokenPhotoCardShowsItsOwnFields()
{
    const QString good = writeJpeg(QStringLiteral("good.jpg"), QSize(300, 600));
    w()->document().store([&](ClassContents& contents) {
        ClassTable& t = contents.table;
        t.at(1, 33) = QStringLiteral("Premier");
        t.at(1, 45) = good;
        t.at(1, 46) = QStringLiteral("boulanger");
        t.at(1, 47) = QStringLiteral("pharmacienne");
        t.at(2, 33) = QStringLiteral("Second");
        t.at(2, 45) = path(QStringLiteral("gone.jpg"));
        t.at(2, 46) = QStringLiteral("menuisier");
    });
    w()->grid()->setCurrent(2, 2);
    w()->Fiche();
    QVERIFY(ClassWindows::photoCame(w()));
    QVERIFY(!w()->card()->photo()->view()->isEmpty());
    QTest::mouseClick(w()->findChild<QToolButton*>("SpeedButton2"), Qt::LeftButton);
    QVERIFY(ClassWindows::photoCame(w()));
    QCOMPARE(m_windows->fake().messages.size(), 1);
    QCOMPARE(m_windows->fake().messages[0].text,
             QStringLiteral("Ne peut ouvrir le fichier ") + path(QStringLiteral("gone.jpg")));
    QCOMPARE(w()->currentCard(), 2);
    QCOMPARE(w()->card()->title(), QStringLiteral("Fiche élève - 2"));
    QCOMPARE(w()->card()->field(1)->text(), QStringLiteral("Second"));
    QCOMPARE(w()->card()->field(12)->text(), QStringLiteral("menuisier"));
    QCOMPARE(w()->card()->field(13)->text(), QString());
    QVERIFY(w()->card()->photo()->view()->isEmpty());
    QCOMPARE(w()->card()->photo()->view()->geometry(), QRect(1, 1, 118, 119));

    // Reached from the grid, the broken card is shown all the same, then its message.
    w()->Classe();
    w()->Fiche();
    QVERIFY(w()->isCardPage());
    QVERIFY(ClassWindows::photoCame(w()));
    QCOMPARE(m_windows->fake().messages.size(), 2);
    QCOMPARE(m_windows->fake().messages[1].text,
             QStringLiteral("Ne peut ouvrir le fichier ") + path(QStringLiteral("gone.jpg")));
    QCOMPARE(w()->card()->field(12)->text(), QStringLiteral("menuisier"));
    QCOMPARE(w()->focusWidget(), w()->card()->field(1));
}

void TestClassFileWindow::photoComesBackAfterMovingAway()
{
    const QString file = writeJpeg(QStringLiteral("back.jpg"), QSize(600, 300));
    w()->Fiche();
    m_windows->fake().openAnswers << file;
    QTest::mouseClick(w()->card()->photo()->view(), Qt::LeftButton, {}, QPoint(10, 10));
    QTest::keyClick(w()->card()->field(1), Qt::Key_PageDown);
    QVERIFY(w()->card()->photo()->view()->isEmpty());
    QCOMPARE(w()->photoPath(), QString());
    QTest::keyClick(w()->card()->field(1), Qt::Key_PageUp);
    QCOMPARE(w()->photoPath(), file);
    QVERIFY(!w()->card()->photo()->view()->isEmpty());
    QCOMPARE(w()->card()->photo()->view()->geometry(), QRect(1, 30, 118, 60));
    QCOMPARE(w()->table().at(1, 45), file);
}

// Noise, 2400 x 1600: a photo that takes tens of milliseconds to decode even at an eighth of its size, so that a card
// passed with Page Down is left long before its photo could come.
QByteArray slowPhoto()
{
    QImage image(2400, 1600, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, random.generate() | 0xFF000000);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 95);
    return bytes;
}

// Page Down held from card 1 to card 5, the keys at once or 30 ms apart: the cards' texts come at once, only the
// photo of the card stopped on is read to the end, only its failure is told, and the card keeps the photo at the size
// of its area. Cards 2 to 5 have a slow photo or one whose file is gone (which fails at once).
void TestClassFileWindow::pageDownHeldReadsOnlyTheCardStoppedOn_data()
{
    rows::add(
        {"all there | slow slow slow slow | 0 | 1 | -", "stopped on gone | slow slow slow gone | 0 | 0 | gone5.jpg",
         "passed ones gone | gone gone gone slow | 30 | 1 | -", "all gone | gone gone gone gone | 30 | 0 | gone5.jpg"});
}

void TestClassFileWindow::pageDownHeldReadsOnlyTheCardStoppedOn()
{
    static const QByteArray slow = slowPhoto();
    const QStringList row = rows::fields(), kinds = row[1].split(' ');
    for (int card = 2; card <= 5; ++card) {
        const QString name = kinds[card - 2] + QString::number(card) + QStringLiteral(".jpg");
        if (kinds[card - 2] == QLatin1String("slow"))
            writeFile(name, slow);
        w()->document().store([&](ClassContents& contents) { contents.table.at(card, 45) = path(name); });
    }
    w()->grid()->setCurrent(2, 2);
    w()->Fiche();
    for (int key = 0; key < 4; ++key) {
        QTest::qWait(row[2].toInt());
        QTest::keyClick(w()->card()->field(1), Qt::Key_PageDown);
    }
    QCOMPARE(w()->card()->title(), QStringLiteral("Fiche élève - 5"));
    QVERIFY(w()->photoPending());
    QVERIFY(ClassWindows::photoCame(w()));
    QCOMPARE(m_windows->shared().Photos->decodeCount(), row[3].toInt());
    QStringList told;
    for (const FakeSeams::Message& message : m_windows->fake().messages)
        told << message.text;
    QCOMPARE(told, row[4] == "-" ? QStringList() : QStringList{"Ne peut ouvrir le fichier " + path(row[4])});
    QCOMPARE(w()->card()->photo()->view()->isEmpty(), row[4] != "-");
    if (row[4] == "-") {
        // 2400 x 1600 drawn 118 wide and 80.67 high, rounded to 81, from 20 down.
        QCOMPARE(w()->card()->photo()->view()->geometry(), QRect(1, 20, 118, 81));
        QCOMPARE(w()->card()->photo()->view()->picture().size(), QSize(118, 81));
    }
}

// A photo chosen and the card left before it was read: the class is marked modified exactly when the photo can be
// read, and a photo that cannot is told once.
void TestClassFileWindow::photoChosenThenLeftAtOnce_data()
{
    rows::add({"readable | slow.jpg | modified | 0", "gone | gone.jpg | unchanged | 1"});
}

void TestClassFileWindow::photoChosenThenLeftAtOnce()
{
    const QStringList row = rows::fields();
    if (row[1] == QLatin1String("slow.jpg"))
        writeFile(row[1], slowPhoto());
    w()->Fiche();
    m_windows->fake().openAnswers << path(row[1]);
    QTest::mouseClick(w()->card()->photo()->view(), Qt::LeftButton, {}, QPoint(10, 10));
    QTest::keyClick(w()->card()->field(1), Qt::Key_PageDown);
    QCOMPARE(w()->isModified(), row[2] == QLatin1String("modified"));
    QCOMPARE(w()->table().at(1, 45), path(row[1]));
    QTest::qWait(100);
    QCOMPARE(m_windows->fake().messages.size(), row[3].toInt());
}

// --- the whole road, through the main frame ----------------------------------------------------

void TestClassFileWindow::newTypeSaveCloseOpenThroughTheFrame()
{
    delete m_window.data();
    QDir::setCurrent(m_windows->folder());
    TMainForm frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    const auto trigger = [&](const char* name) {
        auto* action = frame.findChild<QAction*>(QLatin1String(name));
        QVERIFY2(action, name);
        QVERIFY2(action->isEnabled(), name);
        action->trigger();
        QApplication::processEvents();
    };
    const QString photo = writeJpeg(QStringLiteral("eleve.jpg"), QSize(300, 600));

    trigger("FileNewItem");
    TMDIChild* c = frame.activeChild();
    QVERIFY(c);
    QCOMPARE(c->grid()->cell(1, 2), QStringLiteral("Elève1"));
    QCOMPARE(c->parentWidget()->size(), QSize(620, 402));
    m_window = c;
    typeInCell(2, 2, QStringLiteral("12.5"));
    typeInCell(3, 3, QStringLiteral("08"));
    c->grid()->setColWidth(1, 150);
    dragColumn(6, 2);
    c->grid()->setCurrent(3, 3);
    trigger("fiche1");
    QCOMPARE(c->currentCard(), 2);
    typeText(c->card()->field(1), QStringLiteral("Lefèvre"));
    typeText(c->card()->field(2), QStringLiteral("Zoé"));
    typeText(c->card()->field(8), QStringLiteral("Besançon"));
    typeText(c->card()->remarks(), QStringLiteral("Sérieuse."));
    QTest::keyClick(c->card()->remarks(), Qt::Key_Return);
    typeText(c->card()->remarks(), QStringLiteral("Participe peu."));
    QTest::keyClick(c->card()->remarks(), Qt::Key_Return);
    typeText(c->card()->remarks(), QStringLiteral("En progrès."));
    m_windows->fake().openAnswers << photo;
    QTest::mouseClick(c->card()->photo()->view(), Qt::LeftButton, {}, QPoint(5, 5));
    m_windows->fake().saveAnswers << Seams::SaveChoice{path(QStringLiteral("5eB.prf")), 1};
    trigger("FileSaveAsItem");
    QVERIFY(!c->isModified());
    trigger("FileCloseItem");
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(m_window.isNull());
    QVERIFY(frame.classWindows().isEmpty());

    m_windows->fake().openAnswers << path(QStringLiteral("5eB.prf"));
    trigger("FileOpenItem");
    c = frame.activeChild();
    QVERIFY(c);
    m_window = c;
    QCOMPARE(c->windowTitle(), QStringLiteral("5eB.prf"));
    StringGrid* g = c->grid();
    QCOMPARE(g->colWidth(1), 150);
    QCOMPARE(g->cell(2, 0), QStringLiteral("5,00")); // the moved rubric
    QCOMPARE(g->cell(3, 0), QStringLiteral("1,00"));
    QCOMPARE(g->cell(3, 2), QStringLiteral("12,50"));
    QCOMPARE(g->cell(4, 3), QStringLiteral("8,00"));
    QCOMPARE(g->cell(1, 3), QStringLiteral("Lefèvre Zoé"));
    g->setCurrent(4, 3);
    trigger("fiche1");
    QCOMPARE(c->card()->field(8)->text(), QStringLiteral("Besançon"));
    QCOMPARE(c->card()->remarks()->toPlainText(), QStringLiteral("Sérieuse.\nParticipe peu.\nEn progrès."));
    QCOMPARE(c->photoPath(), photo);
    QCOMPARE(c->card()->photo()->view()->geometry(), QRect(30, 1, 60, 119));
    QVERIFY(!c->card()->photo()->view()->isEmpty());
    QVERIFY(m_windows->fake().messages.isEmpty());
    QVERIFY(!c->isModified());
}

void TestClassFileWindow::quitKeepsRunningWhenAClassCannotBeSaved()
{
    delete m_window.data();
    QDir::setCurrent(m_windows->folder());
    TMainForm frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    m_windows->fake().openAnswers << path(QStringLiteral("locked.prf"));
    frame.findChild<QAction*>(QStringLiteral("FileOpenItem"))->trigger();
    m_window = frame.activeChild();
    QVERIFY(m_window);
    typeInCell(2, 2, QStringLiteral("9"));
    // Something now stands where the class file would be written.
    QDir(m_windows->folder()).mkpath(QStringLiteral("locked.prf"));
    m_windows->fake().messageAnswers << 0; // "&Oui"
    QVERIFY(!frame.close());
    QCOMPARE(frame.classWindows().size(), 1);
    QVERIFY(w()->isModified());
    QCOMPARE(m_windows->fake().messages.size(), 2);
    QCOMPARE(m_windows->fake().messages[1].text,
             QStringLiteral("Ne peut créer le fichier ") + path(QStringLiteral("locked.prf")));
}

QTEST_MAIN(TestClassFileWindow)
#include "TestClassFileWindow.moc"
