#pragma once

#include <QDialog>

class QFrame;
class QLineEdit;
class QPushButton;

// Asks for the name of a planning subject.
class TPrjEdit : public QDialog
{
    Q_OBJECT

public:
    explicit TPrjEdit(QWidget* parent = nullptr);

    QFrame* Bevel1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
};
