#pragma once

#include <QDialog>

class QFrame;
class QLineEdit;
class QPushButton;

// "Nom de l'élève": asks for the name of a new desk. Enter in the box does not close it.
class TPlnEdit : public QDialog
{
    Q_OBJECT

public:
    explicit TPlnEdit(QWidget* parent = nullptr);

    // Puts the text into the box.
    void Init(const QString& text);
    void FormActivate();

    QFrame* Bevel1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* Button1 = nullptr; // "Annuler"
    QPushButton* Button2 = nullptr; // "OK"

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
};
