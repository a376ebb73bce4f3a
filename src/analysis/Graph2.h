#pragma once

#include "analysis/ChartWindow.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <array>

// The follow-up chart: one student's marks, rubric after rubric, as a line.
class TGraph2 : public ChartWindow
{
    Q_OBJECT

public:
    // Room for every rubric of a class and a little more.
    static constexpr int MaxPoints = 32;

    explicit TGraph2(QWidget* parent = nullptr);

    // Keeps mark i and label i for the first n points (at most MaxPoints), n and the student's name. Points
    // beyond n keep what an earlier chart left there and are not drawn.
    void Init(const QVector<double>& marks, const QStringList& labels, int n, const QString& name);

    int pointCount() const { return m_n; }
    const QString& studentName() const { return m_name; }
    // What every paint draws: axes with the name and the labels, scale, curve.
    charts::Picture picture() const override;

private:
    QVector<charts::Point> points() const;
    int Axes(charts::Picture& picture) const;
    double Echelle(charts::Picture& picture) const;
    void Courbe(charts::Picture& picture, int step, double factor) const;

    std::array<double, MaxPoints> m_marks{};
    std::array<QString, MaxPoints> m_labels;
    int m_n = 0;
    QString m_name;
};
