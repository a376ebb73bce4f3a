#include "classbook/PhotoView.h"

#include <QMouseEvent>
#include <QPainter>

PhotoView::PhotoView(QWidget* parent) : QWidget(parent)
{
}

void PhotoView::setPicture(const QImage& picture, const QSize& originalSize)
{
    m_picture = picture;
    m_scaled = QImage();
    m_pictureSize = originalSize.isValid() ? originalSize : picture.size();
    update();
}

void PhotoView::clear()
{
    m_picture = QImage();
    m_scaled = QImage();
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
        // Reduced once with a proper filter: a photo decoded at several times the area's size would
        // alias with the painter's bilinear sampling, and repaints stay cheap.
        if (m_scaled.size() != size())
            m_scaled = m_picture.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        p.drawImage(rect(), m_scaled);
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
