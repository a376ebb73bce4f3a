#pragma once

#include <QDialog>

class TPrjEdit : public QDialog
{
    Q_OBJECT

public:
    explicit TPrjEdit(QWidget* parent = nullptr);
};
