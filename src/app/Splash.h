#pragma once

#include <QWidget>

// The window shown while the program starts: emblem, name and version on a teal panel.
class TSplash : public QWidget
{
    Q_OBJECT

public:
    explicit TSplash(QWidget* parent = nullptr);
    // Shows the splash and paints it at once, without waiting for the event loop.
    void showNow();
};
