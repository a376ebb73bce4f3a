#pragma once

#include <QDialog>

class TPocket : public QDialog
{
    Q_OBJECT

public:
    explicit TPocket(QWidget* parent = nullptr);
};
