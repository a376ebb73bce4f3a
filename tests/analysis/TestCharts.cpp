#include "analysis/Graph.h"
#include "analysis/Graph2.h"
#include "app/MainForm.h"
#include "app/ToolWindows.h"
#include "classbook/CardPage.h"
#include "classbook/CardPhoto.h"
#include "classbook/MDIChild.h"
#include "widgets/StringGrid.h"

#include "ClassWindows.h"
#include "FakeSeams.h"
#include "Rows.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTest>
#include <optional>

using charts::Shape;

namespace {

QVector<Shape> only(const charts::Picture& picture, Shape::Kind kind)
{
    QVector<Shape> out;
    for (const Shape& s : picture)
        if (s.kind == kind)
            out.append(s);
    return out;
}

QString textAt(const charts::Picture& picture, QPoint at)
{
    for (const Shape& s : only(picture, Shape::Kind::Text))
        if (s.a == at)
            return s.text;
    return QStringLiteral("<none>");
}

QStringList scaleLabels(const charts::Picture& p)
{
    return {textAt(p, {10, 70}), textAt(p, {10, 180}), textAt(p, {10, 290})};
}

// Types a mark into a cell as the user does: select it, type, Enter.
void typeInCell(StringGrid* grid, int col, int row, const QString& keys)
{
    grid->setCurrent(col, row);
    QTest::keyClicks(grid, keys);
    QTest::keyClick(grid->editor(), Qt::Key_Return);
}

QImage paintedImage(QWidget* window)
{
    return window->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestCharts : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_windows.emplace(); }
    void cleanup() { m_windows.reset(); }

    void windowLayout_data();
    void windowLayout();
    void fermerCloses_data();
    void fermerCloses();
    void averagesChartPixels();
    void followUpChartPixels();
    void repaintDrawsTheSamePicture();
    void laterInitKeepsOldPointsUnused();
    void graphInitTakesTheFirstN_data();
    void graphInitTakesTheFirstN();
    void averagesWithoutBarAreCounted_data();
    void averagesWithoutBarAreCounted();

    void graphiqueChartsTheSelection();
    void graphiqueWholeClassLeavesOutRowsWithoutAverage();
    void graphiqueReadsTheCellBeingTyped();
    void suiviOneRowOfSelectedRubrics();
    void suiviSingleCellChartsEveryRubricWithACoefficient();
    void suiviTwoRowsShowsTheMessage();
    void cardPageDoesNothing();
    void throughTheMainFrame();

private:
    std::optional<ClassWindows> m_windows;
};

void TestCharts::windowLayout_data()
{
    QTest::addColumn<bool>("second");
    QTest::addColumn<QString>("caption");
    QTest::newRow("averages") << false << QStringLiteral("Graphique des moyennes");
    QTest::newRow("follow-up") << true << QStringLiteral("Suivi d'un élève");
}

void TestCharts::windowLayout()
{
    QFETCH(bool, second);
    QFETCH(QString, caption);
    QDialog* d =
        second ? static_cast<QDialog*>(m_windows->shared().Graph2) : static_cast<QDialog*>(m_windows->shared().Graph);
    auto* panel = d->findChild<QFrame*>(QStringLiteral("Panel1"));
    auto* button = d->findChild<QPushButton*>(QStringLiteral("Button1"));
    QVERIFY(panel && button);
    QCOMPARE(d->windowTitle(), caption);
    QCOMPARE(d->font().pixelSize(), 13);
    d->show();
    QVERIFY(QTest::qWaitForWindowExposed(d));
    QCOMPARE(d->size(), QSize(536, 344));
    QVERIFY(d->minimumSize() != d->maximumSize());
    QCOMPARE(panel->geometry(), QRect(0, 0, 536, 33));
    QCOMPARE(button->text(), QStringLiteral("Fermer"));
    QCOMPARE(button->geometry(), QRect(439, 4, 75, 25));
    const QRect screen = d->screen()->availableGeometry();
    QVERIFY(qAbs(d->frameGeometry().center().x() - screen.center().x()) <= 1);
    QVERIFY(qAbs(d->frameGeometry().center().y() - screen.center().y()) <= 1);
    // Resized, the panel follows the top edge and the chart stays where it is.
    d->resize(700, 500);
    QCOMPARE(panel->geometry(), QRect(0, 0, 700, 33));
    QCOMPARE(button->geometry(), QRect(439, 4, 75, 25));
    d->resize(536, 344);
    d->close();
}

