#include "ClassWindows.h"
#include "classbook/CardPage.h"
#include "classbook/CardPhoto.h"
#include "classbook/MDIChild.h"
#include "widgets/Fonts.h"
#include "widgets/StringGrid.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

class TestClassWindow : public QObject
{
    Q_OBJECT

    std::optional<ClassWindows> m_windows;

private slots:
    void initTestCase() { fonts::install(); }
    void init() { m_windows.emplace(); }
    void cleanup() { m_windows.reset(); }
    void newWindowDefaults();
    void formatNbr_data();
    void formatNbr();
    void gridRoundTripNormalises();
    void namesColumnIsRebuilt();
    void spareSlotsAndRowsUntouched();
    void cardTransfers();
    void cardFieldsOfNewWindow();
    void cardBuiltLateAsAtOnce();
};

void TestClassWindow::newWindowDefaults()
{
    TMDIChild& w = *m_windows->open();
    StringGrid* g = w.grid();
    QCOMPARE(g->colCount(), 32);
    QCOMPARE(g->rowCount(), 64);
    QCOMPARE(g->fixedCols(), 2);
    QCOMPARE(g->fixedRows(), 2);
    for (int c = 2; c <= 31; ++c) {
        QCOMPARE(g->cell(c, 0), QString::number(c - 1));
        QCOMPARE(g->cell(c, 1), QStringLiteral("1"));
        QCOMPARE(g->colWidth(c), 32);
    }
    for (int r = 2; r <= 63; ++r)
        QCOMPARE(g->cell(0, r), QString::number(r - 1));
    QCOMPARE(g->cell(0, 0), QString());
    QCOMPARE(g->cell(0, 1), QString());
    QCOMPARE(g->cell(1, 0), QStringLiteral("                 Rubriques"));
    QCOMPARE(g->cell(1, 1), QStringLiteral("Elèves \\ Coefficients"));
    QCOMPARE(g->colWidth(1), 192);
    QCOMPARE(g->colWidth(0), 32);
    QVERIFY(w.fileName().isEmpty());
    QVERIFY(!w.isModified());
    QCOMPARE(w.currentCard(), 0);
    QVERIFY(!w.isCardPage());
    QCOMPARE(w.size(), QSize(620, 402));
    for (const QString& entry : w.ListeDevoirs())
        QVERIFY(entry.isEmpty());
}

void TestClassWindow::formatNbr_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("7") << "7" << "7,00";
    QTest::newRow("12.5") << "12.5" << "12,50";
    QTest::newRow("12,5") << "12,5" << "12,50";
    QTest::newRow("0.5") << "0.5" << ",50";
    QTest::newRow("8") << "8" << "8,00";
    QTest::newRow("leading blanks kept when not a digit") << "  x" << "  x";
    QTest::newRow("blanks trimmed around a number") << "  15  " << "15,00";
    QTest::newRow("2e trimestre") << "2e trimestre" << "2e trimestre";
    QTest::newRow("3.a") << "3.a" << "3,a";
    QTest::newRow("3.a with blanks") << " 3.a " << "3,a";
    QTest::newRow("only first dot") << "1.2.3" << "1,2.3";
    QTest::newRow(".5 does not begin with a digit") << ".5" << ".5";
    QTest::newRow(",5 does not begin with a digit") << ",5" << ",5";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("all blank") << "   " << "   ";
    QTest::newRow("heading") << "Devoir 1" << "Devoir 1";
    QTest::newRow("abs") << "abs" << "abs";
    QTest::newRow("already normal") << "12,50" << "12,50";
    QTest::newRow("rounds") << "12,345" << "12,35";
    QTest::newRow("exponent") << "1e2" << "100,00";
    QTest::newRow("masked without decimals") << "7," << "7,00";
    QTest::newRow("coefficient 0.5") << "0.5" << ",50";
    QTest::newRow("zero") << "0" << ",00";
    QTest::newRow("tab counts as blank") << "\t9\t" << "9,00";
}

void TestClassWindow::formatNbr()
{
    QFETCH(QString, in);
    QFETCH(QString, out);
    QCOMPARE(TMDIChild::FormatNbr(in), out);
}

