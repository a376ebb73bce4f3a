#include "analysis/Graph2.h"

#include <algorithm>

TGraph2::TGraph2(QWidget* parent) : ChartWindow(QStringLiteral("Graph2"), QStringLiteral("Suivi d'un élève"), parent) {}

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