void TestCharts::fermerCloses_data()
{
    windowLayout_data();
}

void TestCharts::fermerCloses()
{
    QFETCH(bool, second);
    QDialog* d =
        second ? static_cast<QDialog*>(m_windows->shared().Graph2) : static_cast<QDialog*>(m_windows->shared().Graph);
    d->show();
    QVERIFY(QTest::qWaitForWindowExposed(d));
    QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
    QVERIFY(!d->isVisible());
}

void TestCharts::averagesChartPixels()
{
    TGraph* g = m_windows->shared().Graph;
    g->Init({9.5, 10.4, 10.5, 12.4, 11.5, 3}, 6);
    const QImage image = paintedImage(g);
    // 3 at 10 -> 220 pixels; 2 at 12 -> 146,67 -> 147; 1 at 3 -> 73,33 -> 73.
    QCOMPARE(image.pixelColor(265, 200), QColor(0, 255, 0));
    QCOMPARE(image.pixelColor(265, 81), QColor(0, 255, 0));
    QCOMPARE(image.pixelColor(265, 79), QColor(Qt::white));
    QCOMPARE(image.pixelColor(260, 200), QColor(Qt::black)); // outline
    QCOMPARE(image.pixelColor(265, 80), QColor(Qt::black));
    QCOMPARE(image.pixelColor(265, 298), QColor(0, 255, 0));
    QCOMPARE(image.pixelColor(269, 200), QColor(Qt::black));
    QCOMPARE(image.pixelColor(270, 200), QColor(Qt::white));
    QCOMPARE(image.pixelColor(305, 160), QColor(0, 0, 255));
    QCOMPARE(image.pixelColor(305, 152), QColor(Qt::white));
    QCOMPARE(image.pixelColor(125, 240), QColor(128, 128, 0));
    QCOMPARE(image.pixelColor(125, 225), QColor(Qt::white));
    // The axes in black, the rest of the chart white.
    QCOMPARE(image.pixelColor(50, 150), QColor(Qt::black));
    QCOMPARE(image.pixelColor(400, 300), QColor(Qt::black));
    QCOMPARE(image.pixelColor(49, 150), QColor(Qt::white));
    QCOMPARE(image.pixelColor(400, 250), QColor(Qt::white));
    QCOMPARE(image.pixelColor(520, 300), QColor(Qt::white));
    // Some ink of the scale label "3" near its corner.
    bool ink = false;
    for (int y = 70; y < 84; ++y)
        for (int x = 10; x < 18; ++x)
            ink = ink || image.pixelColor(x, y).lightness() < 128;
    QVERIFY(ink);
}

void TestCharts::followUpChartPixels()
{
    TGraph2* g = m_windows->shared().Graph2;
    g->Init({10, 10, 14}, {"A", "B", "C"}, 3, QStringLiteral("Durand Luc"));
    const QImage image = paintedImage(g);
    const QColor navy(0, 0, 128);
    // Level from (60,143) to (210,143), then up to (360,80).
    QCOMPARE(image.pixelColor(100, 143), navy);
    QCOMPARE(image.pixelColor(200, 143), navy);
    QCOMPARE(image.pixelColor(100, 142), QColor(Qt::white));
    QCOMPARE(image.pixelColor(360, 80), navy);
    QCOMPARE(image.pixelColor(50, 200), QColor(Qt::black));
    QCOMPARE(image.pixelColor(450, 300), QColor(Qt::black));
    bool ink = false;
    for (int y = 40; y < 54; ++y)
        for (int x = 300; x < 330; ++x)
            ink = ink || image.pixelColor(x, y).lightness() < 128;
    QVERIFY(ink);
}

void TestCharts::repaintDrawsTheSamePicture()
{
    TGraph* g = m_windows->shared().Graph;
    g->Init({9.5, 10.4, 10.5}, 3);
    g->show();
    QVERIFY(QTest::qWaitForWindowExposed(g));
    const QImage first = paintedImage(g);
    g->repaint();
    g->hide();
    g->show();
    QVERIFY(QTest::qWaitForWindowExposed(g));
    QCOMPARE(paintedImage(g), first);
    QCOMPARE(g->counts()[10], 3.0);
    g->close();
}

