#include "tools/Calendrier.h"

#include "tools/MonthCalendar.h"
#include "tools/MonthGrid.h"
#include "widgets/Fonts.h"
#include "widgets/Glyphs.h"
#include "widgets/Seams.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace {

constexpr int ClientWidth = 369;
constexpr int ClientHeight = 243;
constexpr int PanelHeight = 96;
// The panel's single border; its controls are placed from the inner edge.
constexpr int PanelBorder = 1;
constexpr int BevelWidth = 2;
constexpr int HeadingWidth = 372;

// The top panel: teal, a single dark border, then two lowered bevels.
class BevelPanel : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        QRect r = rect();
        p.fillRect(r, QColor(0x00, 0x80, 0x80));
        p.setPen(Qt::black);
        p.drawRect(r.adjusted(0, 0, -1, -1));
        r.adjust(PanelBorder, PanelBorder, -PanelBorder, -PanelBorder);
        for (int bevel = 0; bevel < 2; ++bevel) {
            for (int i = 0; i < BevelWidth; ++i) {
                const QRect e = r.adjusted(i, i, -i - 1, -i - 1);
                p.setPen(QColor(0x80, 0x80, 0x80));
                p.drawLine(e.topLeft(), e.topRight());
                p.drawLine(e.topLeft(), e.bottomLeft());
                p.setPen(Qt::white);
                p.drawLine(e.bottomLeft(), e.bottomRight());
                p.drawLine(e.topRight(), e.bottomRight());
            }
            r.adjust(BevelWidth, BevelWidth, -BevelWidth, -BevelWidth);
        }
    }
};

} // namespace

TCalendrier::TCalendrier(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Calendrier"));
    setWindowTitle(QStringLiteral("Calendrier"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(fonts::system(17));
    resize(ClientWidth, ClientHeight);

    Panel1 = new BevelPanel(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(0, 0, ClientWidth, PanelHeight);

    Label1 = new QLabel(QStringLiteral("1998"), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(fonts::pixelFont(QStringLiteral("Arial"), 23, true));
    QPalette red = Label1->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    Label1->setPalette(red);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    BitBtn1 = new QPushButton(glyphs::icon(glyphs::Glyph::ArrowLeft), QStringLiteral("Mois"), Panel1);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(PanelBorder + 16, PanelBorder + 10, 89, 33);
    BitBtn2 = new QPushButton(glyphs::icon(glyphs::Glyph::ArrowRight), QStringLiteral("Mois"), Panel1);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setGeometry(PanelBorder + 126, PanelBorder + 10, 89, 33);
    // The picture of the next-month button stands to the right of its caption.
    BitBtn2->setLayoutDirection(Qt::RightToLeft);
    Button1 = new QPushButton(QStringLiteral("Fermer"), Panel1);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(PanelBorder + 262, PanelBorder + 10, 89, 33);
    for (QPushButton* b : {BitBtn1, BitBtn2, Button1}) {
        b->setAutoDefault(false);
        b->installEventFilter(this);
    }
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });

    // The calendar opens on the day the program started.
    Calendar1 = new MonthCalendar(seams().now().date(), this);
    Calendar1->setObjectName(QStringLiteral("Calendar1"));
    Calendar1->setGeometry(-3, 98, 372, 143);
    connect(Calendar1, &MonthCalendar::changed, this, [this] { Calendar1Change(); });
    connect(Calendar1, &MonthCalendar::keyDown, this, [this](QKeyEvent* e) { Calendar1KeyDown(e); });
    connect(Calendar1, &MonthCalendar::keyPress, this, [this](QChar c) { Calendar1KeyPress(c); });
    Calendar1->setFocus();

    placeHeading();
}

void TCalendrier::placeHeading()
{
    // Wider than the panel and pulled 16 pixels left of its inner edge, so the centred text stands over the
    // middle of the month below.
    Label1->setText(MonthGrid::heading(Calendar1->date()));
    Label1->setGeometry(PanelBorder - 16, PanelBorder + 55, HeadingWidth, Label1->sizeHint().height());
}

void TCalendrier::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TCalendrier::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    // Only the top panel follows the window; the month grid keeps its size and place.
    Panel1->setGeometry(0, 0, width(), PanelHeight);
}

bool TCalendrier::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && (watched == BitBtn1 || watched == BitBtn2 || watched == Button1))
        Calendar1KeyDown(static_cast<QKeyEvent*>(event));
    // The key goes on to the button either way.
    return QDialog::eventFilter(watched, event);
}

void TCalendrier::FormActivate()
{
    placeHeading();
}

void TCalendrier::Calendar1Change()
{
    placeHeading();
}

void TCalendrier::BitBtn1Click()
{
    Calendar1->PrevMonth();
}

void TCalendrier::BitBtn2Click()
{
    Calendar1->NextMonth();
}

void TCalendrier::Button1Click()
{
    close();
}

void TCalendrier::Calendar1KeyDown(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_PageDown:
        Calendar1->NextMonth();
        break;
    case Qt::Key_PageUp:
        Calendar1->PrevMonth();
        break;
    case Qt::Key_Escape:
        close();
        break;
    default:
        break;
    }
}

void TCalendrier::Calendar1KeyPress(QChar key)
{
    if (key == QChar(0x1b))
        close();
}