void TestClassWindow::gridRoundTripNormalises()
{
    TMDIChild& w = *m_windows->open();
    StringGrid* g = w.grid();
    g->setCell(2, 0, QStringLiteral("Dictée"));
    g->setCell(3, 1, QStringLiteral("2"));
    g->setCell(2, 2, QStringLiteral("12.5"));
    g->setCell(31, 63, QStringLiteral("abs"));
    w.EcritGrille();
    QCOMPARE(w.table().at(-1, 2), QStringLiteral("Dictée"));
    QCOMPARE(w.table().at(-1, 3), QStringLiteral("2"));
    QCOMPARE(w.table().at(0, 3), QStringLiteral("2"));
    QCOMPARE(w.table().at(1, 2), QStringLiteral("12.5"));
    QCOMPARE(w.table().at(62, 31), QStringLiteral("abs"));
    w.LitGrille();
    QCOMPARE(g->cell(2, 0), QStringLiteral("Dictée"));
    QCOMPARE(g->cell(4, 0), QStringLiteral("3,00")); // a default heading passes the normaliser too
    QCOMPARE(g->cell(3, 1), QStringLiteral("2,00"));
    QCOMPARE(g->cell(2, 2), QStringLiteral("12,50"));
    QCOMPARE(g->cell(31, 63), QStringLiteral("abs"));
    QCOMPARE(g->cell(5, 10), QString());
    QVERIFY(!w.isModified());
}

void TestClassWindow::namesColumnIsRebuilt()
{
    TMDIChild& w = *m_windows->open();
    w.Nouveau();
    QCOMPARE(w.grid()->cell(1, 2), QStringLiteral("Elève1"));
    w.document().store([](ClassContents& contents) {
        contents.table.at(1, ClassTable::Surname) = QStringLiteral("Durand");
        contents.table.at(1, ClassTable::FirstName) = QStringLiteral("Léa");
        contents.table.at(2, ClassTable::Surname) = QStringLiteral("Martin");
    });
    w.LitGrille();
    QCOMPARE(w.grid()->cell(1, 2), QStringLiteral("Durand Léa"));
    QCOMPARE(w.grid()->cell(1, 3), QStringLiteral("Martin "));
    QCOMPARE(w.grid()->cell(1, 4), QStringLiteral(" "));
    QCOMPARE(w.grid()->cell(1, 63), QStringLiteral(" "));
    // The names column is never copied back: names live on the cards.
    w.grid()->setCell(1, 2, QStringLiteral("Autre"));
    w.EcritGrille();
    QCOMPARE(w.table().at(1, ClassTable::Surname), QStringLiteral("Durand"));
    QCOMPARE(w.table().at(1, 1), QString());
}

void TestClassWindow::spareSlotsAndRowsUntouched()
{
    TMDIChild& w = *m_windows->open();
    const int spareSlots[] = {0, 1, 32, 48};
    w.document().store([&spareSlots](ClassContents& contents) {
        for (int r = -1; r <= 64; ++r)
            for (int s : spareSlots)
                contents.table.at(r, s) = QStringLiteral("spare %1 %2").arg(r).arg(s);
        contents.table.at(63, 2) = QStringLiteral("row 63");
        contents.table.at(64, 33) = QStringLiteral("row 64");
        contents.table.at(-1, 33) = QStringLiteral("heading card slot");
    });
    w.LitGrille();
    w.EcritGrille();
    w.Fiche();
    w.EcritFiche();
    w.Classe();
    for (int r = -1; r <= 64; ++r)
        for (int s : spareSlots)
            QCOMPARE(w.table().at(r, s), QStringLiteral("spare %1 %2").arg(r).arg(s));
    QCOMPARE(w.table().at(63, 2), QStringLiteral("row 63"));
    QCOMPARE(w.table().at(64, 33), QStringLiteral("row 64"));
    QCOMPARE(w.table().at(-1, 33), QStringLiteral("heading card slot"));
}

