#include "ClassWindows.h"
#include "FakeSeams.h"
#include "TestFiles.h"
#include "app/MainForm.h"
#include "classbook/CardPage.h"
#include "classbook/CardPhoto.h"
#include "classbook/MDIChild.h"
#include "classbook/PhotoView.h"
#include "widgets/ErrorHandler.h"
#include "widgets/Fonts.h"
#include "widgets/StringGrid.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QRegularExpression>
#include <QTest>
#include <QToolButton>
#include <memory>
#include <optional>

namespace {

void name(TMDIChild& w, int student, const QString& surname, const QString& firstName = QString())
{
    w.document().store([&](ClassContents& contents) {
        contents.table.at(student, ClassTable::Surname) = surname;
        contents.table.at(student, ClassTable::FirstName) = firstName;
    });
}

QString cell(TMDIChild& w, int col, int row)
{
    return w.grid()->cell(col, row);
}

// The number of pages of a PDF file written by the printer.
int pdfPages(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QString text = QString::fromLatin1(file.readAll());
    return static_cast<int>(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
}

} // namespace

class TestClassOps : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init()
    {
        m_windows.emplace();
        QDir::setCurrent(m_windows->folder());
    }
    void cleanup() { m_windows.reset(); }
    void sortOnTheGridPage();
    void sortOnTheCardPageTakesTheTypedSurname();
    void sortOneNamedStudentStillRedraws();
    void fitColumns();
    void deleteOnTheCardPageAfterMovingOn();
    void deleteOnTheGridPageByKeyboard();
    void deleteTheLastStudent();
    void removePhoto();
    void missingPhotoDuringRedrawKeepsTheChange_data();
    void missingPhotoDuringRedrawKeepsTheChange();
    void copyWholeClassIntoAnotherWindow();
    void copyWholeClassPastedFurtherRightStopsInTheFirstRow();
    void copySelectedRangeTypedMarkIncluded();
    void cardCopyPastedOnGridAndCard();
    void gridCopyPastedOnCard();
    void emptyPasteMarksModified();
    void markBeingTypedIsNotLost_data();
    void markBeingTypedIsNotLost();
    void copyAndPasteThroughTheMainFrame();
    void printClassSheetToPdf_data();
    void printClassSheetToPdf();
    void printCardToPdf();
    void printerFailureIsReported();
    void cancelledPrintDialogPrintsNothing();

private:
    TMDIChild* newWindow()
    {
        TMDIChild* w = m_windows->open();
        w->show();
        return w;
    }

    std::optional<ClassWindows> m_windows;
};

void TestClassOps::initTestCase()
{
    fonts::install();
    QApplication::setApplicationName(QStringLiteral("Vire Lan"));
}

void TestClassOps::sortOnTheGridPage()
{
    auto w = newWindow();
    name(*w, 1, "bravo", "Basile");
    name(*w, 2, "Alpha", "Anne");
    name(*w, 3, "", "");
    name(*w, 4, QStringLiteral("Écho"), QStringLiteral("Élise"));
    w->document().store([&](ClassContents& contents) {
        contents.table.at(1, ClassTable::Photo) = "/p/bravo.jpg";
        contents.table.at(4, ClassTable::Town) = "Lyon";
        contents.table.at(6, 5) = "orphan";
    });
    w->LitGrille();
    // Marks typed in the grid since the last store: they go with their students.
    w->grid()->setCell(2, 2, "11,00");
    w->grid()->setCell(2, 3, "12,00");
    w->grid()->setCell(2, 4, "13,00");
    w->grid()->setCell(2, 5, "14,00");
    w->grid()->setCurrent(7, 5);
    w->Trier();
    QCOMPARE(cell(*w, 1, 2), QStringLiteral(" "));
    QCOMPARE(cell(*w, 1, 3), QStringLiteral("Alpha Anne"));
    QCOMPARE(cell(*w, 1, 4), QStringLiteral("bravo Basile"));
    QCOMPARE(cell(*w, 1, 5), QStringLiteral("Écho Élise"));
    QCOMPARE(cell(*w, 2, 2), QStringLiteral("13,00"));
    QCOMPARE(cell(*w, 2, 3), QStringLiteral("12,00"));
    QCOMPARE(cell(*w, 2, 4), QStringLiteral("11,00"));
    QCOMPARE(cell(*w, 2, 5), QStringLiteral("14,00"));
    QCOMPARE(w->table().at(3, ClassTable::Photo), QStringLiteral("/p/bravo.jpg"));
    QCOMPARE(w->table().at(4, ClassTable::Town), QStringLiteral("Lyon"));
    // Row of student 6 lies after the last named student: untouched.
    QCOMPARE(cell(*w, 5, 7), QStringLiteral("orphan"));
    QCOMPARE(w->grid()->col(), 7);
    QCOMPARE(w->grid()->row(), 5);
    QVERIFY(w->isModified());
}

