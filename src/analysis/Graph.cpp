#include "analysis/Graph.h"

#include "analysis/ChartPainter.h"
#include "common/Fonts.h"

#include <QFrame>
#include <QPainter>
#include <QPushButton>
#include <algorithm>

namespace {

// The client area of a window 544 x 375 pixels outside.
constexpr int DesignedWidth = 536;
constexpr int DesignedHeight = 344;
constexpr int PanelHeight = 33;

} // namespace

TGraph::TGraph(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Graph"));
    setWindowTitle(QStringLiteral("Graphique des moyennes"));
    setFont(fonts::msSansSerif(13));
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
    connect(Button1, &QPushButton::clicked, this, &TGraph::Button1Click);
}

void TGraph::Init(const QVector<double>& averages, int n)
{
    m_counts = charts::countRounded(averages.first(std::clamp(n, 0, int(averages.size()))), &m_outside);
    m_colours = charts::barColours();
    update();
}

charts::Picture TGraph::picture() const
{
    charts::Picture picture;
    Axes(picture);
    Histo(picture, Echelle(picture));
    return picture;
}

void TGraph::Axes(charts::Picture& picture) const
{
    charts::addAxes(picture);
    charts::addMarkLabels(picture);
}

// The scale applies to the picture only: the counts stay as Init left them, so every paint is the same.
double TGraph::Echelle(charts::Picture& picture) const
{
    return charts::addScale(picture, charts::largestCount(m_counts));
}

void TGraph::Histo(charts::Picture& picture, double factor) const
{
    charts::addBars(picture, m_counts, m_colours, factor);
}

void TGraph::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    FormPaint(painter);
}

void TGraph::FormPaint(QPainter& painter)
{
    painter.fillRect(rect(), Qt::white);
    painter.setFont(font());
    charts::paint(painter, picture());
}

void TGraph::resizeEvent(QResizeEvent* event)
{
    Panel1->setGeometry(0, 0, width(), PanelHeight);
    QDialog::resizeEvent(event);
}

void TGraph::Button1Click()
{
    close();
}
