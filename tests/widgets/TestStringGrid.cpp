#include "widgets/StringGrid.h"

#include <QLineEdit>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

class TestStringGrid : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void moveColumnCarriesCellsAndWidth();
    void selectionIsNormalised();
    void arrowsAndTabsMove();
    void shiftArrowsExtendTheSelection();
    void typingThroughTheMask_data();
    void typingThroughTheMask();
    void escapeCancels();
    void longTextInAnUnmaskedCell();
    void fixedCellsAreNotEdited();
    void dragAHeadingMovesTheColumn();
    void dragAnEdgeResizesTheColumn();
    void narrowColumnsStayNarrow();
    void fixedPartStaysInView();
    void changesRepaintOnlyTheirCells_data();
    void changesRepaintOnlyTheirCells();

private:
    StringGrid* m_grid = nullptr;
};

void TestStringGrid::init()
{
    m_grid = new StringGrid(32, 64, 2, 2);
    m_grid->setDefaultColWidth(32);
    m_grid->setColWidth(1, 192);
    m_grid->setOptions(StringGrid::RangeSelect | StringGrid::Editing | StringGrid::ColSizing |
                       StringGrid::ColMoving | StringGrid::Tabs);
    m_grid->editMask = [](int, int) { return QStringLiteral("00,00"); };
    m_grid->keyPressHook = [](QChar& key) {
        if (key == QLatin1Char('.'))
            key = QLatin1Char(',');
    };
    m_grid->resize(620, 400);
    m_grid->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_grid));
    m_grid->setFocus();
}

void TestStringGrid::cleanup()
{
    delete m_grid;
}

void TestStringGrid::moveColumnCarriesCellsAndWidth()
{
    m_grid->setCell(5, 0, QStringLiteral("Dictée"));
    m_grid->setCell(5, 2, QStringLiteral("12,00"));
    m_grid->setColWidth(5, 70);
    m_grid->setCell(2, 0, QStringLiteral("A"));
    m_grid->moveColumn(5, 2);
    QCOMPARE(m_grid->cell(2, 0), QStringLiteral("Dictée"));
    QCOMPARE(m_grid->cell(2, 2), QStringLiteral("12,00"));
    QCOMPARE(m_grid->colWidth(2), 70);
    QCOMPARE(m_grid->cell(3, 0), QStringLiteral("A"));
    QCOMPARE(m_grid->colWidth(3), 32);
    QCOMPARE(m_grid->colWidth(6), 32);
}

void TestStringGrid::selectionIsNormalised()
{
    m_grid->setSelection({7, 9, 3, 4});
    const StringGrid::Range r = m_grid->selection();
    QCOMPARE(r, (StringGrid::Range{3, 4, 7, 9}));
    QVERIFY(!r.isSingleCell());
    m_grid->setCurrent(4, 5);
    QVERIFY(m_grid->selection().isSingleCell());
    // The selection never covers the fixed rows and columns.
    m_grid->setSelection({0, 0, 1, 1});
    QCOMPARE(m_grid->selection(), (StringGrid::Range{2, 2, 2, 2}));
}