void TestClassOps::sortOnTheCardPageTakesTheTypedSurname()
{
    auto w = newWindow();
    name(*w, 1, "Martin", "Paul");
    name(*w, 2, "Durand", "Lise");
    w->LitGrille();
    w->grid()->setCurrent(2, 2);
    w->Fiche();
    QCOMPARE(w->currentCard(), 1);
    // Student 1 renamed on the card, not yet stored.
    w->card()->field(1)->selectAll();
    QTest::keyClicks(w->card()->field(1), "Bernard");
    w->Trier();
    // The card keeps its number and now shows whoever sorted into it.
    QCOMPARE(w->currentCard(), 1);
    QCOMPARE(w->card()->field(1)->text(), QStringLiteral("Bernard"));
    QCOMPARE(w->card()->field(2)->text(), QStringLiteral("Paul"));
    QCOMPARE(w->table().at(2, ClassTable::Surname), QStringLiteral("Durand"));
    QCOMPARE(cell(*w, 1, 2), QStringLiteral("Bernard Paul"));

    name(*w, 3, "Aaron", "Zoé");
    w->Trier();
    QCOMPARE(w->card()->field(1)->text(), QStringLiteral("Aaron"));
    QCOMPARE(w->card()->field(2)->text(), QStringLiteral("Zoé"));
    QCOMPARE(w->card()->title(), QStringLiteral("Fiche élève - 1"));
}

void TestClassOps::sortOneNamedStudentStillRedraws()
{
    auto w = newWindow();
    w->Nouveau();
    name(*w, 1, "Seul", "Jean");
    w->grid()->setCell(3, 2, "12.5");
    QCOMPARE(cell(*w, 1, 3), QStringLiteral("Elève2"));
    w->Trier();
    QCOMPARE(cell(*w, 1, 2), QStringLiteral("Seul Jean"));
    // Redrawn from the class table: placeholder names go, numbers take the grid's form.
    QCOMPARE(cell(*w, 1, 3), QStringLiteral(" "));
    QCOMPARE(cell(*w, 3, 2), QStringLiteral("12,50"));
    QCOMPARE(cell(*w, 2, 0), QStringLiteral("1,00"));
    QVERIFY(w->isModified());
}

void TestClassOps::fitColumns()
{
    auto w = newWindow();
    const QString longHeading = QStringLiteral("Contrôle de géographie");
    w->grid()->setCell(3, 0, longHeading);
    w->grid()->setCell(4, 0, "Oral");
    w->grid()->setColWidth(5, 150);
    w->grid()->setColWidth(6, 39);
    w->grid()->setColWidth(0, 20);
    w->Fiche(); // works from the card page too
    w->Ajuster();
    const QFontMetrics metrics(w->font());
    QVERIFY(metrics.horizontalAdvance(longHeading) + 4 > 40);
    QCOMPARE(w->grid()->colWidth(2), 40);
    QCOMPARE(w->grid()->colWidth(3), metrics.horizontalAdvance(longHeading) + 4);
    QCOMPARE(w->grid()->colWidth(4), std::max(40, metrics.horizontalAdvance("Oral") + 4));
    QCOMPARE(w->grid()->colWidth(5), 150);
    QCOMPARE(w->grid()->colWidth(6), 40);
    QCOMPARE(w->grid()->colWidth(31), 40);
    QCOMPARE(w->grid()->colWidth(0), 20);
    QCOMPARE(w->grid()->colWidth(1), 192);
    QVERIFY(w->isModified());
    // A second fit changes nothing, and a shorter heading never narrows.
    w->grid()->setCell(3, 0, "C");
    w->Ajuster();
    QCOMPARE(w->grid()->colWidth(3), metrics.horizontalAdvance(longHeading) + 4);
}

