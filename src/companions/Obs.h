#pragma once

#include <QDialog>

class TObs : public QDialog
{
    Q_OBJECT

public:
    explicit TObs(QWidget* parent = nullptr);
    // Loads and saves the phrase file of the start-up directory.
    void Charge();
    void Sauve();
    // Hands the phrase chosen during the last opening, if any.
    void Result(QString& phrase);
};
