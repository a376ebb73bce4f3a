#include "app/Emblem.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace emblem {

QPixmap picture(int width, int height)
{
    QPixmap pm(width, height);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(width / 100.0, height / 100.0);

    // Background medallion.
    QLinearGradient back(0, 0, 0, 100);
    back.setColorAt(0, QColor(0, 150, 150));
    back.setColorAt(1, QColor(0, 90, 100));
    p.setPen(QPen(QColor(0, 60, 70), 2));
    p.setBrush(back);
    p.drawRoundedRect(QRectF(2, 2, 96, 96), 14, 14);

    // The open book.
    p.setPen(QPen(QColor(60, 40, 20), 1.5));
    p.setBrush(QColor(250, 248, 235));
    QPainterPath left;
    left.moveTo(50, 38);
    left.cubicTo(38, 32, 22, 32, 12, 36);
    left.lineTo(12, 84);
    left.cubicTo(22, 80, 38, 80, 50, 86);
    left.closeSubpath();
    QPainterPath right;
    right.moveTo(50, 38);
    right.cubicTo(62, 32, 78, 32, 88, 36);
    right.lineTo(88, 84);
    right.cubicTo(78, 80, 62, 80, 50, 86);
    right.closeSubpath();
    p.drawPath(left);
    p.drawPath(right);
    // Ruled lines and marks.
    p.setPen(QPen(QColor(120, 140, 200), 1));
    for (int i = 0; i < 5; ++i) {
        const double y = 46 + i * 7;
        p.drawLine(QPointF(17, y), QPointF(45, y + 1));
        p.drawLine(QPointF(55, y + 1), QPointF(83, y));
    }
    p.setPen(QPen(QColor(200, 30, 30), 2));
    p.drawLine(QPointF(60, 52), QPointF(64, 56));
    p.drawLine(QPointF(64, 56), QPointF(72, 46));

    // The apple.
    p.setPen(QPen(QColor(120, 10, 10), 1.5));
    p.setBrush(QColor(215, 30, 35));
    p.drawEllipse(QRectF(38, 8, 24, 24));
    p.setPen(QPen(QColor(90, 60, 20), 2.5));
    p.drawLine(QPointF(50, 10), QPointF(52, 3));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 160, 60));
    p.drawEllipse(QRectF(53, 2, 10, 6));
    return pm;
}

} // namespace emblem
