#pragma once

#include "analysis/ChartWindow.h"

#include <QVector>

class QLabel;

// The averages chart: how many students' averages round to each whole mark from 0 to 20.
class TGraph : public ChartWindow
{
    Q_OBJECT

public:
    explicit TGraph(QWidget* parent = nullptr);

    // Counts the first n averages under their rounded mark and sets the bar colours.
    void Init(const QVector<double>& averages, int n);

    const charts::Counts& counts() const { return m_counts; }
    const charts::Colours& colours() const { return m_colours; }
    // How many averages of the last Init rounded outside 0 to 20 and have no bar.
    int outsideCount() const { return m_outside; }
    // What every paint draws: axes, scale, bars.
    charts::Picture picture() const override;

    // In the panel beside "Fermer", away from the chart: how many averages have no bar.
    QLabel* Label1 = nullptr;

private:
    void Axes(charts::Picture& picture) const;
    double Echelle(charts::Picture& picture) const;
    void Histo(charts::Picture& picture, double factor) const;

    charts::Counts m_counts{};
    charts::Colours m_colours = charts::barColours();
    int m_outside = 0;
};
