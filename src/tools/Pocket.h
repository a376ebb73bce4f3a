#pragma once

#include "tools/PocketEngine.h"

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

// "Calculatrice": a four-function pocket calculator with reciprocal and square root, shown modally.
// It starts cleared every time it is shown.
class TPocket : public QDialog
{
    Q_OBJECT

public:
    explicit TPocket(QWidget* parent = nullptr);

    PocketEngine& engine() { return m_engine; }

    QFrame* Panel1 = nullptr; // the white display strip across the top
    QFrame* Panel2 = nullptr; // the navy frame around the display text
    QLabel* Label1 = nullptr; // the display text
    QLabel* Label2 = nullptr; // the red strip
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
    QPushButton* Button10 = nullptr; // ","
    QPushButton* Button11 = nullptr; // "="
    QPushButton* Button12 = nullptr; // "+"
    QPushButton* Button13 = nullptr; // "-"
    QPushButton* Button14 = nullptr; // "*"
    QPushButton* Button15 = nullptr; // "/"
    QPushButton* Button16 = nullptr; // "1/x"
    QPushButton* Button17 = nullptr; // "sqr"
    QPushButton* Button18 = nullptr; // "C"
    QPushButton* Button19 = nullptr; // "Fermer"

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
    void Button13Click();
    void Button14Click();
    void Button15Click();
    void Button16Click();
    void Button17Click();
    void Button18Click();
    void Button19Click();
    void FormActivate();
    // A typed character acts as a click on the button it names; true when it named one.
    bool FormKeyPress(QChar key);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPushButton* makeButton(const QString& caption, int left, int top, void (TPocket::*handler)());
    void digit(QChar character);
    void operatorClick(QChar op);
    void run(void (PocketEngine::*step)());
    void refresh();

    PocketEngine m_engine;
};
