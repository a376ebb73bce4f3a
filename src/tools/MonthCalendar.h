#pragma once

#include "tools/MonthGrid.h"

#include <QFrame>

// The month grid on the screen: a sunken frame of cells, the current day selected. A click or the arrow keys
// choose another day of the month; the empty cells and the header cannot be chosen.
class MonthCalendar : public QFrame
{
    Q_OBJECT

public:
    static constexpr int GridLineWidth = 1;

    explicit MonthCalendar(const QDate& date, QWidget* parent = nullptr);

    const QDate& date() const { return m_grid.date(); }
    void setDate(const QDate& date);
    const MonthGrid& grid() const { return m_grid; }
    void PrevMonth();
    void NextMonth();

    QSize cellSize() const;
    // The cell's rectangle in the widget, grid lines not included.
    QRect cellRect(int col, int row) const;
    // The cell under a point, (-1, -1) outside every cell.
    QPoint cellAt(const QPoint& pos) const;

signals:
    // After every change of the current date.
    void changed();
    // Every key, before the grid's own handling.
    void keyDown(QKeyEvent* event);
    // Every character typed.
    void keyPress(QChar key);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Selects the day in a cell if it holds one.
    bool selectCell(int col, int row);

    MonthGrid m_grid;
};
