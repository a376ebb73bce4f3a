#pragma once

#include <QDialog>

class TRub : public QDialog
{
    Q_OBJECT

public:
    explicit TRub(QWidget* parent = nullptr);
};