void TestCharts::laterInitKeepsOldPointsUnused()
{
    TGraph2* g = m_windows->shared().Graph2;
    g->Init({4, 8, 12, 16}, {"a", "b", "c", "d"}, 4, "Un");
    g->Init({6}, {"z"}, 1, "Deux");
    QCOMPARE(g->pointCount(), 1);
    const charts::Picture p = g->picture();
    QCOMPARE(scaleLabels(p), (QStringList{"6", "3", "0"}));
    QCOMPARE(only(p, Shape::Kind::Line).size(), 2);
    QCOMPARE(textAt(p, {60, 310}), QStringLiteral("z"));
    QCOMPARE(textAt(p, {300, 40}), QStringLiteral("Deux"));
    // More points than any class has rubrics never reach past the window's store.
    g->Init(QVector<double>(40, 1.0), QStringList(40, "r"), 40, "Trois");
    QCOMPARE(g->pointCount(), 32);
}

void TestCharts::graphInitTakesTheFirstN_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<double>("total");
    QTest::addColumn<double>("atTwelve");
    QTest::newRow("all") << 3 << 3.0 << 1.0;
    QTest::newRow("first two") << 2 << 2.0 << 0.0;
    QTest::newRow("none") << 0 << 0.0 << 0.0;
    QTest::newRow("more than given") << 9 << 3.0 << 1.0;
    QTest::newRow("negative") << -4 << 0.0 << 0.0;
}

void TestCharts::graphInitTakesTheFirstN()
{
    QFETCH(int, n);
    QFETCH(double, total);
    QFETCH(double, atTwelve);
    TGraph* g = m_windows->shared().Graph;
    g->Init({4, 4, 4, 4}, 4);
    g->Init({5, 6, 12}, n);
    double sum = 0;
    for (double c : g->counts())
        sum += c;
    QCOMPARE(sum, total);
    QCOMPARE(g->counts()[12], atTwelve);
    QCOMPARE(g->counts()[4], 0.0);
}

// Averages without a bar are counted in the panel along the top, beside "Fermer": the chart below keeps every pixel.
void TestCharts::averagesWithoutBarAreCounted_data()
{
    rows::add({"one above 20 | 20.6 12 | 1 moyenne hors de 0 à 20",
               "below 0 and above 20 | -3 25 | 2 moyennes hors de 0 à 20", "all within | 12 20.4 -0.4 | "});
}

void TestCharts::averagesWithoutBarAreCounted()
{
    QVector<double> averages;
    for (const QString& average : rows::fields()[1].split(' '))
        averages << average.toDouble();
    TGraph* g = m_windows->shared().Graph;
    g->Init(averages, int(averages.size()));
    g->show();
    QVERIFY(QTest::qWaitForWindowExposed(g));
    auto* label = g->findChild<QLabel*>(QStringLiteral("Label1"));
    QVERIFY(label && label->isVisible());
    QCOMPARE(label->text(), rows::fields()[2]);
    QVERIFY(g->Panel1->geometry().contains(label->geometry()) && !label->geometry().intersects(g->Button1->geometry()));
}

// --- from the class window ----------------------------------------------------------------------

void TestCharts::graphiqueChartsTheSelection()
{
    FakeSeams& fake = m_windows->fake();
    TMDIChild& child = *m_windows->open();
    StringGrid* grid = child.grid();
    grid->setCell(2, 2, QStringLiteral("9,5"));
    grid->setCell(2, 3, QStringLiteral("10,4"));
    grid->setCell(2, 4, QStringLiteral("10,5"));
    grid->setCell(2, 5, QStringLiteral("18"));
    grid->setSelection({2, 2, 2, 4});
    charts::Picture seen;
    fake.onModal = [&](QDialog* d) {
        if (d == m_windows->shared().Graph)
            seen = m_windows->shared().Graph->picture();
        return 0;
    };
    child.Graphique();
    QCOMPARE(fake.modalShown, (QList<QDialog*>{m_windows->shared().Graph}));
    QCOMPARE(scaleLabels(seen), (QStringList{"3", "1", "0"}));
    QCOMPARE(only(seen, Shape::Kind::Box).at(10).b, QPoint(270, 80));
    QCOMPARE(only(seen, Shape::Kind::Box).at(18).b, QPoint(430, 300));
    QVERIFY(!child.isModified());

    // One row over several rubrics: that one student, one bar of 220.
    grid->setCell(3, 5, QStringLiteral("13"));
    grid->setSelection({2, 5, 3, 5});
    child.Graphique();
    QCOMPARE(m_windows->shared().Graph->counts()[16], 1.0);
    QCOMPARE(scaleLabels(m_windows->shared().Graph->picture()), (QStringList{"1", "0", "0"}));
    QCOMPARE(only(m_windows->shared().Graph->picture(), Shape::Kind::Box).at(16).b, QPoint(390, 80));
}

