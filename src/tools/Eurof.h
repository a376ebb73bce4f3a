#pragma once

#include <QDialog>

class TEurof : public QDialog
{
    Q_OBJECT

public:
    explicit TEurof(QWidget* parent = nullptr);
};