void TestClassWindow::cardTransfers()
{
    TMDIChild& w = *m_windows->open();
    w.grid()->setCurrent(3, 4); // student 3
    w.Fiche();
    QVERIFY(w.isCardPage());
    QCOMPARE(w.currentCard(), 3);
    for (int n = 1; n <= CardPage::FieldCount; ++n)
        w.card()->field(n)->setText(QStringLiteral("field %1").arg(n));
    w.card()->remarks()->setPlainText(QStringLiteral("ligne 1\nligne 2\nligne 3"));
    QVERIFY(w.isModified()); // a change of the remarks is a change of the class
    w.setModified(false);
    w.EcritFiche();
    const ClassTable& t = w.table();
    for (int i = 0; i < 11; ++i)
        QCOMPARE(t.at(3, 33 + i), QStringLiteral("field %1").arg(i + 1));
    QCOMPARE(t.at(3, ClassTable::Remarks), QStringLiteral("ligne 1\r\nligne 2\r\nligne 3"));
    QCOMPARE(t.at(3, ClassTable::FatherJob), QStringLiteral("field 12"));
    QCOMPARE(t.at(3, ClassTable::MotherJob), QStringLiteral("field 13"));
    QCOMPARE(t.at(3, ClassTable::Photo), QString());
    QCOMPARE(t.at(2, ClassTable::Surname), QString());

    // Another card, then back: every field returns from the class table.
    w.SpeedButton2Click();
    QCOMPARE(w.currentCard(), 4);
    QCOMPARE(w.card()->field(1)->text(), QString());
    QCOMPARE(w.card()->remarks()->toPlainText(), QString());
    w.SpeedButton1Click();
    QCOMPARE(w.card()->field(1)->text(), QStringLiteral("field 1"));
    QCOMPARE(w.card()->field(13)->text(), QStringLiteral("field 13"));
    QCOMPARE(w.card()->remarks()->toPlainText(), QStringLiteral("ligne 1\nligne 2\nligne 3"));
    QVERIFY(!w.isModified()); // moving between cards changes nothing

    w.Classe();
    QCOMPARE(w.grid()->cell(1, 4), QStringLiteral("field 1 field 2"));
    QCOMPARE(w.grid()->row(), 4);
    QCOMPARE(w.grid()->col(), 3);
}

void TestClassWindow::cardFieldsOfNewWindow()
{
    TMDIChild& w = *m_windows->open();
    // From a heading row the card page shows student 1.
    w.Fiche();
    QCOMPARE(w.currentCard(), 1);
    w.Classe();
    w.grid()->setCurrent(2, 63);
    w.Fiche();
    QCOMPARE(w.currentCard(), 62);
    w.SpeedButton2Click();
    QCOMPARE(w.currentCard(), 62);
}

// Every control of the card page as the teacher finds it: its kind, name, place, font, text and whether it shows;
// then the control with the focus, and those the Tab key goes through from there.
static QStringList cardAsShown(TMDIChild& w)
{
    QStringList out;
    const QList<QWidget*> controls = w.card()->findChildren<QWidget*>();
    for (const QWidget* c : controls) {
        QString text;
        if (const auto* label = qobject_cast<const QLabel*>(c))
            text = label->text();
        else if (const auto* edit = qobject_cast<const QLineEdit*>(c))
            text = edit->text();
        else if (const auto* memo = qobject_cast<const QPlainTextEdit*>(c))
            text = memo->toPlainText();
        const QRect r(c->mapTo(&w, QPoint(0, 0)), c->size());
        out << QStringLiteral("%1 %2 %3,%4 %5x%6 %7 %8 %9")
                   .arg(QLatin1String(c->metaObject()->className()), c->objectName())
                   .arg(r.x())
                   .arg(r.y())
                   .arg(r.width())
                   .arg(r.height())
                   .arg(c->font().toString(), c->isVisible() ? "shown" : "hidden", text);
    }
    out << "focus " + QApplication::focusWidget()->objectName();
    for (int i = 0; i < 16; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        out << "tab " + QApplication::focusWidget()->objectName();
    }
    return out;
}

void TestClassWindow::cardBuiltLateAsAtOnce()
{
    // The card page of one window is built with the window, before its class is loaded; the other's the first time
    // a card is shown. The teacher finds the same card.
    QStringList seen[2];
    for (const bool atOnce : {true, false}) {
        TMDIChild& w = *m_windows->openShown();
        if (atOnce)
            w.card();
        // Placed among other windows and bounded by its sizes, the window is as large either way.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        const QString sizes = QStringLiteral("sizes %1x%2 at least %3x%4")
                                  .arg(w.sizeHint().width())
                                  .arg(w.sizeHint().height())
                                  .arg(w.minimumSizeHint().width())
                                  .arg(w.minimumSizeHint().height());
        w.document().store([](ClassContents& contents) {
            contents.table.at(3, ClassTable::Surname) = QStringLiteral("Durand");
            contents.table.at(3, ClassTable::Town) = QStringLiteral("Lyon");
            contents.table.at(3, ClassTable::Remarks) = QStringLiteral("ligne 1\r\nligne 2");
        });
        w.LitGrille();
        w.grid()->setCurrent(2, 4);
        w.Fiche();
        QVERIFY(QTest::qWaitForWindowExposed(w.window()));
        w.activateWindow();
        QTRY_COMPARE(QApplication::focusWidget(), w.card()->field(1));
        seen[atOnce ? 0 : 1] = cardAsShown(w) << sizes;
        delete &w;
    }
    QCOMPARE(seen[1], seen[0]);
    QVERIFY(seen[0].contains("focus Edit1"));
}

QTEST_MAIN(TestClassWindow)
#include "TestClassWindow.moc"