void TestCharts::graphiqueWholeClassLeavesOutRowsWithoutAverage()
{
    FakeSeams& fake = m_windows->fake();
    TMDIChild& child = *m_windows->open();
    StringGrid* grid = child.grid();
    // Two rubrics count; every other coefficient is switched off.
    for (int c = 4; c < grid->colCount(); ++c)
        grid->setCell(c, 1, c % 2 ? QStringLiteral("0") : QString());
    grid->setCell(2, 2, QStringLiteral("12"));
    grid->setCell(3, 2, QStringLiteral("15"));
    grid->setCell(2, 3, QStringLiteral("abs"));
    grid->setCell(3, 3, QStringLiteral("abs"));
    grid->setCell(2, 4, QStringLiteral("8"));
    grid->setCell(3, 4, QStringLiteral("abs"));
    grid->setCell(2, 5, QStringLiteral("3"));
    grid->setCell(3, 5, QStringLiteral("20"));
    grid->setCell(3, 6, QStringLiteral("20")); // row 6 has no first rubric: past the last student
    grid->setCurrent(7, 10);
    child.Graphique();
    QCOMPARE(fake.modalShown.size(), 1);
    const charts::Counts& counts = m_windows->shared().Graph->counts();
    double total = 0;
    for (double c : counts)
        total += c;
    QCOMPARE(total, 3.0);
    QCOMPARE(counts[14], 1.0); // 13,5 -> 14
    QCOMPARE(counts[8], 1.0);
    QCOMPARE(counts[12], 1.0); // 11,5 -> 12
    QCOMPARE(m_windows->shared().Graph->outsideCount(), 0);
}

void TestCharts::graphiqueReadsTheCellBeingTyped()
{
    TMDIChild& child = *m_windows->open();
    child.show();
    QVERIFY(QTest::qWaitForWindowExposed(&child));
    StringGrid* grid = child.grid();
    typeInCell(grid, 2, 2, QStringLiteral("15"));
    grid->setCurrent(2, 3);
    QTest::keyClicks(grid, QStringLiteral("6.5"));
    QVERIFY(grid->isEditing());
    grid->setSelection({2, 2, 2, 3});
    child.Graphique();
    QCOMPARE(m_windows->shared().Graph->counts()[15], 1.0);
    QCOMPARE(m_windows->shared().Graph->counts()[6], 1.0); // 6,5 -> 6
}

void TestCharts::suiviOneRowOfSelectedRubrics()
{
    FakeSeams& fake = m_windows->fake();
    TMDIChild& child = *m_windows->open();
    StringGrid* grid = child.grid();
    grid->setCell(3, 0, QStringLiteral("Contrôle de grammaire"));
    grid->setCell(2, 4, QStringLiteral("19"));
    grid->setCell(3, 4, QStringLiteral("10"));
    grid->setCell(4, 4, QString());
    grid->setCell(5, 4, QStringLiteral("14"));
    grid->setCell(6, 4, QStringLiteral("2"));
    grid->setCell(1, 4, QStringLiteral("Durand Luc"));
    grid->setSelection({3, 4, 5, 4});
    child.Suivi();
    QCOMPARE(fake.modalShown, (QList<QDialog*>{m_windows->shared().Graph2}));
    QVERIFY(fake.messages.isEmpty());
    const charts::Picture p = m_windows->shared().Graph2->picture();
    QCOMPARE(m_windows->shared().Graph2->pointCount(), 3);
    QCOMPARE(textAt(p, {300, 40}), QStringLiteral("Durand Luc"));
    QCOMPARE(textAt(p, {60, 310}), QStringLiteral("Contrôle d"));
    QCOMPARE(textAt(p, {210, 310}), QStringLiteral("3"));
    QCOMPARE(scaleLabels(p), (QStringList{"14", "7", "0"}));
    const QVector<Shape> lines = only(p, Shape::Kind::Line);
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines[2].a, QPoint(60, 143));
    QCOMPARE(lines[2].b, QPoint(210, 143));
    QCOMPARE(lines[3].b, QPoint(360, 80));
    QVERIFY(!child.isModified());
}