void TestClassOps::deleteOnTheCardPageAfterMovingOn()
{
    auto w = newWindow();
    for (int n = 1; n <= 5; ++n) {
        name(*w, n, QStringLiteral("Nom%1").arg(n), QStringLiteral("P%1").arg(n));
        w->document().store([&](ClassContents& contents) { contents.table.at(n, 2) = QStringLiteral("%1,00").arg(n); });
    }
    w->LitGrille();
    w->grid()->setCurrent(2, 2);
    w->Fiche();
    QTest::mouseClick(w->findChild<QToolButton*>("SpeedButton2"), Qt::LeftButton);
    QTest::mouseClick(w->findChild<QToolButton*>("SpeedButton2"), Qt::LeftButton);
    QCOMPARE(w->card()->field(1)->text(), QStringLiteral("Nom3"));
    // An edit on the card of the student that follows is not lost: it is stored before the move.
    QTest::mouseClick(w->findChild<QToolButton*>("SpeedButton2"), Qt::LeftButton);
    QTest::keyClicks(w->card()->field(8), "Nantes");
    QTest::mouseClick(w->findChild<QToolButton*>("SpeedButton1"), Qt::LeftButton);
    w->setModified(false);
    w->Supprimer();
    QCOMPARE(w->currentCard(), 3);
    QCOMPARE(w->card()->field(1)->text(), QStringLiteral("Nom4"));
    QCOMPARE(w->card()->field(8)->text(), QStringLiteral("Nantes"));
    QCOMPARE(w->card()->title(), QStringLiteral("Fiche élève - 3"));
    QCOMPARE(cell(*w, 1, 4), QStringLiteral("Nom4 P4"));
    QCOMPARE(cell(*w, 2, 4), QStringLiteral("4,00"));
    QCOMPARE(cell(*w, 1, 6), QStringLiteral(" "));
    QCOMPARE(cell(*w, 2, 6), QString());
    QCOMPARE(cell(*w, 1, 3), QStringLiteral("Nom2 P2"));
    QVERIFY(w->isModified());
    QVERIFY(w->isCardPage());
}

void TestClassOps::deleteOnTheGridPageByKeyboard()
{
    auto w = newWindow();
    for (int n = 1; n <= 4; ++n) {
        name(*w, n, QStringLiteral("Nom%1").arg(n));
        w->document().store([&](ClassContents& contents) { contents.table.at(n, 3) = QStringLiteral("%1").arg(n); });
    }
    w->LitGrille();
    w->grid()->setFocus();
    w->grid()->setCurrent(3, 2);
    QTest::keyClick(w->grid(), Qt::Key_Down);
    QTest::keyClick(w->grid(), Qt::Key_Right);
    QCOMPARE(w->grid()->row(), 3);
    w->Supprimer();
    QCOMPARE(w->currentCard(), 2);
    QCOMPARE(w->grid()->row(), 3);
    QCOMPARE(w->grid()->col(), 4);
    QCOMPARE(cell(*w, 1, 3), QStringLiteral("Nom3 "));
    QCOMPARE(cell(*w, 3, 3), QStringLiteral("3,00"));
    QCOMPARE(cell(*w, 1, 4), QStringLiteral("Nom4 "));
    QCOMPARE(cell(*w, 1, 5), QStringLiteral(" "));
    // The card page now opens on the student that moved up.
    w->Fiche();
    QCOMPARE(w->card()->field(1)->text(), QStringLiteral("Nom3"));
}

