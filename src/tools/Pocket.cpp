#include "tools/Pocket.h"

#include "widgets/ErrorHandler.h"
#include "widgets/Fonts.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

namespace {

const QColor Teal(0, 128, 128);
const QColor Navy(0, 0, 128);
const QColor Silver(192, 192, 192);
const QColor Red(255, 0, 0);

void paint(QWidget* widget, const QColor& colour)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, colour);
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}

// Keypad columns and rows, left and top edges in pixels.
constexpr int Col[] = {8, 56, 104, 152, 200, 248};
constexpr int Row[] = {57, 97, 137, 177};

} // namespace

TPocket::TPocket(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Pocket"));
    setWindowTitle(QStringLiteral("Calculatrice"));
    setFixedSize(342, 219);
    setFont(fonts::system(17));
    paint(this, Teal);

    Panel1 = new QFrame(this);
    Panel1->setGeometry(0, 0, 342, 49);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    paint(Panel1, Qt::white);

    Panel2 = new QFrame(Panel1);
    Panel2->setGeometry(4, 4, 185, 41);
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel2->setLineWidth(4);
    paint(Panel2, Navy);

    Label1 = new QLabel(Panel2);
    Label1->setObjectName(QStringLiteral("Label1"));
    // A ring of navy shows between the bevel and the silver display.
    Label1->setGeometry(6, 6, 173, 29);
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    paint(Label1, Silver);

    Label2 = new QLabel(Panel1);
    Label2->setGeometry(342 - 4 - 147, 4, 147, 9);
    paint(Label2, Red);

    Button7 = makeButton(QStringLiteral("7"), Col[0], Row[0], &TPocket::Button7Click);
    Button8 = makeButton(QStringLiteral("8"), Col[1], Row[0], &TPocket::Button8Click);
    Button9 = makeButton(QStringLiteral("9"), Col[2], Row[0], &TPocket::Button9Click);
    Button12 = makeButton(QStringLiteral("+"), Col[3], Row[0], &TPocket::Button12Click);
    Button16 = makeButton(QStringLiteral("1/x"), Col[4], Row[0], &TPocket::Button16Click);
    Button4 = makeButton(QStringLiteral("4"), Col[0], Row[1], &TPocket::Button4Click);
    Button5 = makeButton(QStringLiteral("5"), Col[1], Row[1], &TPocket::Button5Click);
    Button6 = makeButton(QStringLiteral("6"), Col[2], Row[1], &TPocket::Button6Click);
    Button13 = makeButton(QStringLiteral("-"), Col[3], Row[1], &TPocket::Button13Click);
    Button17 = makeButton(QStringLiteral("sqr"), Col[4], Row[1], &TPocket::Button17Click);
    Button1 = makeButton(QStringLiteral("1"), Col[0], Row[2], &TPocket::Button1Click);
    Button2 = makeButton(QStringLiteral("2"), Col[1], Row[2], &TPocket::Button2Click);
    Button3 = makeButton(QStringLiteral("3"), Col[2], Row[2], &TPocket::Button3Click);
    Button14 = makeButton(QStringLiteral("*"), Col[3], Row[2], &TPocket::Button14Click);
    Button18 = makeButton(QStringLiteral("C"), Col[4], Row[2], &TPocket::Button18Click);
    Button10 = makeButton(QStringLiteral(","), Col[0], Row[3], &TPocket::Button10Click);
    Button0 = makeButton(QStringLiteral("0"), Col[1], Row[3], &TPocket::Button0Click);
    Button11 = makeButton(QStringLiteral("="), Col[2], Row[3], &TPocket::Button11Click);
    Button15 = makeButton(QStringLiteral("/"), Col[3], Row[3], &TPocket::Button15Click);
    Button19 = makeButton(QStringLiteral("Fermer"), Col[5], Row[3], &TPocket::Button19Click);
    Button19->resize(74, 33);

    // Tab order follows the keypad, row by row.
    const QList<QPushButton*> order = {Button7,  Button8,  Button9,  Button12, Button16, Button4, Button5,
                                       Button6,  Button13, Button17, Button1,  Button2,  Button3, Button14,
                                       Button18, Button10, Button0,  Button11, Button15, Button19};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

QPushButton* TPocket::makeButton(const QString& caption, int left, int top, void (TPocket::*handler)())
{
    auto* button = new QPushButton(caption, this);
    button->setGeometry(left, top, 34, 33);
    connect(button, &QPushButton::clicked, this, handler);
    return button;
}

void TPocket::refresh()
{
    Label1->setText(m_engine.display());
}

void TPocket::digit(QChar character)
{
    m_engine.type(character);
    refresh();
}

void TPocket::run(void (PocketEngine::*step)())
{
    errors::guarded(this, [&] { (m_engine.*step)(); });
    refresh();
}

void TPocket::operatorClick(QChar op)
{
    errors::guarded(this, [&] { m_engine.applyOperator(op); });
    refresh();
}

void TPocket::Button0Click()
{
    digit(QLatin1Char('0'));
}
void TPocket::Button1Click()
{
    digit(QLatin1Char('1'));
}
void TPocket::Button2Click()
{
    digit(QLatin1Char('2'));
}
void TPocket::Button3Click()
{
    digit(QLatin1Char('3'));
}
void TPocket::Button4Click()
{
    digit(QLatin1Char('4'));
}
void TPocket::Button5Click()
{
    digit(QLatin1Char('5'));
}
void TPocket::Button6Click()
{
    digit(QLatin1Char('6'));
}
void TPocket::Button7Click()
{
    digit(QLatin1Char('7'));
}
void TPocket::Button8Click()
{
    digit(QLatin1Char('8'));
}
void TPocket::Button9Click()
{
    digit(QLatin1Char('9'));
}
void TPocket::Button10Click()
{
    digit(QLatin1Char(','));
}

void TPocket::Button11Click()
{
    run(&PocketEngine::evaluate);
}

void TPocket::Button12Click()
{
    operatorClick(QLatin1Char('+'));
}

void TPocket::Button13Click()
{
    operatorClick(QLatin1Char('-'));
}

void TPocket::Button14Click()
{
    operatorClick(QLatin1Char('*'));
}

void TPocket::Button15Click()
{
    operatorClick(QLatin1Char('/'));
}

void TPocket::Button16Click()
{
    run(&PocketEngine::reciprocal);
}

void TPocket::Button17Click()
{
    run(&PocketEngine::squareRoot);
}

void TPocket::Button18Click()
{
    FormActivate();
}

void TPocket::Button19Click()
{
    reject();
}

void TPocket::FormActivate()
{
    m_engine.clear();
    refresh();
    Button11->setFocus();
}

bool TPocket::FormKeyPress(QChar key)
{
    QPushButton* target = nullptr;
    switch (key.unicode()) {
    case '0':
        target = Button0;
        break;
    case '1':
        target = Button1;
        break;
    case '2':
        target = Button2;
        break;
    case '3':
        target = Button3;
        break;
    case '4':
        target = Button4;
        break;
    case '5':
        target = Button5;
        break;
    case '6':
        target = Button6;
        break;
    case '7':
        target = Button7;
        break;
    case '8':
        target = Button8;
        break;
    case '9':
        target = Button9;
        break;
    case ',':
    case '.':
        target = Button10;
        break;
    case '=':
        target = Button11;
        break;
    case '+':
        target = Button12;
        break;
    case '-':
        target = Button13;
        break;
    case '*':
        target = Button14;
        break;
    case '/':
        target = Button15;
        break;
    case 'X':
    case 'x':
        target = Button16;
        break;
    case 'S':
    case 's':
        target = Button17;
        break;
    case 'C':
    case 'c':
        target = Button18;
        break;
    case 0x1b:
        target = Button19;
        break;
    default:
        break;
    }
    if (!target)
        return false;
    // Through the button itself, exactly as a mouse click.
    target->click();
    return true;
}

void TPocket::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Showing the window is what activates it; a message box closing over it must not clear it.
    if (!event->spontaneous())
        FormActivate();
}

void TPocket::keyPressEvent(QKeyEvent* event)
{
    // Characters left over by the focused button arrive here, whichever button has the focus,
    // "1/x" and "sqr" included, so the keyboard never goes dead after a click on them.
    if (event->key() == Qt::Key_Escape) {
        Button19->click();
        event->accept();
        return;
    }
    const QString text = event->text();
    if (text.size() == 1 && FormKeyPress(text[0])) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
