#include "analysis/ChartPainter.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace charts {
namespace {

void paintLine(QPainter& painter, const Shape& s)
{
    if (s.a == s.b)
        return;
    painter.setPen(QPen(s.colour, 0));
    painter.drawLine(s.a, s.b);
}

void paintBox(QPainter& painter, const Shape& s)
{
    const int left = std::min(s.a.x(), s.b.x());
    const int top = std::min(s.a.y(), s.b.y());
    const QRect area(left, top, std::max(s.a.x(), s.b.x()) - left, std::max(s.a.y(), s.b.y()) - top);
    if (area.height() <= 0) {
        // An empty bar is flat on the axis.
        painter.setPen(QPen(Qt::black, 0));
        painter.drawLine(area.left(), area.top(), area.right(), area.top());
        return;
    }
    painter.fillRect(area, s.colour);
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area.adjusted(0, 0, -1, -1));
}

void paintText(QPainter& painter, const Shape& s)
{
    const QFontMetrics metrics(painter.font());
    const QRect cell(s.a, QSize(metrics.horizontalAdvance(s.text), metrics.height()));
    painter.fillRect(cell, Qt::white);
    painter.setPen(QPen(s.colour, 0));
    painter.drawText(cell, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, s.text);
}

} // namespace

void paint(QPainter& painter, const Picture& picture)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const Shape& s : picture) {
        switch (s.kind) {
        case Shape::Kind::Line:
            paintLine(painter, s);
            break;
        case Shape::Kind::Box:
            paintBox(painter, s);
            break;
        case Shape::Kind::Text:
            paintText(painter, s);
            break;
        }
    }
    painter.restore();
}

} // namespace charts