void TestStringGrid::arrowsAndTabsMove()
{
    m_grid->setCurrent(2, 2);
    QTest::keyClick(m_grid, Qt::Key_Tab);
    QCOMPARE(m_grid->col(), 3);
    QTest::keyClick(m_grid, Qt::Key_Down);
    QCOMPARE(m_grid->row(), 3);
    QTest::keyClick(m_grid, Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(m_grid->col(), 2);
    QTest::keyClick(m_grid, Qt::Key_Left);
    QCOMPARE(m_grid->col(), 2); // column 1 is fixed
    QTest::keyClick(m_grid, Qt::Key_Up);
    QTest::keyClick(m_grid, Qt::Key_Up);
    QCOMPARE(m_grid->row(), 2);
    m_grid->setCurrent(31, 2);
    QTest::keyClick(m_grid, Qt::Key_Tab);
    QCOMPARE(m_grid->col(), 2);
    QCOMPARE(m_grid->row(), 3);
}

void TestStringGrid::shiftArrowsExtendTheSelection()
{
    m_grid->setCurrent(4, 4);
    QTest::keyClick(m_grid, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(m_grid, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(m_grid->selection(), (StringGrid::Range{4, 4, 5, 5}));
    QTest::keyClick(m_grid, Qt::Key_Right);
    QVERIFY(m_grid->selection().isSingleCell());
}

void TestStringGrid::typingThroughTheMask_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("cell");
    QTest::newRow("full mark with a full stop") << "12.50" << "12,50";
    QTest::newRow("full mark with a comma") << "12,50" << "12,50";
    QTest::newRow("two digits") << "15" << "15";
    QTest::newRow("one digit") << "7" << "7";
    QTest::newRow("one digit and a decimal") << "7.5" << "7,5";
    QTest::newRow("too many digits") << "123456" << "12,34";
}

void TestStringGrid::typingThroughTheMask()
{
    QFETCH(QString, keys);
    QFETCH(QString, cell);
    QSignalSpy edited(m_grid, &StringGrid::cellEdited);
    m_grid->setCurrent(3, 5);
    QTest::keyClicks(m_grid, keys);
    QVERIFY(m_grid->isEditing());
    QVERIFY(!m_grid->editor()->text().contains(QLatin1Char('.')));
    QTest::keyClick(m_grid->editor(), Qt::Key_Return);
    QVERIFY(!m_grid->isEditing());
    QCOMPARE(m_grid->cell(3, 5), cell);
    QCOMPARE(edited.size(), 1);
}

void TestStringGrid::escapeCancels()
{
    m_grid->setCell(3, 5, QStringLiteral("10,00"));
    m_grid->setCurrent(3, 5);
    QTest::keyClicks(m_grid, QStringLiteral("18"));
    QTest::keyClick(m_grid->editor(), Qt::Key_Escape);
    QCOMPARE(m_grid->cell(3, 5), QStringLiteral("10,00"));
    // Tab leaves the cell with what was typed and moves on.
    QTest::keyClicks(m_grid, QStringLiteral("18"));
    QTest::keyClick(m_grid->editor(), Qt::Key_Tab);
    QCOMPARE(m_grid->cell(3, 5), QStringLiteral("18"));
    QCOMPARE(m_grid->col(), 4);
}

void TestStringGrid::longTextInAnUnmaskedCell()
{
    m_grid->editMask = nullptr;
    const QString heading(40000, QLatin1Char('h'));
    m_grid->setCell(3, 5, heading);
    m_grid->setCurrent(3, 5);
    QTest::keyClick(m_grid, Qt::Key_F2);
    QTest::keyClicks(m_grid->editor(), QStringLiteral("!"));
    QTest::keyClick(m_grid->editor(), Qt::Key_Return);
    QCOMPARE(m_grid->cell(3, 5), heading + QLatin1Char('!'));
}

void TestStringGrid::fixedCellsAreNotEdited()
{
    m_grid->canEditCell = [](int col, int) { return col != 4; };
    m_grid->setCurrent(4, 3);
    QTest::keyClicks(m_grid, QStringLiteral("12"));
    QVERIFY(!m_grid->isEditing());
    QCOMPARE(m_grid->cell(4, 3), QString());
}

void TestStringGrid::dragAHeadingMovesTheColumn()
{
    m_grid->setCell(5, 0, QStringLiteral("E"));
    m_grid->setCell(5, 3, QStringLiteral("9"));
    QSignalSpy moved(m_grid, &StringGrid::columnMoved);
    const QRect from = m_grid->cellRect(5, 0);
    const QRect to = m_grid->cellRect(2, 0);
    QTest::mousePress(m_grid->viewport(), Qt::LeftButton, {}, from.center());
    QMouseEvent move(QEvent::MouseMove, QPointF(to.center()), m_grid->viewport()->mapToGlobal(QPointF(to.center())),
                     Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(m_grid->viewport(), &move);
    QTest::mouseRelease(m_grid->viewport(), Qt::LeftButton, {}, to.center());
    QCOMPARE(moved.size(), 1);
    QCOMPARE(moved[0][0].toInt(), 5);
    QCOMPARE(moved[0][1].toInt(), 2);
    QCOMPARE(m_grid->cell(2, 0), QStringLiteral("E"));
    QCOMPARE(m_grid->cell(2, 3), QStringLiteral("9"));
}

void TestStringGrid::dragAnEdgeResizesTheColumn()
{
    const QRect head = m_grid->cellRect(3, 0);
    const QPoint edge(head.right() + 1, head.center().y());
    QTest::mousePress(m_grid->viewport(), Qt::LeftButton, {}, edge);
    QMouseEvent move(QEvent::MouseMove, QPointF(edge + QPoint(30, 0)),
                     m_grid->viewport()->mapToGlobal(QPointF(edge + QPoint(30, 0))), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(m_grid->viewport(), &move);
    QTest::mouseRelease(m_grid->viewport(), Qt::LeftButton, {}, edge + QPoint(30, 0));
    QCOMPARE(m_grid->colWidth(3), 62);
}

void TestStringGrid::narrowColumnsStayNarrow()
{
    m_grid->setColWidth(6, 3);
    QCOMPARE(m_grid->colWidth(6), 3);
    QCOMPARE(m_grid->cellRect(7, 0).left() - m_grid->cellRect(6, 0).left(), 4);
}

void TestStringGrid::fixedPartStaysInView()
{
    m_grid->setCurrent(31, 63);
    // The fixed rows and columns are still drawn at the top left; the current cell is in view.
    QCOMPARE(m_grid->cellRect(0, 0).topLeft(), QPoint(0, 0));
    QCOMPARE(m_grid->cellRect(1, 1).left(), 33);
    const QRect current = m_grid->cellRect(31, 63);
    QVERIFY(current.isValid());
    QVERIFY2(m_grid->viewport()->rect().contains(current), qPrintable(QStringLiteral("%1,%2 %3x%4 in %5x%6").arg(current.x()).arg(current.y()).arg(current.width()).arg(current.height()).arg(m_grid->viewport()->width()).arg(m_grid->viewport()->height())));
    QVERIFY(!m_grid->cellRect(2, 2).isValid()); // scrolled away under the fixed part
}

// Collects what the grid's painting area is asked to repaint.
class PaintLog : public QObject
{
public:
    QRegion painted;

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

void TestStringGrid::changesRepaintOnlyTheirCells_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QRect>("cells"); // left, top, right, bottom: the cells the change may repaint
    QTest::newRow("a cell's text") << "text" << QRect(QPoint(6, 7), QPoint(6, 7));
    QTest::newRow("the next cell") << "right" << QRect(QPoint(4, 4), QPoint(5, 4));
    QTest::newRow("a selection grown") << "shift down" << QRect(QPoint(4, 4), QPoint(4, 5));
    QTest::newRow("a selection given up") << "click" << QRect(QPoint(3, 3), QPoint(5, 6));
    QTest::newRow("the focus lost") << "focus out" << QRect(QPoint(4, 4), QPoint(4, 4));
    QTest::newRow("the focus back") << "focus in" << QRect(QPoint(4, 4), QPoint(4, 4));
    QTest::newRow("a mark typed") << "type" << QRect(QPoint(4, 4), QPoint(4, 4));
}

// A change repaints only the cells it changes, and the screen then shows what a whole repaint shows.
void TestStringGrid::changesRepaintOnlyTheirCells()
{
    QFETCH(QString, change);
    QFETCH(QRect, cells);
    for (int c = 0; c < 32; ++c)
        for (int r = 0; r < 64; ++r)
            m_grid->setCell(c, r, QString::number(c * 100 + r));
    m_grid->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_grid));
    if (change == QLatin1String("click"))
        m_grid->setSelection({3, 3, 5, 6});
    else
        m_grid->setCurrent(4, 4);
    if (change == QLatin1String("focus in"))
        m_grid->clearFocus();
    QTest::qWait(20);
    PaintLog log;
    m_grid->viewport()->installEventFilter(&log);
    if (change == QLatin1String("text"))
        m_grid->setCell(6, 7, QStringLiteral("Dictée"));
    else if (change == QLatin1String("right"))
        QTest::keyClick(m_grid, Qt::Key_Right);
    else if (change == QLatin1String("shift down"))
        QTest::keyClick(m_grid, Qt::Key_Down, Qt::ShiftModifier);
    else if (change == QLatin1String("click"))
        QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {}, m_grid->cellRect(3, 3).center());
    else if (change == QLatin1String("focus out"))
        m_grid->clearFocus();
    else if (change == QLatin1String("focus in"))
        m_grid->setFocus();
    else if (change == QLatin1String("type")) {
        QTest::keyClicks(m_grid, QStringLiteral("7"));
        QTest::keyClick(m_grid->editor(), Qt::Key_Return);
    }
    QTest::qWait(20);
    m_grid->viewport()->removeEventFilter(&log);

    QRegion allowed;
    for (int c = cells.left(); c <= cells.right(); ++c)
        for (int r = cells.top(); r <= cells.bottom(); ++r)
            allowed += m_grid->cellRect(c, r).adjusted(0, 0, 1, 1);
    QVERIFY(!log.painted.isEmpty());
    QVERIFY2((log.painted - allowed).isEmpty(), qPrintable(change));
    const QImage screen = m_grid->screen()->grabWindow(m_grid->winId()).toImage().convertToFormat(QImage::Format_RGB32);
    const QImage whole = m_grid->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(screen, whole);
}

QTEST_MAIN(TestStringGrid)
#include "TestStringGrid.moc"
