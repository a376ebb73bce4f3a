#include "tools/Eurof.h"

#include "widgets/Fonts.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QToolButton>

namespace {

const QColor Teal(0, 128, 128);
const QColor Navy(0, 0, 128);

void paint(QWidget* widget, const QColor& background, const QColor& text = QColor())
{
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, background);
    if (text.isValid())
        p.setColor(QPalette::WindowText, text);
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}

QToolButton* makeArrow(QWidget* parent, Qt::ArrowType arrow, int top, int height)
{
    auto* b = new QToolButton(parent);
    b->setArrowType(arrow);
    b->setGeometry(0, top, 20, height);
    b->setFocusPolicy(Qt::NoFocus);
    // Held down, the arrow repeats its step after 400 ms, then every 100 ms.
    b->setAutoRepeat(true);
    b->setAutoRepeatDelay(400);
    b->setAutoRepeatInterval(100);
    return b;
}

} // namespace

TEurof::TEurof(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Eurof"));
    setWindowTitle(QStringLiteral("Euro convertisseur"));
    setFixedSize(260, 273);
    setFont(fonts::system(17));
    paint(this, Navy);

    Label1 = makeDisplay(Panel1, 10, 27);
    Label2 = makeDisplay(Panel2, 46, 28);

    Button7 = makeButton(QStringLiteral("7"), 8, 89, &TEurof::Button7Click);
    Button8 = makeButton(QStringLiteral("8"), 56, 89, &TEurof::Button8Click);
    Button9 = makeButton(QStringLiteral("9"), 104, 89, &TEurof::Button9Click);
    Button4 = makeButton(QStringLiteral("4"), 8, 137, &TEurof::Button4Click);
    Button5 = makeButton(QStringLiteral("5"), 56, 137, &TEurof::Button5Click);
    Button6 = makeButton(QStringLiteral("6"), 104, 137, &TEurof::Button6Click);
    Button1 = makeButton(QStringLiteral("1"), 8, 185, &TEurof::Button1Click);
    Button2 = makeButton(QStringLiteral("2"), 56, 185, &TEurof::Button2Click);
    Button3 = makeButton(QStringLiteral("3"), 104, 185, &TEurof::Button3Click);
    Button0 = makeButton(QStringLiteral("0"), 8, 233, &TEurof::Button0Click);
    Button12 = makeButton(QStringLiteral(","), 56, 233, &TEurof::Button12Click);
    Button11 = makeButton(QStringLiteral("="), 104, 233, &TEurof::Button11Click);
    Button10 = makeButton(QStringLiteral("Fermer"), 164, 233, &TEurof::Button10Click);
    Button10->resize(82, 33);
    // Only "=" takes the focus, so that Enter always converts.
    Button11->setFocusPolicy(Qt::StrongFocus);

    RadioGroup1 = new QFrame(this);
    RadioGroup1->setGeometry(153, 88, 96, 65);
    RadioGroup1->setFrameStyle(QFrame::Box | QFrame::Sunken);

    RadioButton1 = new QRadioButton(QStringLiteral("Fr>Euro"), this);
    RadioButton1->setGeometry(157, 104, 88, 20);
    RadioButton2 = new QRadioButton(QStringLiteral("Euro>Fr"), this);
    RadioButton2->setGeometry(157, 128, 88, 20);
    for (QRadioButton* r : {RadioButton1, RadioButton2}) {
        // White on the navy window: black would not be readable.
        QPalette p = r->palette();
        p.setColor(QPalette::WindowText, Qt::white);
        r->setPalette(p);
    }
    RadioButton1->setChecked(true);
    connect(RadioButton1, &QRadioButton::toggled, this, [this](bool checked) { m_engine.setFrancsToEuros(checked); });

    Edit3 = new QLineEdit(QStringLiteral("6,55957"), this);
    Edit3->setGeometry(152, 186, 73, 28);
    Edit3->setReadOnly(true);
    Edit3->setFocusPolicy(Qt::NoFocus);

    SpinButton1 = new QWidget(this);
    SpinButton1->setGeometry(224, 188, 20, 25);
    SpinButton1Up = makeArrow(SpinButton1, Qt::UpArrow, 0, 12);
    SpinButton1Down = makeArrow(SpinButton1, Qt::DownArrow, 12, 13);
    connect(SpinButton1Up, &QToolButton::clicked, this, &TEurof::SpinButton1UpClick);
    connect(SpinButton1Down, &QToolButton::clicked, this, &TEurof::SpinButton1DownClick);

    setTabOrder(Button11, RadioButton1);
    FormCreate();
}

