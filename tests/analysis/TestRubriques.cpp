#include "analysis/Rub.h"
#include "app/ToolWindows.h"
#include "classbook/CardPage.h"
#include "classbook/CardPhoto.h"
#include "classbook/MDIChild.h"
#include "tools/Texte.h"
#include "widgets/StringGrid.h"

#include "ClassWindows.h"
#include "FakeSeams.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTest>
#include <QTextEdit>
#include <optional>

namespace {

// Keys go where the user's keyboard sends them: the cell editor while a cell is being typed into.
QWidget* keyTarget(StringGrid* grid)
{
    return grid->isEditing() ? static_cast<QWidget*>(grid->editor()) : grid;
}

void type(StringGrid* grid, const QString& text)
{
    for (QChar ch : text) {
        if (ch.unicode() < 128) {
            QTest::keyClick(keyTarget(grid), ch.toLatin1());
        } else {
            // Accented letters come from a French keyboard as text with no plain key code.
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(keyTarget(grid), &press);
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(keyTarget(grid), &release);
        }
    }
}

void press(StringGrid* grid, Qt::Key key)
{
    QTest::keyClick(keyTarget(grid), key);
}

void clickCell(StringGrid* grid, int col, int row)
{
    const QRect rect = grid->cellRect(col, row);
    QVERIFY2(!rect.isEmpty(), "cell out of view");
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rect.center());
}

void showModal(QDialog* dialog)
{
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
}

QStringList headings(const StringGrid* grid, int row)
{
    QStringList out;
    for (int c = 2; c < grid->colCount(); ++c)
        out << grid->cell(c, row);
    return out;
}

QStringList numbers(int from, int to)
{
    QStringList out;
    for (int i = from; i <= to; ++i)
        out << QString::number(i);
    return out;
}

} // namespace

class TestRubriques : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_windows.reset(); }

    void dialogLayout();
    void widthStaysAndShowsEveryColumn();
    void initShowsANewClass();
    void typedRubricsReachTheClass();
    void closeBoxAppliesLikeFermer_data();
    void closeBoxAppliesLikeFermer();
    void untouchedDialogStillMarksModified();
    void row31NeverReachesTheClass();
    void escapeAndEnterDoNotClose();
    void cardPageDoesNothing();

    void moyennesWritesTheReport();
    void moyennesReadsTheCellBeingTyped();
    void moyennesOverASelection();
    void moyennesOnTheCardPageKeepsTheEditor();

private:
    TRub* rub() const { return m_windows->shared().Rub; }

    std::optional<ClassWindows> m_windows;
};

void TestRubriques::init()
{
    m_windows.emplace();
}

