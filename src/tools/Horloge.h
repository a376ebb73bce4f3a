#pragma once

#include <QDialog>

class THorloge : public QDialog
{
    Q_OBJECT

public:
    explicit THorloge(QWidget* parent = nullptr);
};