void TestClassOps::deleteTheLastStudent()
{
    auto w = newWindow();
    name(*w, 61, "Avant", "Der");
    name(*w, 62, "Dernier", "Luc");
    w->document().store([&](ClassContents& contents) {
        contents.table.at(62, 31) = "20";
        contents.table.at(62, ClassTable::Remarks) = "rem";
        contents.table.at(64, 2) = "spare";
    });
    w->LitGrille();
    w->grid()->setCurrent(2, 63);
    w->Fiche();
    QCOMPARE(w->card()->field(1)->text(), QStringLiteral("Dernier"));
    w->Supprimer();
    QCOMPARE(w->currentCard(), 62);
    QCOMPARE(w->card()->field(1)->text(), QString());
    QCOMPARE(w->card()->field(2)->text(), QString());
    QCOMPARE(w->card()->remarks()->toPlainText(), QString());
    QCOMPARE(cell(*w, 1, 63), QStringLiteral(" "));
    QCOMPARE(cell(*w, 31, 63), QString());
    QCOMPARE(cell(*w, 1, 62), QStringLiteral("Avant Der"));
    // Rows 63 and 64 moved up: the spare content of row 64 now also sits in row 63, and stays in 64.
    QCOMPARE(w->table().at(62, 2), QString());
    QCOMPARE(w->table().at(63, 2), QStringLiteral("spare"));
    QCOMPARE(w->table().at(64, 2), QStringLiteral("spare"));
}

void TestClassOps::removePhoto()
{
    auto w = newWindow();
    const QString photo = m_windows->path("tete.bmp");
    QImage image(40, 50, QImage::Format_RGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(photo, "BMP"));
    name(*w, 1, "Photo", "Pia");
    w->document().store([&](ClassContents& contents) { contents.table.at(1, ClassTable::Photo) = photo; });
    w->LitGrille();
    w->grid()->setCurrent(2, 2);

    w->SupPhoto(); // grid page: nothing
    QVERIFY(!w->isModified());
    QCOMPARE(w->table().at(1, ClassTable::Photo), photo);

    w->Fiche();
    QCOMPARE(w->photoPath(), photo);
    QVERIFY(ClassWindows::photoCame(w));
    QVERIFY(!w->card()->photo()->view()->isEmpty());
    w->SupPhoto();
    QVERIFY(w->card()->photo()->view()->isEmpty());
    QCOMPARE(w->photoPath(), QString());
    QVERIFY(w->isModified());
    // The slot follows at the next store; the file is not touched.
    QCOMPARE(w->table().at(1, ClassTable::Photo), photo);
    w->Classe();
    QCOMPARE(w->table().at(1, ClassTable::Photo), QString());
    QVERIFY(QFile::exists(photo));

    // Removed before it came, the photo never comes.
    QVERIFY(QFile::copy(photo, m_windows->path("autre.bmp")));
    w->document().store(
        [&](ClassContents& contents) { contents.table.at(2, ClassTable::Photo) = m_windows->path("autre.bmp"); });
    w->grid()->setCurrent(2, 3);
    w->Fiche();
    QVERIFY(w->photoPending());
    w->SupPhoto();
    QTest::qWait(100);
    QVERIFY(w->card()->photo()->view()->isEmpty());
}

void TestClassOps::missingPhotoDuringRedrawKeepsTheChange_data()
{
    QTest::addColumn<bool>("sort");
    QTest::newRow("sort") << true;
    QTest::newRow("delete") << false;
}

void TestClassOps::missingPhotoDuringRedrawKeepsTheChange()
{
    QFETCH(bool, sort);
    FakeSeams& fake = m_windows->fake();
    auto w = newWindow();
    const QString missing = m_windows->path("partie.jpg");
    name(*w, 1, "b");
    name(*w, 2, "a");
    name(*w, 3, "c");
    w->document().store([&](ClassContents& contents) { contents.table.at(2, ClassTable::Photo) = missing; });
    w->LitGrille();
    w->grid()->setCurrent(2, 2);
    w->Fiche();
    QVERIFY(fake.messages.isEmpty()); // card 1 ("b") has no photo
    w->setModified(false);
    // Either command brings student "a", whose photo file is gone, onto card 1.
    errors::guarded(w, [&] { sort ? w->Trier() : w->Supprimer(); });
    QVERIFY(ClassWindows::photoCame(w));
    QCOMPARE(fake.messages.size(), 1);
    QVERIFY(fake.messages[0].text.contains(missing));
    QVERIFY(w->isModified());
    QCOMPARE(w->table().at(1, ClassTable::Surname), QStringLiteral("a"));
    QCOMPARE(cell(*w, 1, 2), QStringLiteral("a "));
}

