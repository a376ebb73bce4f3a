#include "ClassWindows.h"
#include "FakeSeams.h"
#include "Rows.h"
#include "TestFiles.h"
#include "analysis/Rub.h"
#include "classbook/CardPage.h"
#include "classbook/MDIChild.h"
#include "companions/Devoirs.h"
#include "widgets/Fonts.h"
#include "widgets/StringGrid.h"

#include <QDateEdit>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>

// Every kind of change of a class taken back and made again, against the bytes its files would then hold.
class TestUndo : public QObject
{
    Q_OBJECT

    std::optional<ClassWindows> m_windows;
    TMDIChild* m_w = nullptr;
    StringGrid* grid() const { return m_w->grid(); }

    // What a save would write now: the class file, then the homework file.
    QByteArray bytesNow() const
    {
        const ClassContents contents = m_w->document().currentContents();
        return classfile::write(contents.table, contents.widths) + "--\r\n" + homework::write(contents.homework);
    }

    QWidget* target() const
    {
        if (m_w->isCardPage())
            return QApplication::focusWidget();
        return grid()->isEditing() ? static_cast<QWidget*>(grid()->editor()) : grid();
    }

    // "@c,r" makes a cell current, "card" and "grid" turn the page, a field's name takes the focus, Return and Tab
    // are keys, the operations' names run them; anything else is typed.
    void play(const QString& gesture)
    {
        FakeSeams& fake = m_windows->fake();
        const QHash<QString, std::function<void()>> operations{
            {"card", [&] { m_w->Fiche(); }},
            {"grid", [&] { m_w->Classe(); }},
            {"sort", [&] { m_w->Trier(); }},
            {"delete", [&] { m_w->Supprimer(); }},
            {"adjust", [&] { m_w->Ajuster(); }},
            {"nophoto", [&] { m_w->SupPhoto(); }},
            {"paste",
             [&] {
                 m_w->Coller({"18", "19", "CRLF", "20"});
             }},
            {"photo",
             [&] {
                 fake.openAnswers << photo("new.jpg");
                 m_w->Image1Click();
                 QVERIFY(ClassWindows::photoCame(m_w));
             }},
            {"rubrics",
             [&] {
                 fake.onModal = [](QDialog* d) {
                     static_cast<TRub*>(d)->StringGrid1->setCell(1, 3, "TP");
                     static_cast<TRub*>(d)->StringGrid1->setCell(2, 3, "0.5");
                     return 0;
                 };
                 m_w->Rubriques();
             }},
            {"homework",
             [&] {
                 fake.onModal = [](QDialog* d) {
                     auto* devoirs = static_cast<TDevoirs*>(d);
                     devoirs->DateTimePicker(1)->setDate(QDate(2027, 3, 15));
                     devoirs->Edit(1)->setText("Rédaction");
                     devoirs->Edit(1)->setModified(true);
                     return 0;
                 };
                 m_w->DatesDevoirs();
             }},
            {"version",
             [&] { m_w->Restaurer(testfiles::readAll(m_windows->path("6A.prf")).replace("Petit", "Grand")); }},
            {"import",
             [&] {
                 testfiles::writeAll(m_windows->path("liste.csv"), "Nom;Prénom\r\nDurand;Zoé\r\n");
                 fake.openAnswers << m_windows->path("liste.csv");
                 // The preview accepted as shown.
                 fake.onModal = [](QDialog*) { return int(QDialog::Accepted); };
                 m_w->Importer();
             }},
            {"move",
             [&] {
                 const QPoint from = grid()->cellRect(5, 0).center(), to = grid()->cellRect(2, 0).center();
                 QTest::mousePress(grid()->viewport(), Qt::LeftButton, {}, from);
                 QMouseEvent move(QEvent::MouseMove, QPointF(to), grid()->viewport()->mapToGlobal(QPointF(to)),
                                  Qt::NoButton, Qt::LeftButton, {});
                 QApplication::sendEvent(grid()->viewport(), &move);
                 QTest::mouseRelease(grid()->viewport(), Qt::LeftButton, {}, to);
             }},
        };
        for (const QString& step : gesture.split(' ', Qt::SkipEmptyParts)) {
            if (step.startsWith('@'))
                grid()->setCurrent(step.mid(1).section(',', 0, 0).toInt(), step.section(',', 1).toInt());
            else if (operations.contains(step))
                operations[step]();
            else if (step.startsWith("Edit") || step == "Memo1")
                m_w->findChild<QWidget*>(step)->setFocus();
            else if (const QHash<QString, Qt::Key> keys{{"Return", Qt::Key_Return},
                                                        {"Tab", Qt::Key_Tab},
                                                        {"Escape", Qt::Key_Escape},
                                                        {"BackSpace", Qt::Key_Backspace}};
                     keys.contains(step))
                QTest::keyClick(target(), keys[step]);
            else
                QTest::keyClicks(target(), step);
        }
    }

