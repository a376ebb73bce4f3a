#pragma once

#include "model/PhotoFit.h"

#include <QImage>
#include <QWidget>

// The photo control of the card. It holds the photo only as it draws it (photofit::Shown): stretched over the whole
// control, or centred at its own size and cut where it is larger.
class PhotoView : public QWidget
{
    Q_OBJECT

public:
    explicit PhotoView(QWidget* parent = nullptr);

    // The picture as drawn: the control's size when stretched, the part in view otherwise.
    const QImage& picture() const { return m_picture; }
    // The size of the picture as stored in its file.
    QSize pictureSize() const { return m_pictureSize; }
    void setPicture(const photofit::Shown& shown);
    void clear();
    bool isEmpty() const { return !m_pictureSize.isValid(); }

    bool stretch() const { return m_stretch; }
    void setStretch(bool stretch);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage m_picture;
    QPoint m_at;
    QSize m_pictureSize;
    bool m_stretch = false;
};
