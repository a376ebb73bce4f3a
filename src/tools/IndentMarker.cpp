#include "tools/IndentMarker.h"

#include <QMouseEvent>
#include <QPainter>

IndentMarker::IndentMarker(Shape shape, QWidget* parent) : QWidget(parent), m_shape(shape)
{
    setCursor(Qt::SizeHorCursor);
}

QPolygon IndentMarker::outline() const
{
    // The tip stands on the marker's middle column, the place the indent shows.
    const int w = width();
    const int h = height();
    const int mid = w / 2;
    const int head = w / 2;               // height of the arrow head
    const int shaft = std::max(1, w / 6); // half the shaft's width
    switch (m_shape) {
    case Shape::DownArrow:
        return QPolygon({QPoint(mid - shaft, 0), QPoint(mid + shaft, 0), QPoint(mid + shaft, h - 1 - head),
                         QPoint(w - 1, h - 1 - head), QPoint(mid, h - 1), QPoint(0, h - 1 - head),
                         QPoint(mid - shaft, h - 1 - head)});
    case Shape::UpArrow:
    case Shape::HollowUpArrow:
        return QPolygon({QPoint(mid, 0), QPoint(w - 1, head), QPoint(mid + shaft, head), QPoint(mid + shaft, h - 1),
                         QPoint(mid - shaft, h - 1), QPoint(mid - shaft, head), QPoint(0, head)});
    }
    return {};
}

void IndentMarker::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(Qt::black);
    p.setBrush(m_shape == Shape::HollowUpArrow ? QBrush(Qt::white) : QBrush(Qt::black));
    p.drawPolygon(outline());
}

void IndentMarker::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit mouseDown(event->position().toPoint().x());
}

void IndentMarker::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMove(event->position().toPoint().x());
}

void IndentMarker::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit mouseUp();
}