    QString photo(const QString& name) const
    {
        QImage image(40, 50, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        image.save(m_windows->path(name), "JPG");
        return m_windows->path(name);
    }

private slots:
    void initTestCase() { fonts::install(); }
    void init()
    {
        m_windows.emplace();
        m_w = m_windows->openShown();
        QVERIFY(m_w);
        m_w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_w));
        // Three students, the second with a photo, and a mark as a file from elsewhere may hold it.
        testfiles::writeAll(m_windows->path("6A.prf"), "0C0" + QByteArray("020").repeated(30) +
                                                           "\r\n0002Oral\r\n01022\r\n0202 12.5\r\n0221Petit\r\n"
                                                           "0222Lucas\r\n03028\r\n0321Martin\r\n0328Rennes\r\n032D" +
                                                           photo("old.jpg").toUtf8() + "\r\n0421Bernard\r\n");
        m_w->Charge(m_windows->path("6A.prf"));
    }
    void cleanup() { m_windows.reset(); }

    // The row | what is done first and saved | the change | its name after "Annuler" | the page it is taken back
    // on.
    void eachChangeBackAndForth_data()
    {
        rows::add({
            "mark typed |  | @3,3 12.5 Return | la saisie | grid",
            "mark typed over another |  | @2,2 9 Tab | la saisie | grid",
            "a heading from the rubrics |  | rubrics | la définition des rubriques | grid",
            "card field left | @2,3 card | Edit8 Brest Tab | la saisie | card",
            "remarks left | @2,4 card | Memo1 Calme Edit1 | la saisie | card",
            "card field left, then the grid | @2,3 card | Edit2 Leo grid | la saisie | card",
            "photo chosen | @2,4 card | photo | le choix de la photo | card",
            "photo removed | @2,3 card | nophoto | la suppression de la photo | card",
            "block pasted |  | @4,2 paste | le collage | grid",
            "card pasted | card | paste | le collage | card",
            "student deleted |  | @2,2 delete | la suppression de l'élève | grid",
            "student deleted on the card | @2,3 card | delete | la suppression de l'élève | card",
            "class sorted, a typed mark kept as typed | @3,3 12.5 Return | sort | le tri | grid",
            "sorted from the card | card | sort | le tri | card",
            "sorted, then the page turned | @2,3 | sort card | le tri | grid",
            "students imported |  | import | l'importation | grid",
            "columns adjusted |  | adjust | l'ajustement des colonnes | grid",
            "column moved |  | move | le déplacement de la colonne | grid",
            "homework dates |  | homework | les dates des devoirs | grid",
            "a version restored, from the card | card | version | la reprise de la version | card",
        });
    }
    void eachChangeBackAndForth()
    {
        const QStringList row = rows::fields();
        play(row[1]);
        m_w->document().rename(m_windows->path("6A.prf"));
        m_w->Sauve();
        const QByteArray saved = bytesNow();
        QCOMPARE(saved.left(saved.indexOf("--\r\n")), testfiles::readAll(m_windows->path("6A.prf")));
        QVERIFY(!m_w->isModified());

        play(row[2]);
        const QByteArray changed = bytesNow();
        QVERIFY(changed != saved);
        QCOMPARE(m_w->undoText(), row[3]);
        for (int round = 0; round < 2; ++round) {
            QVERIFY(m_w->isModified() && m_w->canUndo() && !m_w->canRedo());
            m_w->Undo();
            QCOMPARE(bytesNow(), saved);
            QVERIFY(!m_w->isModified() && m_w->canRedo());
            QCOMPARE(m_w->redoText(), row[3]);
            QCOMPARE(m_w->isCardPage(), row[4] == "card");
            m_w->Redo();
            QCOMPARE(bytesNow(), changed);
        }
        // A change after the undo is a change again.
        m_w->Undo();
        play("@6,6 7 Return");
        QVERIFY(m_w->isModified() && !m_w->canRedo());
    }

    // Keys that leave a cell or a field as it was count as a change, which no undo takes back.
    void keysThatChangeNothing_data()
    {
        rows::add({"cell | @4,4 5 Escape", "field | card Edit8 x BackSpace Tab", "refused by the mask | @4,4 x"});
    }
    void keysThatChangeNothing()
    {
        play("@3,3 12 Return " + rows::fields()[1]);
        m_w->Undo();
        QVERIFY(m_w->isModified() && !m_w->canUndo());
    }
};

QTEST_MAIN(TestUndo)
#include "TestUndo.moc"
