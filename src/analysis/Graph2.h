#pragma once

#include "analysis/ChartLayout.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>

class QFrame;
class QPainter;
class QPushButton;

// The follow-up chart: one student's marks, rubric after rubric, as a line.
class TGraph2 : public QDialog
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
    charts::Picture picture() const;

    QFrame* Panel1 = nullptr;
    QPushButton* Button1 = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QVector<charts::Point> points() const;
    void FormPaint(QPainter& painter);
    int Axes(charts::Picture& picture) const;
    double Echelle(charts::Picture& picture) const;
    void Courbe(charts::Picture& picture, int step, double factor) const;
    void Button1Click();

    std::array<double, MaxPoints> m_marks{};
    std::array<QString, MaxPoints> m_labels;
    int m_n = 0;
    QString m_name;
};
