#include "classbook/PhotoView.h"

#include <QMouseEvent>
#include <QPainter>

PhotoView::PhotoView(QWidget* parent) : QWidget(parent)
{
}

void PhotoView::setPicture(const QImage& picture, const QSize& originalSize)
{
    m_picture = picture;
    m_pictureSize = originalSize.isValid() ? originalSize : picture.size();
    update();
}

void PhotoView::clear()
{
    m_picture = QImage();
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
    if (m_stretch) {
        p.drawImage(rect(), m_picture);
        return;
    }
    // At its own size, centred: the stored size counts, whatever size it was decoded at.
    const QSize size = m_pictureSize;
    const QRect target((width() - size.width()) / 2, (height() - size.height()) / 2, size.width(), size.height());
    p.drawImage(target, m_picture);
}

void PhotoView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit clicked();
}
