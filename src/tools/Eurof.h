#pragma once

#include "tools/EuroEngine.h"

#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
class QWidget;

// "Euro convertisseur": converts an amount typed in francs or euros, shown modally. The displays, the
// direction and the rate last for the whole run.
class TEurof : public QDialog
{
    Q_OBJECT

public:
    explicit TEurof(QWidget* parent = nullptr);

    EuroEngine& engine() { return m_engine; }

    QFrame* Panel1 = nullptr; // raised teal panel of the input display
    QFrame* Panel2 = nullptr; // raised teal panel of the result display
    QLabel* Label1 = nullptr; // the amount typed
    QLabel* Label2 = nullptr; // the converted amount
    QPushButton* Button0 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* Button5 = nullptr;
    QPushButton* Button6 = nullptr;
    QPushButton* Button7 = nullptr;
    QPushButton* Button8 = nullptr;
    QPushButton* Button9 = nullptr;
    QPushButton* Button10 = nullptr;      // "Fermer"
    QPushButton* Button11 = nullptr;      // "="
    QPushButton* Button12 = nullptr;      // ","
    QRadioButton* RadioButton1 = nullptr; // "Fr>Euro"
    QRadioButton* RadioButton2 = nullptr; // "Euro>Fr"
    QFrame* RadioGroup1 = nullptr;
    QLineEdit* Edit3 = nullptr; // the rate
    QWidget* SpinButton1 = nullptr;
    QToolButton* SpinButton1Up = nullptr;
    QToolButton* SpinButton1Down = nullptr;

    void FormCreate();
    void FormActivate();
    void FormKeyPress(QChar key);
    void Init();
    void Button0Click();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void Button7Click();
    void Button8Click();
    void Button9Click();
    void Button10Click();
    void Button11Click();
    void Button12Click();
    void SpinButton1UpClick();
    void SpinButton1DownClick();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPushButton* makeButton(const QString& caption, int left, int top, void (TEurof::*handler)());
    QLabel* makeDisplay(QFrame*& panel, int top, int height);
    void entry(QChar character);
    void refresh();

    EuroEngine m_engine;
};
