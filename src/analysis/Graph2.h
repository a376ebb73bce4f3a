#pragma once

#include <QDialog>

class TGraph2 : public QDialog
{
    Q_OBJECT

public:
    explicit TGraph2(QWidget* parent = nullptr);
};
