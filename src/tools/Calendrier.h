#pragma once

#include <QDialog>

class TCalendrier : public QDialog
{
    Q_OBJECT

public:
    explicit TCalendrier(QWidget* parent = nullptr);
};
