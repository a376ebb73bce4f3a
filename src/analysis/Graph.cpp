#include "analysis/Graph.h"

#include <QFrame>
#include <QLabel>
#include <algorithm>

TGraph::TGraph(QWidget* parent) : ChartWindow(QStringLiteral("Graph"), QStringLiteral("Graphique des moyennes"), parent)
{
    Label1 = new QLabel(Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(8, 4, 420, 25);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void TGraph::Init(const QVector<double>& averages, int n)
{
    m_counts = charts::countRounded(averages.first(std::clamp(n, 0, int(averages.size()))), &m_outside);
    m_colours = charts::barColours();
    Label1->setText(charts::outsideNote(m_outside));
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
