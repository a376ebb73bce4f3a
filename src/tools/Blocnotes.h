#pragma once

#include <QDialog>

class TBlocnotes : public QDialog
{
    Q_OBJECT

public:
    explicit TBlocnotes(QWidget* parent = nullptr);
    // Loads and saves the notes file.
    void Charge(const QString& fileName);
    void Sauve(const QString& fileName);
};
