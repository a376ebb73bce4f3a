#include "tools/MonthCalendar.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

const QColor Lime(0x00, 0xff, 0x00);
const QColor FixedFace(0xc0, 0xc0, 0xc0);
const QColor LineColour(0x80, 0x80, 0x80);

} // namespace

MonthCalendar::MonthCalendar(const QDate& date, QWidget* parent) : QFrame(parent), m_grid(date, 0)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setFocusPolicy(Qt::StrongFocus);
}

void MonthCalendar::setDate(const QDate& date)
{
    if (m_grid.setDate(date)) {
        update();
        emit changed();
    }
}

void MonthCalendar::PrevMonth()
{
    setDate(MonthGrid::previousMonth(date()));
}

void MonthCalendar::NextMonth()
{
    setDate(MonthGrid::nextMonth(date()));
}

QSize MonthCalendar::cellSize() const
{
    return MonthGrid::cellSize(contentsRect().size(), GridLineWidth);
}

QRect MonthCalendar::cellRect(int col, int row) const
{
    const QSize cell = cellSize();
    const QPoint origin = contentsRect().topLeft();
    return {origin.x() + col * (cell.width() + GridLineWidth), origin.y() + row * (cell.height() + GridLineWidth),
            cell.width(), cell.height()};
}

QPoint MonthCalendar::cellAt(const QPoint& pos) const
{
    for (int row = 0; row < MonthGrid::Rows; ++row)
        for (int col = 0; col < MonthGrid::Columns; ++col)
            if (cellRect(col, row).contains(pos))
                return {col, row};
    return {-1, -1};
}

bool MonthCalendar::selectCell(int col, int row)
{
    const int day = m_grid.dayAt(col, row);
    if (!day)
        return false;
    setDate(QDate(date().year(), date().month(), day));
    return true;
}

void MonthCalendar::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect contents = contentsRect();
    painter.fillRect(contents, Lime);
    painter.setFont(font());
    const QPoint selected = m_grid.selectedCell();
    for (int row = 0; row < MonthGrid::Rows; ++row) {
        for (int col = 0; col < MonthGrid::Columns; ++col) {
            const QRect cell = cellRect(col, row);
            QColor text = Qt::black;
            if (row == 0) {
                painter.fillRect(cell, FixedFace);
            } else if (QPoint(col, row) == selected) {
                painter.fillRect(cell, palette().color(QPalette::Highlight));
                text = palette().color(QPalette::HighlightedText);
            }
            // The lines after each cell, as wide as the grid line.
            painter.fillRect(cell.right() + 1, cell.top(), GridLineWidth, cell.height() + GridLineWidth, LineColour);
            painter.fillRect(cell.left(), cell.bottom() + 1, cell.width() + GridLineWidth, GridLineWidth, LineColour);
            painter.setPen(text);
            painter.drawText(cell, Qt::AlignCenter, m_grid.cellText(col, row));
        }
    }
}

void MonthCalendar::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::LeftButton) {
        const QPoint cell = cellAt(event->position().toPoint());
        selectCell(cell.x(), cell.y());
    }
    QFrame::mousePressEvent(event);
}

void MonthCalendar::keyPressEvent(QKeyEvent* event)
{
    emit keyDown(event);
    if (!event->text().isEmpty())
        emit keyPress(event->text().at(0));
    const QPoint cell = m_grid.selectedCell();
    switch (event->key()) {
    case Qt::Key_Left:
        selectCell(cell.x() - 1, cell.y());
        break;
    case Qt::Key_Right:
        selectCell(cell.x() + 1, cell.y());
        break;
    case Qt::Key_Up:
        selectCell(cell.x(), cell.y() - 1);
        break;
    case Qt::Key_Down:
        selectCell(cell.x(), cell.y() + 1);
        break;
    case Qt::Key_Home:
        selectCell(0, cell.y());
        break;
    case Qt::Key_End:
        selectCell(MonthGrid::Columns - 1, cell.y());
        break;
    default:
        // Other keys, Escape and the page keys among them, go on to the window.
        QFrame::keyPressEvent(event);
        return;
    }
    event->accept();
}
