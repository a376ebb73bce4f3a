#pragma once

#include <QFrame>
#include <QString>

// The text editor's ruler: a lowered panel whose caption is a row of tab-separated tick marks, drawn
// left-aligned with the tabs expanded at every eight average character widths of its font.
class RulerPanel : public QFrame
{
    Q_OBJECT

public:
    explicit RulerPanel(QWidget* parent);
    void setCaption(const QString& caption);
    const QString& caption() const { return m_caption; }
    // The distance between two tab positions of the ruler's font, in pixels.
    int tabWidth() const;

signals:
    void resized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QString m_caption;
};
