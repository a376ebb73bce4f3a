#include "tools/SpinButton.h"

#include <QPainter>
#include <QPolygon>
#include <QToolButton>

namespace {

// A small black triangle: the style's own arrows vanish in buttons only a dozen pixels high.
QIcon triangle(bool up)
{
    QPixmap pixmap(7, 4);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    const QPolygon shape = up ? QPolygon({QPoint(0, 4), QPoint(7, 4), QPoint(3, 0), QPoint(3, 0)})
                              : QPolygon({QPoint(0, 0), QPoint(7, 0), QPoint(4, 4), QPoint(3, 4)});
    painter.drawPolygon(shape);
    return QIcon(pixmap);
}

QToolButton* arrow(QWidget* parent, Qt::ArrowType type)
{
    auto* b = new QToolButton(parent);
    b->setIcon(triangle(type == Qt::UpArrow));
    b->setIconSize(QSize(7, 4));
    b->setToolButtonStyle(Qt::ToolButtonIconOnly);
    b->setAutoRepeat(true);
    b->setAutoRepeatDelay(400);
    b->setAutoRepeatInterval(100);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

} // namespace

SpinButton::SpinButton(QWidget* parent)
    : QWidget(parent), m_up(arrow(this, Qt::UpArrow)), m_down(arrow(this, Qt::DownArrow))
{
    m_up->setObjectName(QStringLiteral("up"));
    m_down->setObjectName(QStringLiteral("down"));
    connect(m_up, &QToolButton::clicked, this, &SpinButton::upClick);
    connect(m_down, &QToolButton::clicked, this, &SpinButton::downClick);
}

void SpinButton::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int upper = height() / 2;
    m_up->setGeometry(0, 0, width(), upper);
    m_down->setGeometry(0, upper, width(), height() - upper);
}