void TestRubriques::dialogLayout()
{
    TRub* d = rub();
    QCOMPARE(d->windowTitle(), QStringLiteral("Définition des rubriques"));
    QVERIFY(d->windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(!(d->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(d->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(!(d->windowFlags() & Qt::WindowContextHelpButtonHint));
    QCOMPARE(d->font().pixelSize(), 13);
    showModal(d);
    QCOMPARE(d->size(), QSize(334, 343));
    QCOMPARE(d->minimumSize(), d->maximumSize());
    QCOMPARE(d->Panel1->geometry(), QRect(0, 0, 334, 33));
    QCOMPARE(d->Button1->text(), QStringLiteral("Fermer"));
    QCOMPARE(d->Button1->geometry(), QRect(223, 4, 75, 25));
    QCOMPARE(d->StringGrid1->geometry(), QRect(0, 33, 334, 310));
    QCOMPARE(d->StringGrid1->colCount(), 3);
    QCOMPARE(d->StringGrid1->rowCount(), 32);
    QCOMPARE(d->StringGrid1->fixedCols(), 1);
    QCOMPARE(d->StringGrid1->fixedRows(), 1);
    QCOMPARE(d->StringGrid1->colWidth(0), 32);
    QCOMPARE(d->StringGrid1->colWidth(1), 204);
    QCOMPARE(d->StringGrid1->colWidth(2), 64);
    QCOMPARE(d->StringGrid1->options(), StringGrid::RangeSelect | StringGrid::Editing | StringGrid::Tabs);
    QCOMPARE(d->focusWidget(), static_cast<QWidget*>(d->StringGrid1));
    d->close();
}

void TestRubriques::widthStaysAndShowsEveryColumn()
{
    TRub* d = rub();
    for (int showing = 1; showing <= 3; ++showing) {
        showModal(d);
        QCOMPARE(d->width(), 334);
        const StringGrid* grid = d->StringGrid1;
        const QRect coefficient = grid->cellRect(2, 5);
        QVERIFY(!coefficient.isEmpty());
        QCOMPARE(coefficient.width(), 64);
        QVERIFY2(coefficient.right() < grid->viewport()->width(), "the coefficient column is cut");
        QCOMPARE(grid->horizontalScrollBar()->maximum(), grid->horizontalScrollBar()->minimum());
        QVERIFY(!grid->horizontalScrollBar()->isVisible());
        d->close();
    }
    // Should the columns ever need more room, the dialog grows to show them all.
    d->StringGrid1->setColWidth(1, 260);
    showModal(d);
    QVERIFY(d->width() > 334);
    QCOMPARE(d->StringGrid1->width(), d->width());
    QVERIFY(d->StringGrid1->cellRect(2, 5).right() < d->StringGrid1->viewport()->width());
    QCOMPARE(d->StringGrid1->horizontalScrollBar()->maximum(), d->StringGrid1->horizontalScrollBar()->minimum());
    d->close();
    d->StringGrid1->setColWidth(1, 204);
    showModal(d);
    QCOMPARE(d->width(), 334);
    d->close();
}

void TestRubriques::initShowsANewClass()
{
    TMDIChild& child = *m_windows->open();
    rub()->Init(*child.grid());
    const StringGrid* g = rub()->StringGrid1;
    QCOMPARE(g->cell(1, 0), QStringLiteral("Rubrique"));
    QCOMPARE(g->cell(2, 0), QStringLiteral("Coefficient"));
    for (int r = 1; r <= 30; ++r) {
        QCOMPARE(g->cell(0, r), QString::number(r));
        QCOMPARE(g->cell(1, r), QString::number(r));
        QCOMPARE(g->cell(2, r), QStringLiteral("1"));
    }
    QCOMPARE(g->cell(0, 31), QString());
}

void TestRubriques::typedRubricsReachTheClass()
{
    FakeSeams& fake = m_windows->fake();
    TMDIChild& child = *m_windows->open();
    child.grid()->setCell(4, 0, QStringLiteral("ancien"));
    fake.onModal = [](QDialog* dialog) {
        auto* d = qobject_cast<TRub*>(dialog);
        if (!d)
            return 0;
        showModal(d);
        StringGrid* g = d->StringGrid1;
        clickCell(g, 1, 1);
        type(g, QStringLiteral("Maths"));
        press(g, Qt::Key_Tab); // on to the coefficient of the same rubric
        type(g, QStringLiteral("2,5"));
        press(g, Qt::Key_Return);
        clickCell(g, 1, 3);
        press(g, Qt::Key_Return); // edit without selecting: the text is cleared by hand
        for (int i = 0; i < 6; ++i)
            press(g, Qt::Key_Backspace);
        type(g, QStringLiteral("Dictée"));
        press(g, Qt::Key_Tab);
        type(g, QStringLiteral("0.5"));
        press(g, Qt::Key_Return);
        QTest::mouseClick(d->Button1, Qt::LeftButton);
        return d->result();
    };
    child.Rubriques();
    QCOMPARE(fake.modalShown, QList<QDialog*>{rub()});
    QVERIFY(!rub()->isVisible());

    QStringList expectedHeadings = numbers(1, 30);
    expectedHeadings[0] = QStringLiteral("Maths");
    expectedHeadings[2] = QStringLiteral("Dictée");
    QStringList expectedCoefficients(30, QStringLiteral("1"));
    expectedCoefficients[0] = QStringLiteral("2,5");
    expectedCoefficients[2] = QStringLiteral("0.5"); // stored as typed
    QCOMPARE(headings(child.grid(), 0), expectedHeadings);
    QCOMPARE(headings(child.grid(), 1), expectedCoefficients);
    // The class table holds what the grid shows.
    QCOMPARE(child.table().at(-1, 2), QStringLiteral("Maths"));
    QCOMPARE(child.table().at(-1, 4), QStringLiteral("Dictée"));
    QCOMPARE(child.table().at(0, 2), QStringLiteral("2,5"));
    QCOMPARE(child.table().at(0, 4), QStringLiteral("0.5"));
    QCOMPARE(child.table().at(-1, 31), QStringLiteral("30"));
    QVERIFY(child.isModified());
}

void TestRubriques::closeBoxAppliesLikeFermer_data()
{
    QTest::addColumn<bool>("committed");
    QTest::newRow("after Enter") << true;
    QTest::newRow("while still typing") << false;
}

void TestRubriques::closeBoxAppliesLikeFermer()
{
    QFETCH(bool, committed);
    FakeSeams& fake = m_windows->fake();
    TMDIChild& child = *m_windows->open();
    fake.onModal = [committed](QDialog* dialog) {
        auto* d = qobject_cast<TRub*>(dialog);
        showModal(d);
        StringGrid* g = d->StringGrid1;
        clickCell(g, 2, 30);
        type(g, QStringLiteral("3"));
        if (committed)
            press(g, Qt::Key_Return);
        d->close(); // what the title bar's close box does
        return d->result();
    };
    child.Rubriques();
    QVERIFY(!rub()->isVisible());
    QCOMPARE(child.grid()->cell(31, 1), QStringLiteral("3"));
    QCOMPARE(child.table().at(0, 31), QStringLiteral("3"));
    QCOMPARE(child.grid()->cell(30, 1), QStringLiteral("1"));
}

void TestRubriques::untouchedDialogStillMarksModified()
{
    TMDIChild& child = *m_windows->open();
    child.grid()->setCell(2, 0, QStringLiteral("  Histoire "));
    child.grid()->setCell(3, 1, QString());
    QVERIFY(!child.isModified());
    child.Rubriques();
    QVERIFY(child.isModified());
    // Texts pass through unchanged, blanks and empty cells included.
    QCOMPARE(child.grid()->cell(2, 0), QStringLiteral("  Histoire "));
    QCOMPARE(child.grid()->cell(3, 1), QString());
    QCOMPARE(child.table().at(-1, 2), QStringLiteral("  Histoire "));
    QCOMPARE(child.table().at(0, 3), QString());
    QCOMPARE(child.table().at(0, 4), QStringLiteral("1"));
}

void TestRubriques::row31NeverReachesTheClass()
{
    FakeSeams& fake = m_windows->fake();
    TMDIChild& first = *m_windows->open();
    first.grid()->setCell(2, 0, QStringLiteral("Français"));
    fake.onModal = [](QDialog* dialog) {
        auto* d = qobject_cast<TRub*>(dialog);
        showModal(d);
        StringGrid* g = d->StringGrid1;
        g->verticalScrollBar()->setValue(g->verticalScrollBar()->maximum());
        clickCell(g, 1, 31);
        type(g, QStringLiteral("Reste"));
        press(g, Qt::Key_Tab);
        type(g, QStringLiteral("9"));
        press(g, Qt::Key_Return);
        d->close();
        return 0;
    };
    first.Rubriques();
    QCOMPARE(rub()->StringGrid1->cell(1, 31), QStringLiteral("Reste"));
    QCOMPARE(headings(first.grid(), 0), QStringList{"Français"} + numbers(2, 30));
    QCOMPARE(headings(first.grid(), 1), QStringList(30, "1"));
    for (int slot = 0; slot < 49; ++slot) {
        QVERIFY(first.table().at(-1, slot) != QStringLiteral("Reste"));
        QVERIFY(first.table().at(0, slot) != QStringLiteral("9"));
    }

    // Another class sees its own rubrics; only row 31 keeps what was typed there.
    TMDIChild& second = *m_windows->open();
    QStringList seen;
    fake.onModal = [&seen](QDialog* dialog) {
        auto* d = qobject_cast<TRub*>(dialog);
        for (int r = 1; r <= 31; ++r)
            seen << d->StringGrid1->cell(1, r);
        return 0;
    };
    second.Rubriques();
    QCOMPARE(seen, numbers(1, 30) << QStringLiteral("Reste"));
    QCOMPARE(second.grid()->cell(2, 0), QStringLiteral("1"));
}

void TestRubriques::escapeAndEnterDoNotClose()
{
    TRub* d = rub();
    TMDIChild& child = *m_windows->open();
    d->Init(*child.grid());
    showModal(d);
    StringGrid* g = d->StringGrid1;
    g->verticalScrollBar()->setValue(g->verticalScrollBar()->minimum());
    clickCell(g, 1, 2);
    press(g, Qt::Key_Escape);
    QVERIFY(d->isVisible());
    type(g, QStringLiteral("Chant"));
    press(g, Qt::Key_Escape); // gives up the typing only
    QVERIFY(d->isVisible());
    QCOMPARE(g->cell(1, 2), QStringLiteral("2"));
    press(g, Qt::Key_Return); // opens the cell editor, never the button
    QVERIFY(g->isEditing());
    press(g, Qt::Key_Return);
    QVERIFY(d->isVisible());
    QCOMPARE(g->cell(1, 2), QStringLiteral("2"));
    d->close();
    QVERIFY(!d->isVisible());
}

void TestRubriques::cardPageDoesNothing()
{
    FakeSeams& fake = m_windows->fake();
    TMDIChild& child = *m_windows->open();
    child.findChild<QStackedWidget*>("Notebook1")->setCurrentWidget(child.card());
    child.grid()->setCell(2, 0, QStringLiteral("Maths"));
    child.Rubriques();
    QVERIFY(fake.modalShown.isEmpty());
    QVERIFY(!child.isModified());
    QCOMPARE(child.table().at(-1, 2), QString());
    QCOMPARE(child.grid()->cell(2, 0), QStringLiteral("Maths"));
}

namespace {

QString shownReport(FakeSeams& fake, TMDIChild& child)
{
    QString text;
    fake.onModal = [&text](QDialog* dialog) {
        if (auto* texte = qobject_cast<TTexte*>(dialog))
            text = texte->RichEdit1->toPlainText();
        return 0;
    };
    child.Moyennes();
    return text;
}

} // namespace

void TestRubriques::moyennesWritesTheReport()
{
    FakeSeams& fake = m_windows->fake();
    fake.fixedNow = QDateTime(QDate(2026, 12, 7), QTime(9, 30));
    TMDIChild& child = *m_windows->open();
    StringGrid* g = child.grid();
    child.show();
    QVERIFY(QTest::qWaitForWindowExposed(&child));
    // Two rubrics in use, the others switched off with an empty coefficient.
    for (int c = 4; c < 32; ++c)
        g->setCell(c, 1, QString());
    g->setCell(1, 2, QStringLiteral("Martin Paul"));
    g->setCell(1, 3, QStringLiteral("Durand Léa"));
    g->setCell(1, 4, QStringLiteral("Petit Noé"));
    clickCell(g, 2, 2);
    type(g, QStringLiteral("12"));
    press(g, Qt::Key_Tab);
    type(g, QStringLiteral("15"));
    press(g, Qt::Key_Down);
    type(g, QStringLiteral("09"));
    clickCell(g, 2, 3);
    type(g, QStringLiteral("14"));
    press(g, Qt::Key_Down);
    type(g, QStringLiteral("08"));
    press(g, Qt::Key_Return);
    QCOMPARE(g->cell(2, 2), QStringLiteral("12"));
    QVERIFY(g->selection().isSingleCell());

    const QString text = shownReport(fake, child);
    QCOMPARE(fake.modalShown.size(), 1);
    QCOMPARE(fake.modalShown.first(), static_cast<QDialog*>(m_windows->shared().Texte));
    const QStringList expected = {
        QStringLiteral("\t(3 élèves)"),
        QStringLiteral("Résultats au 07/12/2026"),
        QString(),
        QStringLiteral("Martin Paul\t\t13,50\t\t(1°)"),
        QStringLiteral("Durand Léa\t\t11,50\t\t(2°)"),
        QStringLiteral("Petit Noé\t\t4,00\t\t(3°)"),
        QString(),
        QStringLiteral("Moyenne de la classe \t9,67"),
        QStringLiteral("Moyenne la plus haute \t13,50"),
        QStringLiteral("Moyenne la plus basse \t4,00"),
        QString(),
        QStringLiteral("Elèves < moy. de la classe \t1"),
        QStringLiteral("Elèves >= moy. de la classe \t2"),
        QString(),
        QStringLiteral("Elèves < 10 \t\t1"),
        QStringLiteral("Elèves >= 10 \t\t2"),
        QString(),
        QStringLiteral("Elèves < 8 \t\t1"),
        QStringLiteral("Elèves >= 8 et < 12 \t1"),
        QStringLiteral("Elèves >= 12\t\t1"),
    };
    QCOMPARE(text.split(QLatin1Char('\n')), expected);
    // The averages live only in the report.
    QCOMPARE(child.table().at(1, 2), QString());
}

void TestRubriques::moyennesReadsTheCellBeingTyped()
{
    FakeSeams& fake = m_windows->fake();
    fake.fixedNow = QDateTime(QDate(2026, 12, 7), QTime(9, 30));
    TMDIChild& child = *m_windows->open();
    StringGrid* g = child.grid();
    child.show();
    QVERIFY(QTest::qWaitForWindowExposed(&child));
    g->setCell(1, 2, QStringLiteral("Martin Paul"));
    clickCell(g, 2, 2);
    type(g, QStringLiteral("15"));
    QVERIFY(g->isEditing()); // the tool button takes no focus: the editor is still open
    const QStringList lines = shownReport(fake, child).split(QLatin1Char('\n'));
    QCOMPARE(lines.at(0), QStringLiteral("\t(1 élèves)"));
    QCOMPARE(lines.at(3), QStringLiteral("Martin Paul\t\t0,50\t\t(1°)"));
}

void TestRubriques::moyennesOverASelection()
{
    FakeSeams& fake = m_windows->fake();
    fake.fixedNow = QDateTime(QDate(2027, 1, 4), QTime(8, 0));
    TMDIChild& child = *m_windows->open();
    StringGrid* g = child.grid();
    child.show();
    QVERIFY(QTest::qWaitForWindowExposed(&child));
    const QStringList names = {"A", "B", "C", "D"};
    const QList<QStringList> marks = {{"10", "10", "10"}, {"12", "15", ""}, {"12", "abs", "20"}, {"5", "5", "5"}};
    for (int i = 0; i < 4; ++i) {
        g->setCell(1, 2 + i, names[i]);
        for (int m = 0; m < 3; ++m)
            g->setCell(2 + m, 2 + i, marks[i][m]);
    }
    // Shift+arrows select rows 3 and 4 over the first three rubrics.
    clickCell(g, 2, 3);
    press(g, Qt::Key_Down);
    QTest::keyClick(g, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(g, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(g, Qt::Key_Up, Qt::ShiftModifier);
    QCOMPARE(g->selection(), (StringGrid::Range{2, 3, 4, 4}));
    const QStringList lines = shownReport(fake, child).split(QLatin1Char('\n'));
    QCOMPARE(lines.at(0), QStringLiteral("\t(4 élèves)"));
    QCOMPARE(lines.at(1), QStringLiteral("Résultats au 04/01/2027"));
    QCOMPARE(lines.at(3), QStringLiteral("C\t\t16,00\t\t(1°)"));
    QCOMPARE(lines.at(4), QStringLiteral("B\t\t9,00\t\t(2°)"));
    QCOMPARE(lines.at(5), QString());
    QCOMPARE(lines.at(6), QStringLiteral("Moyenne de la classe \t12,50"));
}

void TestRubriques::moyennesOnTheCardPageKeepsTheEditor()
{
    FakeSeams& fake = m_windows->fake();
    TTexte* texte = m_windows->shared().Texte;
    texte->Init();
    texte->Ajout(QStringLiteral("rapport précédent"));
    TMDIChild& child = *m_windows->open();
    child.grid()->setCell(2, 2, QStringLiteral("12"));
    child.findChild<QStackedWidget*>("Notebook1")->setCurrentWidget(child.card());
    child.Moyennes();
    QVERIFY(fake.modalShown.isEmpty());
    QCOMPARE(texte->RichEdit1->toPlainText(), QStringLiteral("rapport précédent"));
}

QTEST_MAIN(TestRubriques)
#include "TestRubriques.moc"
