#pragma once

#include <QDialog>

class TPlnEdit : public QDialog
{
    Q_OBJECT

public:
    explicit TPlnEdit(QWidget* parent = nullptr);
};
