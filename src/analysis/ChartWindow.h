#pragma once

#include "analysis/ChartLayout.h"

#include <QDialog>

class QFrame;
class QPainter;
class QPushButton;

// What the two chart windows share: a white window with the "Fermer" panel along its top, painting
// the picture its chart computes every time it is shown or uncovered.
class ChartWindow : public QDialog
{
    Q_OBJECT

public:
    // What every paint draws.
    virtual charts::Picture picture() const = 0;

    // Loads the charts' font for the rest of the run: the window built when first asked for then finds it ready.
    static void loadFont();

    QFrame* Panel1 = nullptr;
    QPushButton* Button1 = nullptr;

protected:
    ChartWindow(const QString& objectName, const QString& caption, QWidget* parent);

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FormPaint(QPainter& painter);
    void Button1Click();
};
