#pragma once

#include <QDialog>

class TDevoirs : public QDialog
{
    Q_OBJECT

public:
    explicit TDevoirs(QWidget* parent = nullptr);
};
