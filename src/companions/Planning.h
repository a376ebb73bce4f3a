#pragma once

#include <QDialog>

class TPlanning : public QDialog
{
    Q_OBJECT

public:
    explicit TPlanning(QWidget* parent = nullptr);
    // Loads and saves the planning file beside a class file.
    void Charge(const QString& classFileName);
    void Sauve(const QString& classFileName);
};
