#include "tools/Horloge.h"

#include "core/FrenchDates.h"
#include "tools/ClockFields.h"
#include "tools/SpinButton.h"
#include "widgets/ErrorHandler.h"
#include "widgets/FirstShow.h"
#include "widgets/Fonts.h"
#include "widgets/Seams.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace {

constexpr int ClientWidth = 277;
constexpr int ClientHeight = 156;

// The radio group's items, in the order of the fields they step.
const clockfields::Field ItemFields[] = {clockfields::Field::Hour, clockfields::Field::Minute, clockfields::Field::Day,
                                         clockfields::Field::Month, clockfields::Field::Year};

QFrame* loweredPanel(QWidget* parent, const QRect& geometry, QLabel*& label)
{
    auto* panel = new QFrame(parent);
    panel->setGeometry(geometry);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(1);
    panel->setAutoFillBackground(true);
    QPalette p = panel->palette();
    p.setColor(QPalette::Window, QColor(0xc0, 0xc0, 0xc0));
    p.setColor(QPalette::WindowText, Qt::black);
    p.setColor(QPalette::Light, Qt::white);
    p.setColor(QPalette::Dark, QColor(0x80, 0x80, 0x80));
    panel->setPalette(p);
    label = new QLabel(panel);
    label->setGeometry(1, 1, geometry.width() - 2, geometry.height() - 2);
    label->setAlignment(Qt::AlignCenter);
    label->setFont(fonts::pixelFont(QStringLiteral("Arial"), 23, true));
    return panel;
}

} // namespace

THorloge::THorloge(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Horloge"));
    setWindowTitle(QStringLiteral("Horloge"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFont(fonts::system(17));
    setFixedSize(ClientWidth, ClientHeight);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(0, 0, ClientWidth, ClientHeight);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(3);
    Panel1->setAutoFillBackground(true);
    QPalette black = Panel1->palette();
    black.setColor(QPalette::Window, Qt::black);
    black.setColor(QPalette::WindowText, Qt::white);
    black.setColor(QPalette::Light, Qt::white);
    black.setColor(QPalette::Dark, QColor(0x80, 0x80, 0x80));
    Panel1->setPalette(black);

    Panel2 = loweredPanel(Panel1, QRect(12, 12, 142, 34), Label1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setText(QStringLiteral("18:23:00"));

    Label4 = new QFrame(Panel1);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setGeometry(8, 52, 153, 2);
    Label4->setAutoFillBackground(true);
    QPalette white = Label4->palette();
    white.setColor(QPalette::Window, Qt::white);
    Label4->setPalette(white);

    Panel3 = loweredPanel(Panel1, QRect(12, 63, 142, 34), Label2);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setText(QStringLiteral("20/10/1998"));

    Label3 = new QLabel(QStringLiteral("VIR"), Panel1);
    Label3->setObjectName(QStringLiteral("Label3"));
    QFont mark = fonts::pixelFont(QStringLiteral("Arial"), 27, true);
    mark.setItalic(true);
    Label3->setFont(mark);
    Label3->move(12, 116);
    firstshow::fitText(Label3);

    RadioGroup1 = new QGroupBox(Panel1);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioGroup1->setGeometry(162, 6, 58, 94);
    RadioItems = new QButtonGroup(this);
    RadioItems->setExclusive(true);
    const char* const captions[] = {"Hr", "Mn", "Jo", "Mo", "An"};
    for (int i = 0; i < 5; ++i) {
        auto* item = new QRadioButton(QString::fromLatin1(captions[i]), RadioGroup1);
        item->setObjectName(QStringLiteral("RadioItem%1").arg(i));
        item->setGeometry(5, 5 + i * 17, 52, 17);
        RadioItems->addButton(item, i);
    }

    SpinButton1 = new SpinButton(Panel1);
    SpinButton1->setObjectName(QStringLiteral("SpinButton1"));
    SpinButton1->setGeometry(236, 26, 20, 25);
    connect(SpinButton1, &SpinButton::upClick, this, [this] { SpinButton1UpClick(); });
    connect(SpinButton1, &SpinButton::downClick, this, [this] { SpinButton1DownClick(); });

    Button2 = new QPushButton(QStringLiteral("Set"), Panel1);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(228, 66, 37, 24);
    Button2->setAutoDefault(false);
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });

    Button1 = new QPushButton(QStringLiteral("Fermer"), Panel1);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(162, 112, 86, 32);
    Button1->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    // Buttons keep the window's black text on their own face.
    for (QPushButton* b : {Button1, Button2}) {
        QPalette p = b->palette();
        p.setColor(QPalette::ButtonText, Qt::black);
        b->setPalette(p);
    }
    Button1->setFocus();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
}

// The window becomes active each time it is shown and stops being so when it is hidden; going to another
// program and back does not count, so an edit in progress survives it.
void THorloge::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Button1->setFocus();
    FormActivate();
}

void THorloge::hideEvent(QHideEvent* event)
{
    FormDeactivate();
    QDialog::hideEvent(event);
}

void THorloge::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        Button1Click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void THorloge::FormActivate()
{
    Timer1->start();
    Timer1Timer();
    m_editing = false;
}

void THorloge::FormDeactivate()
{
    Timer1->stop();
}

void THorloge::Timer1Timer()
{
    const QDateTime now = seams().now();
    Label1->setText(frdate::longTime(now.time()));
    Label2->setText(frdate::shortDate(now.date()));
}

int THorloge::itemIndex() const
{
    return RadioItems->checkedId();
}

void THorloge::setItemIndex(int index)
{
    if (QAbstractButton* item = RadioItems->button(index)) {
        item->setChecked(true);
    } else if (QAbstractButton* checked = RadioItems->checkedButton()) {
        RadioItems->setExclusive(false);
        checked->setChecked(false);
        RadioItems->setExclusive(true);
    }
}

void THorloge::stepChosen(int delta)
{
    const int index = itemIndex();
    if (index < 0 || index > 4)
        return;
    const clockfields::Field field = ItemFields[index];
    QLabel* label = field == clockfields::Field::Hour || field == clockfields::Field::Minute ? Label1 : Label2;
    label->setText(clockfields::step(label->text(), field, delta));
}

void THorloge::SpinButton1UpClick()
{
    stepChosen(+1);
}

void THorloge::SpinButton1DownClick()
{
    stepChosen(-1);
}

void THorloge::Button2Click()
{
    if (!m_editing) {
        m_editing = true;
        Timer1->stop();
        return;
    }
    m_editing = false;
    Modifie();
    Timer1->start();
}

void THorloge::Modifie()
{
    // A date that does not exist (31/02) is refused as the system would refuse it: the clock stays as it is.
    // The system answers later (it may first ask the user to authenticate); a refusal is shown then.
    const QDateTime shown = clockfields::read(Label1->text(), Label2->text());
    if (shown.isValid())
        seams().setSystemClock(shown, this, [this](const QString& refusal) {
            if (!refusal.isEmpty())
                errors::report(PlatformError(refusal), this);
        });
}

void THorloge::Button1Click()
{
    close();
}