QLabel* TEurof::makeDisplay(QFrame*& panel, int top, int height)
{
    panel = new QFrame(this);
    panel->setGeometry(14, top, 230, height);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    paint(panel, Teal);
    auto* label = new QLabel(panel);
    label->setGeometry(2, 1, 226, height - 2);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(p);
    return label;
}

QPushButton* TEurof::makeButton(const QString& caption, int left, int top, void (TEurof::*handler)())
{
    auto* button = new QPushButton(caption, this);
    button->setGeometry(left, top, 34, 33);
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QPushButton::clicked, this, handler);
    return button;
}

void TEurof::refresh()
{
    Label1->setText(m_engine.input());
    Label2->setText(m_engine.result());
    Edit3->setText(m_engine.rateText());
}

void TEurof::FormCreate()
{
    m_engine.setRate(EuroEngine::DesignRate);
    refresh();
}

void TEurof::FormActivate()
{
    m_engine.activate();
    refresh();
    Button11->setFocus();
}

void TEurof::Init()
{
    m_engine.Init();
    refresh();
}

void TEurof::entry(QChar character)
{
    m_engine.press(character);
    refresh();
}

void TEurof::Button0Click()
{
    entry(QLatin1Char('0'));
}
void TEurof::Button1Click()
{
    entry(QLatin1Char('1'));
}
void TEurof::Button2Click()
{
    entry(QLatin1Char('2'));
}
void TEurof::Button3Click()
{
    entry(QLatin1Char('3'));
}
void TEurof::Button4Click()
{
    entry(QLatin1Char('4'));
}
void TEurof::Button5Click()
{
    entry(QLatin1Char('5'));
}
void TEurof::Button6Click()
{
    entry(QLatin1Char('6'));
}
void TEurof::Button7Click()
{
    entry(QLatin1Char('7'));
}
void TEurof::Button8Click()
{
    entry(QLatin1Char('8'));
}
void TEurof::Button9Click()
{
    entry(QLatin1Char('9'));
}
void TEurof::Button12Click()
{
    entry(QLatin1Char(','));
}

void TEurof::Button10Click()
{
    reject();
}

void TEurof::Button11Click()
{
    FormKeyPress(QLatin1Char('\r'));
}

void TEurof::FormKeyPress(QChar key)
{
    if (key.unicode() == 0x1b) {
        Button10->click();
        return;
    }
    m_engine.keyPress(key);
    refresh();
}

void TEurof::SpinButton1UpClick()
{
    m_engine.stepUp();
    refresh();
}

void TEurof::SpinButton1DownClick()
{
    m_engine.stepDown();
    refresh();
}

void TEurof::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

void TEurof::keyPressEvent(QKeyEvent* event)
{
    // Every character reaches the converter whichever control has the focus; Enter converts.
    if (event->key() == Qt::Key_Escape) {
        Button10->click();
        event->accept();
        return;
    }
    // Tab still moves between "=" and the direction buttons; any other character, Backspace included,
    // is the converter's.
    const QString text = event->text();
    if (text.size() == 1 && !text[0].isNull() && text[0] != QLatin1Char('\t')) {
        FormKeyPress(text[0]);
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
