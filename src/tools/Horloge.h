#pragma once

#include <QDialog>

class QButtonGroup;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QTimer;
class SpinButton;

// The desk clock: shows the time and the date, and sets the computer's clock from values stepped by hand.
class THorloge : public QDialog
{
    Q_OBJECT

public:
    explicit THorloge(QWidget* parent = nullptr);

    void FormActivate();
    void FormDeactivate();
    void Timer1Timer();
    void SpinButton1UpClick();
    void SpinButton1DownClick();
    void Button2Click();
    void Button1Click();
    // Asks the system to make the shown date and time the computer's; its refusal is shown when it comes.
    void Modifie();

    bool isEditing() const { return m_editing; }
    // The chosen field of the radio group, -1 when none is chosen.
    int itemIndex() const;
    void setItemIndex(int index);

    QFrame* Panel1 = nullptr;
    QFrame* Panel2 = nullptr;
    QFrame* Panel3 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QFrame* Label4 = nullptr;
    QGroupBox* RadioGroup1 = nullptr;
    QButtonGroup* RadioItems = nullptr;
    SpinButton* SpinButton1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button1 = nullptr;
    QTimer* Timer1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void stepChosen(int delta);

    bool m_editing = false;
};