void TestClassOps::copyWholeClassIntoAnotherWindow()
{
    auto a = newWindow();
    auto b = newWindow();
    for (int r = 2; r <= 63; ++r)
        for (int c = 2; c <= 31; c += 7)
            a->grid()->setCell(c, r, QStringLiteral("%1/%2").arg(c).arg(r));
    a->grid()->setCell(1, 2, "not copied");
    a->grid()->setCurrent(9, 40); // a single cell: the whole class
    QStringList buffer = {"old"};
    a->Copier(buffer);
    QCOMPARE(buffer.size(), 62 * 31);
    QCOMPARE(buffer.count("CRLF"), 62);

    b->grid()->setCurrent(2, 2);
    b->Coller(buffer);
    for (int r = 2; r <= 63; ++r)
        for (int c = 2; c <= 31; ++c)
            QCOMPARE(cell(*b, c, r), cell(*a, c, r));
    QCOMPARE(cell(*b, 1, 2), QString());
    QVERIFY(b->isModified());
    QVERIFY(!a->isModified());
}

void TestClassOps::copyWholeClassPastedFurtherRightStopsInTheFirstRow()
{
    auto a = newWindow();
    auto b = newWindow();
    for (int r = 2; r <= 63; ++r)
        for (int c = 2; c <= 31; ++c)
            a->grid()->setCell(c, r, QStringLiteral("%1/%2").arg(c).arg(r));
    QStringList buffer;
    a->Copier(buffer);
    b->grid()->setCurrent(5, 10);
    b->Coller(buffer);
    for (int c = 5; c <= 31; ++c)
        QCOMPARE(cell(*b, c, 10), QStringLiteral("%1/2").arg(c - 3));
    for (int c = 2; c <= 4; ++c)
        QCOMPARE(cell(*b, c, 10), QString());
    for (int r = 11; r <= 63; ++r)
        for (int c = 2; c <= 31; ++c)
            QCOMPARE(cell(*b, c, r), QString());
}

void TestClassOps::copySelectedRangeTypedMarkIncluded()
{
    auto a = newWindow();
    auto b = newWindow();
    a->grid()->setFocus();
    a->grid()->setCell(4, 4, "9,00");
    a->grid()->setCell(5, 5, "x");
    a->grid()->setCurrent(4, 3);
    // A mark typed and still in the cell editor when the copy is asked for.
    QTest::keyClick(a->grid(), '1');
    QVERIFY(a->grid()->isEditing());
    QTest::keyClicks(a->grid()->editor(), "234");
    a->grid()->setSelection({4, 3, 5, 5});
    QStringList buffer;
    a->Copier(buffer);
    QCOMPARE(buffer, (QStringList{"12,34", "", "CRLF", "9,00", "", "CRLF", "", "x", "CRLF"}));

    b->grid()->setCurrent(30, 62);
    b->Coller(buffer);
    QCOMPARE(cell(*b, 30, 62), QStringLiteral("12,34"));
    QCOMPARE(cell(*b, 31, 62), QString());
    QCOMPARE(cell(*b, 30, 63), QStringLiteral("9,00"));
    QCOMPARE(cell(*b, 31, 63), QString());
    QVERIFY(b->isModified());
}

