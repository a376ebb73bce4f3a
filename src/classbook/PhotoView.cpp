#include "classbook/PhotoView.h"

#include <QMouseEvent>
#include <QPainter>

PhotoView::PhotoView(QWidget* parent) : QWidget(parent) {}

void PhotoView::setPicture(const photofit::Shown& shown)
{
    m_picture = shown.picture;
    m_at = shown.at;
    m_pictureSize = shown.originalSize;
    update();
}

void PhotoView::clear()
{
    m_picture = QImage();
    m_at = QPoint();
    m_pictureSize = QSize();
    update();
}

void PhotoView::setStretch(bool stretch)
{
    m_stretch = stretch;
    update();
}

void PhotoView::paintEvent(QPaintEvent*)
{
    if (m_picture.isNull())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(m_at, m_picture);
}

void PhotoView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit clicked();
}
