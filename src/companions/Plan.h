#pragma once

#include <QDialog>

class TPlan : public QDialog
{
    Q_OBJECT

public:
    explicit TPlan(QWidget* parent = nullptr);
    // Loads and saves the seating plan file beside a class file.
    void Charge(const QString& classFileName);
    void Sauve(const QString& classFileName);
};