void TestClassOps::cardCopyPastedOnGridAndCard()
{
    auto a = newWindow();
    a->grid()->setCurrent(2, 2);
    a->Fiche();
    const QList<QLineEdit*> edits = {
        a->card()->field(1),  a->card()->field(2),  a->card()->field(3), a->card()->field(4), a->card()->field(5),
        a->card()->field(6),  a->card()->field(7),  a->card()->field(8), a->card()->field(9), a->card()->field(10),
        a->card()->field(11), a->card()->field(12), a->card()->field(13)};
    for (int i = 0; i < edits.size(); ++i) {
        edits[i]->setFocus();
        QTest::keyClicks(edits[i], QStringLiteral("f%1").arg(i + 1));
    }
    a->card()->remarks()->setFocus();
    QTest::keyClicks(a->card()->remarks(), "ligne 1");
    QTest::keyClick(a->card()->remarks(), Qt::Key_Return);
    QTest::keyClicks(a->card()->remarks(), "ligne 2");
    QStringList buffer;
    a->Copier(buffer);
    QCOMPARE(buffer,
             (QStringList{"f1", "f2", "f3", "f4", "f5", "f6", "f7", "f8", "f9", "f10", "f11", "ligne 1\r\nligne 2"}));

    auto b = newWindow();
    b->grid()->setCurrent(22, 7);
    b->Coller(buffer);
    for (int i = 0; i < 10; ++i)
        QCOMPARE(cell(*b, 22 + i, 7), buffer[i]);
    QCOMPARE(cell(*b, 21, 7), QString());
    QCOMPARE(cell(*b, 22, 8), QString());

    b->Fiche();
    QTest::keyClicks(b->card()->field(12), "pere");
    b->Coller(buffer);
    const QList<QLineEdit*> pasted = {b->card()->field(1),  b->card()->field(2), b->card()->field(3),
                                      b->card()->field(4),  b->card()->field(5), b->card()->field(6),
                                      b->card()->field(7),  b->card()->field(8), b->card()->field(9),
                                      b->card()->field(10), b->card()->field(11)};
    for (int i = 0; i < 11; ++i)
        QCOMPARE(pasted[i]->text(), QStringLiteral("f%1").arg(i + 1));
    QCOMPARE(b->card()->remarks()->toPlainText(), QStringLiteral("ligne 1\nligne 2"));
    QCOMPARE(b->card()->remarks()->blockCount(), 2);
    // The occupations are not part of a card copy.
    QCOMPARE(b->card()->field(12)->text(), QStringLiteral("pere"));
    QCOMPARE(b->card()->field(13)->text(), QString());
    b->Classe();
    QCOMPARE(b->table().at(6, ClassTable::Remarks), QStringLiteral("ligne 1\r\nligne 2"));
    QCOMPARE(cell(*b, 1, 7), QStringLiteral("f1 f2"));
}

void TestClassOps::gridCopyPastedOnCard()
{
    auto a = newWindow();
    a->grid()->setCell(2, 2, "1,00");
    a->grid()->setCell(3, 2, "2,00");
    a->grid()->setCell(2, 3, "3,00");
    a->grid()->setSelection({2, 2, 3, 6});
    QStringList buffer;
    a->Copier(buffer);
    QCOMPARE(buffer.size(), 15);

    auto b = newWindow();
    b->Fiche();
    QTest::keyClicks(b->card()->remarks(), "garde");
    b->Coller(buffer);
    QCOMPARE(b->card()->field(1)->text(), QStringLiteral("1,00"));
    QCOMPARE(b->card()->field(2)->text(), QStringLiteral("2,00"));
    QCOMPARE(b->card()->field(3)->text(), QStringLiteral("CRLF"));
    QCOMPARE(b->card()->field(4)->text(), QStringLiteral("3,00"));
    QCOMPARE(b->card()->field(6)->text(), QStringLiteral("CRLF"));
    QCOMPARE(b->card()->field(9)->text(), QStringLiteral("CRLF"));
    QCOMPARE(b->card()->remarks()->toPlainText(), QStringLiteral("CRLF"));

    // Fewer than twelve items: the later fields keep their text.
    b->Coller({"a", "b"});
    QCOMPARE(b->card()->field(1)->text(), QStringLiteral("a"));
    QCOMPARE(b->card()->field(2)->text(), QStringLiteral("b"));
    QCOMPARE(b->card()->field(3)->text(), QStringLiteral("CRLF"));
    QCOMPARE(b->card()->remarks()->toPlainText(), QStringLiteral("CRLF"));
}

