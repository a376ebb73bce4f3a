#pragma once

#include <QDialog>

class QFrame;
class QLineEdit;
class QPushButton;

// The small dialog that asks for one name: a box in a bevel frame, "Annuler" (Escape) and "OK".
// Neither button is a default one, so Enter in the box does nothing unless a dialog says otherwise.
class NameDialog : public QDialog
{
    Q_OBJECT

public:
    QFrame* Bevel1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* Button1 = nullptr; // "Annuler"
    QPushButton* Button2 = nullptr; // "OK"

protected:
    NameDialog(const QString& objectName, const QString& caption, int fontPixels, QWidget* parent);

    // Shown in the middle of the screen, the focus in the box.
    void showEvent(QShowEvent* event) override;
};
