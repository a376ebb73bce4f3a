#include "analysis/ChartWindow.h"

#include "analysis/ChartPainter.h"
#include "widgets/Fonts.h"

#include <QFontMetrics>
#include <QFrame>
#include <QPainter>
#include <QPushButton>

namespace {

QFont chartFont()
{
    return fonts::msSansSerif(13);
}

// The client area of a window 544 x 375 pixels outside.
constexpr int DesignedWidth = 536;
constexpr int DesignedHeight = 344;
constexpr int PanelHeight = 33;

} // namespace

ChartWindow::ChartWindow(const QString& objectName, const QString& caption, QWidget* parent) : QDialog(parent)
{
    setObjectName(objectName);
    setWindowTitle(caption);
    setFont(chartFont());
    resize(DesignedWidth, DesignedHeight);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    // The panel keeps the colour of buttons over the white window.
    Panel1->setAutoFillBackground(true);
    Panel1->setGeometry(0, 0, DesignedWidth, PanelHeight);

    Button1 = new QPushButton(QStringLiteral("Fermer"), Panel1);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(439, 4, 75, 25);
    connect(Button1, &QPushButton::clicked, this, &ChartWindow::Button1Click);
}

void ChartWindow::loadFont()
{
    // Measuring loads the font's engine; the font kept holds it.
    static const QFont loaded = [] {
        QFont font = chartFont();
        QFontMetrics(font).height();
        return font;
    }();
}

void ChartWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    FormPaint(painter);
}

void ChartWindow::FormPaint(QPainter& painter)
{
    painter.fillRect(rect(), Qt::white);
    painter.setFont(font());
    charts::paint(painter, picture());
}

void ChartWindow::resizeEvent(QResizeEvent* event)
{
    Panel1->setGeometry(0, 0, width(), PanelHeight);
    QDialog::resizeEvent(event);
}

void ChartWindow::Button1Click()
{
    close();
}