void TestClassOps::emptyPasteMarksModified()
{
    auto w = newWindow();
    w->grid()->setCurrent(2, 2);
    w->Coller({});
    QVERIFY(w->isModified());
    QCOMPARE(cell(*w, 2, 2), QString());
    w->setModified(false);
    w->Fiche();
    w->Coller({});
    QVERIFY(w->isModified());
    // On the card page a copy clears the buffer and gives exactly twelve items.
    QStringList buffer = {"a", "CRLF"};
    w->Copier(buffer);
    QCOMPARE(buffer, QStringList(12, QString()));
}

void TestClassOps::markBeingTypedIsNotLost_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("expected");
    // The mark 12,34 is being typed for student 3 ("c", grid row 4) when the command comes.
    QTest::newRow("paste over the cell being edited") << "paste"
                                                      << "x";
    QTest::newRow("sort keeps it on its student") << "sort"
                                                  << "12,34";
    // Deleting student 3 itself: the row that moves up shows its own mark, not the typing.
    QTest::newRow("delete the student being typed for") << "delete"
                                                        << "5,00";
}

void TestClassOps::markBeingTypedIsNotLost()
{
    QFETCH(QString, operation);
    QFETCH(QString, expected);
    auto w = newWindow();
    name(*w, 1, "b");
    name(*w, 2, "a");
    name(*w, 3, "c");
    name(*w, 4, "d");
    w->document().store([&](ClassContents& contents) { contents.table.at(4, 3) = "5"; });
    w->LitGrille();
    w->grid()->setFocus();
    w->grid()->setCurrent(3, 4);
    QTest::keyClick(w->grid(), '1');
    QTest::keyClicks(w->grid()->editor(), "234");
    QVERIFY(w->grid()->isEditing());
    if (operation == "paste")
        w->Coller({"x"});
    else if (operation == "sort") {
        w->Trier();
        // Stored in the class table by the sort itself, not merely left in the editor.
        QCOMPARE(w->table().at(3, 3), QStringLiteral("12,34"));
    } else
        w->Supprimer();
    QVERIFY(!w->grid()->isEditing());
    w->grid()->setFocus();
    QTest::keyClick(w->grid(), Qt::Key_Down);
    QCOMPARE(cell(*w, 3, 4), expected);
    QCOMPARE(cell(*w, 1, 4), operation == "delete" ? QStringLiteral("d ") : QStringLiteral("c "));
}

void TestClassOps::copyAndPasteThroughTheMainFrame()
{
    auto form = std::make_unique<TMainForm>();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    form->FileNewItemClick();
    TMDIChild* first = form->activeChild();
    first->grid()->setCell(2, 2, "15,00");
    first->grid()->setCell(31, 63, "3,50");
    form->action("CopyItem")->trigger();
    QCOMPARE(form->copyBuffer().size(), 62 * 31);
    // The buffer belongs to the frame: it outlives the window it came from.
    first->setModified(false);
    form->FileCloseItemClick();
    QTRY_VERIFY(form->classWindows().isEmpty());
    QCOMPARE(form->copyBuffer().size(), 62 * 31);

    form->FileNewItemClick();
    TMDIChild* second = form->activeChild();
    second->grid()->setCurrent(2, 2);
    QTest::mouseClick(form->button("PasteBtn"), Qt::LeftButton);
    QCOMPARE(second->grid()->cell(2, 2), QStringLiteral("15,00"));
    QCOMPARE(second->grid()->cell(31, 63), QStringLiteral("3,50"));
    QVERIFY(second->isModified());
    second->setModified(false);
}

void TestClassOps::printClassSheetToPdf_data()
{
    QTest::addColumn<int>("students");
    QTest::addColumn<int>("pages");
    QTest::newRow("25 students on one page") << 25 << 1;
    // At 1200 dpi a line is 240 pixels: 64 lines do not fit on one page.
    QTest::newRow("62 students continue on a second page") << 62 << 2;
}

