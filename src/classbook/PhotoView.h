#pragma once

#include <QImage>
#include <QWidget>

// The photo control of the card: draws its picture centred at its own size (cut where it is larger),
// or stretched over the whole control.
class PhotoView : public QWidget
{
    Q_OBJECT

public:
    explicit PhotoView(QWidget* parent = nullptr);

    const QImage& picture() const { return m_picture; }
    // The size of the picture as stored in its file (a large photo may be decoded smaller).
    QSize pictureSize() const { return m_pictureSize; }
    void setPicture(const QImage& picture, const QSize& originalSize = QSize());
    void clear();
    bool isEmpty() const { return m_picture.isNull(); }

    bool stretch() const { return m_stretch; }
    void setStretch(bool stretch);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage m_picture;
    // The picture reduced to the control's size, while it is stretched.
    QImage m_scaled;
    QSize m_pictureSize;
    bool m_stretch = false;
};
