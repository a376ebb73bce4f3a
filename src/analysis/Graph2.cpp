#include "analysis/Graph2.h"

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

TGraph2::TGraph2(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Graph2"));
    setWindowTitle(QStringLiteral("Suivi d'un élève"));
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
    connect(Button1, &QPushButton::clicked, this, &TGraph2::Button1Click);
}

void TGraph2::Init(const QVector<double>& marks, const QStringList& labels, int n, const QString& name)
{
    m_n = std::clamp(n, 0, MaxPoints);
    for (int i = 0; i < m_n; ++i) {
        m_marks[std::size_t(i)] = i < marks.size() ? marks[i] : 0;
        m_labels[std::size_t(i)] = labels.value(i);
    }
    m_name = name;
    update();
}

QVector<charts::Point> TGraph2::points() const
{
    QVector<charts::Point> points;
    for (int i = 0; i < m_n; ++i)
        points.append({m_marks[std::size_t(i)], m_labels[std::size_t(i)]});
    return points;
}

charts::Picture TGraph2::picture() const
{
    charts::Picture picture;
    const int step = Axes(picture);
    Courbe(picture, step, Echelle(picture));
    return picture;
}

int TGraph2::Axes(charts::Picture& picture) const
{
    charts::addAxes(picture);
    return charts::addFollowUpLabels(picture, points(), m_name);
}

// The scale applies to the picture only: the marks stay as Init left them, so every paint is the same.
double TGraph2::Echelle(charts::Picture& picture) const
{
    return charts::addScale(picture, charts::bestMark(points()));
}

void TGraph2::Courbe(charts::Picture& picture, int step, double factor) const
{
    charts::addCurve(picture, points(), step, factor);
}

void TGraph2::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    FormPaint(painter);
}

void TGraph2::FormPaint(QPainter& painter)
{
    painter.fillRect(rect(), Qt::white);
    painter.setFont(font());
    charts::paint(painter, picture());
}

void TGraph2::resizeEvent(QResizeEvent* event)
{
    Panel1->setGeometry(0, 0, width(), PanelHeight);
    QDialog::resizeEvent(event);
}

void TGraph2::Button1Click()
{
    close();
}