void TestClassOps::printClassSheetToPdf()
{
    QFETCH(int, students);
    QFETCH(int, pages);
    FakeSeams& fake = m_windows->fake();
    auto w = newWindow();
    for (int n = 1; n <= students; ++n) {
        name(*w, n, QStringLiteral("Nom%1").arg(n), "Prénom");
        w->document().store(
            [&](ClassContents& contents) { contents.table.at(n, 2) = QStringLiteral("%1").arg(n % 20); });
    }
    w->LitGrille();
    QCOMPARE(fake.pdfPrinter().logicalDpiX(), 1200);
    w->Imprimer();
    QVERIFY(fake.messages.isEmpty());
    QCOMPARE(pdfPages(fake.printerOutput()), pages);
    QVERIFY(!w->isModified());
}

void TestClassOps::printCardToPdf()
{
    FakeSeams& fake = m_windows->fake();
    fake.fixedNow = QDateTime(QDate(2026, 12, 7), QTime(9, 0));
    auto w = newWindow();
    const QString photo = m_windows->path("carte.bmp");
    QImage image(60, 80, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QVERIFY(image.save(photo, "BMP"));
    name(*w, 1, "Dupont", "Luc");
    w->document().store([&](ClassContents& contents) { contents.table.at(1, ClassTable::Photo) = photo; });
    QStringList remarks;
    for (int i = 0; i < 80; ++i)
        remarks << QStringLiteral("remarque %1").arg(i);
    w->document().store(
        [&](ClassContents& contents) { contents.table.at(1, ClassTable::Remarks) = remarks.join("\r\n"); });
    w->grid()->setCurrent(2, 2);
    w->Fiche();
    // Printed before the card has shown its photo: the photo is printed all the same.
    QVERIFY(w->photoPending());
    w->Imprimer();
    QVERIFY(fake.messages.isEmpty());
    // 80 remark lines from 80 mm run past the bottom of one page.
    QCOMPARE(pdfPages(fake.printerOutput()), 2);
    QCOMPARE(testfiles::readAll(fake.printerOutput()).count("/Subtype /Image"), 1);

    w->card()->remarks()->setPlainText("court");
    QFile::remove(fake.printerOutput());
    w->Imprimer();
    QCOMPARE(pdfPages(fake.printerOutput()), 1);
}

void TestClassOps::printerFailureIsReported()
{
    FakeSeams& fake = m_windows->fake();
    fake.printDialogAnswers = {true};
    fake.pdfPrinter().setOutputFileName(m_windows->path("no/such/folder/out.pdf"));
    auto form = std::make_unique<TMainForm>();
    form->show();
    form->FileNewItemClick();
    TMDIChild* w = form->activeChild();
    w->grid()->setCell(2, 2, "10,00");
    w->setModified(false);
    form->action("Imprimer1")->trigger();
    QCOMPARE(fake.printDialogs, 1);
    QCOMPARE(fake.messages.size(), 1);
    QCOMPARE(fake.messages[0].kind, Seams::MessageKind::Error);
    QCOMPARE(fake.messages[0].text, QStringLiteral("L'imprimante sélectionnée n'est pas valide"));
    QCOMPARE(w->grid()->cell(2, 2), QStringLiteral("10,00"));
    QVERIFY(!w->isModified());
}

void TestClassOps::cancelledPrintDialogPrintsNothing()
{
    FakeSeams& fake = m_windows->fake();
    fake.printDialogAnswers = {false};
    auto form = std::make_unique<TMainForm>();
    form->show();
    form->FileNewItemClick();
    QTest::mouseClick(form->button("SpeedButton6"), Qt::LeftButton);
    QCOMPARE(fake.printDialogs, 1);
    QVERIFY(!QFile::exists(fake.printerOutput()));
    QVERIFY(fake.messages.isEmpty());
    form->activeChild()->setModified(false);
}

QTEST_MAIN(TestClassOps)
#include "TestClassOps.moc"
