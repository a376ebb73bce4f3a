#include "tools/RulerPanel.h"

#include <QPainter>
#include <QTextOption>

RulerPanel::RulerPanel(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
}

void RulerPanel::setCaption(const QString& caption)
{
    m_caption = caption;
    update();
}

int RulerPanel::tabWidth() const
{
    return 8 * fontMetrics().averageCharWidth();
}

void RulerPanel::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter p(this);
    p.setFont(font());
    p.setPen(Qt::black);
    QTextOption option(Qt::AlignLeft | Qt::AlignVCenter);
    option.setWrapMode(QTextOption::NoWrap);
    option.setTabStopDistance(tabWidth());
    p.drawText(QRectF(contentsRect()), m_caption, option);
}

void RulerPanel::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    emit resized();
}
