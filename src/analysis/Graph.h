#pragma once

#include "analysis/ChartLayout.h"

#include <QDialog>
#include <QVector>

class QFrame;
class QPainter;
class QPushButton;

// The averages chart: how many students' averages round to each whole mark from 0 to 20.
class TGraph : public QDialog
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
    charts::Picture picture() const;

    QFrame* Panel1 = nullptr;
    QPushButton* Button1 = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FormPaint(QPainter& painter);
    void Axes(charts::Picture& picture) const;
    double Echelle(charts::Picture& picture) const;
    void Histo(charts::Picture& picture, double factor) const;
    void Button1Click();

    charts::Counts m_counts{};
    charts::Colours m_colours = charts::barColours();
    int m_outside = 0;
};
