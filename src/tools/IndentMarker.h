#pragma once

#include <QWidget>

// One of the paragraph indent markers of the text editor's ruler: an arrow drawn in code. The window
// moves it; the marker only reports the mouse, in its own coordinates.
class IndentMarker : public QWidget
{
    Q_OBJECT

public:
    enum class Shape
    {
        DownArrow,     // first-line indent, above the ruler line
        UpArrow,       // left indent of the other lines, below it
        HollowUpArrow, // right indent
    };

    IndentMarker(Shape shape, QWidget* parent);
    Shape shape() const { return m_shape; }
    // The outline of the arrow, in the marker's coordinates.
    QPolygon outline() const;

signals:
    void mouseDown(int x);
    void mouseMove(int x);
    void mouseUp();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Shape m_shape;
};
