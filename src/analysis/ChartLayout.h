#pragma once

#include "model/Averages.h"

#include <QColor>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>

// The pictures of the averages chart and of the student follow-up chart, as the ordered list of what is drawn
// at which pixel of the chart window's client area. The windows only paint these lists.
namespace charts {

// One drawing step. Lines go from a to b in their colour; boxes are rectangles with the corners a and b,
// filled with their colour and outlined in black; texts have their top-left corner at a, on white.
struct Shape
{
    enum class Kind
    {
        Line,
        Box,
        Text
    };
    Kind kind = Kind::Line;
    QPoint a;
    QPoint b;
    QColor colour;
    QString text;
    bool operator==(const Shape&) const = default;
};

using Picture = QVector<Shape>;

// The averages chart has one bar for each whole mark from 0 to 20.
constexpr int MarkCount = 21;
using Counts = std::array<double, MarkCount>;
using Colours = std::array<QColor, MarkCount>;

// The number of averages that round (halves to the even neighbour) to each mark. An average that rounds below
// 0 or above 20 (coefficients above 1 can scale marks past 20) has no bar to go into: it is left out of the
// counts, and `outside` (when given) receives how many were.
Counts countRounded(const QVector<double>& averages, int* outside = nullptr);

// What the averages chart says of the averages that have no bar: "1 moyenne hors de 0 à 20", "2 moyennes
// hors de 0 à 20", nothing when there is none.
QString outsideNote(int outside);

// The bar colour of each mark, from black at 0 through the sixteen basic colours.
Colours barColours();

// The drawing steps both charts share.
// The vertical axis from (50, 300) up to (50, 70) and the horizontal one to (500, 300).
void addAxes(Picture& picture);
// The three labels of the vertical axis: the largest value rounded, its half rounded down, and 0. Returns the
// pixels per unit that make the largest value 220 pixels high, 0 when the largest value is not above 0
// (nothing then rises above the axis).
double addScale(Picture& picture, double max);

// The steps of the averages chart: the marks 0 to 20 under the axis, the largest count (0 when there is none)
// and the bars, tallest 220 pixels; with a factor 0 there is no bar.
void addMarkLabels(Picture& picture);
double largestCount(const Counts& counts);
void addBars(Picture& picture, const Counts& counts, const Colours& colours, double factor);

// Axes, scale and bars. With no average between 0 and 20 (every count 0) there is nothing to scale: the axes
// and the scale labels "0" are drawn, and no bar.
Picture averagesPicture(const Counts& counts, const Colours& colours);

// One point of the follow-up chart: a mark and the heading of its rubric.
struct Point
{
    double mark = 0;
    QString label;
    bool operator==(const Point&) const = default;
};

// The points of one student (grid row) over the rubric columns firstCol to lastCol, left to right. A rubric
// with an empty coefficient is not charted (any other coefficient is); an empty mark repeats the previous
// point so the line stays level, and a first empty mark, with nothing before it to repeat, is a 0 as in the
// averages; a mark that is not a number leaves its rubric out.
QVector<Point> followUpPoints(const averages::CellReader& cell, int row, int firstCol, int lastCol);

// Labels are cut to this many characters so that neighbouring headings overlap less.
constexpr int LabelLength = 10;

// The steps of the follow-up chart: the student's name and the rubric labels, spread over 450 pixels
// (returns that step, 0 with no point); the best mark, never below 0; the navy curve.
int addFollowUpLabels(Picture& picture, const QVector<Point>& points, const QString& name);
double bestMark(const QVector<Point>& points);
void addCurve(Picture& picture, const QVector<Point>& points, int step, double factor);

// Axes, the student's name, the rubric labels, the scale and the navy curve through the points. With no point
// only the axes, the name and the scale labels "0" are drawn. With every mark 0 (nothing to scale) the curve
// lies along the horizontal axis.
Picture followUpPicture(const QVector<Point>& points, const QString& name);

} // namespace charts