void TestCharts::suiviSingleCellChartsEveryRubricWithACoefficient()
{
    TMDIChild& child = *m_windows->open();
    StringGrid* grid = child.grid();
    for (int c = 6; c < grid->colCount(); ++c)
        grid->setCell(c, 1, QString());
    grid->setCell(3, 1, QStringLiteral("0"));
    grid->setCell(2, 7, QStringLiteral("8"));
    grid->setCell(3, 7, QStringLiteral("abs"));
    grid->setCell(4, 7, QStringLiteral("16"));
    grid->setCell(5, 7, QStringLiteral("12"));
    grid->setCell(9, 7, QStringLiteral("20"));
    grid->setCell(1, 7, QStringLiteral("Morel Anaïs"));
    grid->setCurrent(9, 7);
    child.Suivi();
    QCOMPARE(m_windows->shared().Graph2->pointCount(), 3);
    const charts::Picture p = m_windows->shared().Graph2->picture();
    QCOMPARE(textAt(p, {300, 40}), QStringLiteral("Morel Anaïs"));
    // 450 / 3 = 150 a rubric; the heading of each new rubric is its number.
    QCOMPARE(textAt(p, {60, 310}), QStringLiteral("1"));
    QCOMPARE(textAt(p, {210, 310}), QStringLiteral("3"));
    QCOMPARE(textAt(p, {360, 310}), QStringLiteral("4"));
    QCOMPARE(scaleLabels(p), (QStringList{"16", "8", "0"}));
    QCOMPARE(only(p, Shape::Kind::Line).at(2).a, QPoint(60, 190));
    QCOMPARE(only(p, Shape::Kind::Line).at(3).b, QPoint(360, 135));
}

void TestCharts::suiviTwoRowsShowsTheMessage()
{
    FakeSeams& fake = m_windows->fake();
    TMDIChild& child = *m_windows->open();
    m_windows->shared().Graph2->Init({5}, {"avant"}, 1, "Avant");
    child.grid()->setSelection({2, 3, 2, 4});
    child.Suivi();
    QVERIFY(fake.modalShown.isEmpty());
    QCOMPARE(fake.messages.size(), 1);
    QCOMPARE(fake.messages[0].text, QStringLiteral("Sélectionnez un seul élève"));
    QCOMPARE(fake.messages[0].kind, Seams::MessageKind::Information);
    QCOMPARE(fake.messages[0].buttons, QStringList{QStringLiteral("OK")});
    QCOMPARE(m_windows->shared().Graph2->studentName(), QStringLiteral("Avant"));
}

void TestCharts::cardPageDoesNothing()
{
    FakeSeams& fake = m_windows->fake();
    TMDIChild& child = *m_windows->open();
    child.grid()->setSelection({2, 3, 2, 4});
    child.findChild<QStackedWidget*>("Notebook1")->setCurrentWidget(child.card());
    child.Graphique();
    child.Suivi();
    QVERIFY(fake.modalShown.isEmpty());
    QVERIFY(fake.messages.isEmpty());
}

void TestCharts::throughTheMainFrame()
{
    FakeSeams& fake = m_windows->fake();
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
    trigger("FileNewItem");
    TMDIChild* c = frame.activeChild();
    QVERIFY(c);
    typeInCell(c->grid(), 2, 2, QStringLiteral("11.5"));
    typeInCell(c->grid(), 2, 3, QStringLiteral("12,4"));
    c->grid()->setSelection({2, 2, 2, 3});
    trigger("Affichergraphique1");
    QCOMPARE(fake.modalShown, (QList<QDialog*>{frame.toolWindows().graph()}));
    QCOMPARE(frame.toolWindows().graph()->counts()[12], 2.0);

    c->grid()->setCurrent(2, 3);
    trigger("Suividunlve1");
    QCOMPARE(fake.modalShown.size(), 2);
    QCOMPARE(fake.modalShown[1], frame.toolWindows().graph2());
    QCOMPARE(frame.toolWindows().graph2()->studentName(), QStringLiteral("Elève2"));

    // The tool buttons take the same road.
    auto* button = frame.findChild<QAbstractButton*>(QStringLiteral("SpeedButton5"));
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(fake.modalShown.size(), 3);
    QCOMPARE(fake.modalShown[2], frame.toolWindows().graph());
    c->grid()->setSelection({2, 2, 4, 3});
    button = frame.findChild<QAbstractButton*>(QStringLiteral("SpeedButton7"));
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(fake.modalShown.size(), 3);
    QCOMPARE(fake.messages.size(), 1);
    QCOMPARE(fake.messages[0].text, QStringLiteral("Sélectionnez un seul élève"));
    c->setModified(false);
}

QTEST_MAIN(TestCharts)
#include "TestCharts.moc"
