#pragma once

#include <QDialog>

class TGraph : public QDialog
{
    Q_OBJECT

public:
    explicit TGraph(QWidget* parent = nullptr);
};
