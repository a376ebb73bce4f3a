#include "analysis/ChartLayout.h"

#include "core/FrenchNumbers.h"

#include <algorithm>
#include <cmath>

namespace charts {
namespace {

constexpr int AxisX = 50;
constexpr int AxisBottom = 300;
constexpr int AxisTop = 70;
constexpr int AxisRight = 500;
// The tallest bar, or the best mark, stands this high above the horizontal axis.
constexpr double ChartHeight = 220;

constexpr int ScaleX = 10;
constexpr int ScaleTopY = 70;
constexpr int ScaleMiddleY = 180;
constexpr int ScaleZeroY = 290;

constexpr int BarLeft = 60;
constexpr int BarPitch = 20;
constexpr int BarWidth = 10;
constexpr int MarkLabelY = 320;

constexpr int NameX = 300;
constexpr int NameY = 40;
constexpr int PointLeft = 60;
constexpr int PointLabelY = 310;
// The width the points of the follow-up chart share.
constexpr int CurveWidth = 450;

// Far beyond any window: a mark thousands of times the best one still lands somewhere a painter can take.
constexpr long double PixelLimit = 30000;

const QColor Black(0, 0, 0);
const QColor Navy(0, 0, 128);

Shape line(QPoint a, QPoint b, const QColor& colour = Black)
{
    return {Shape::Kind::Line, a, b, colour, {}};
}

Shape text(QPoint at, const QString& s)
{
    return {Shape::Kind::Text, at, at, Black, s};
}

// A length in pixels: rounded like every whole number of the program, kept within what can be painted.
int pixels(long double value)
{
    return int(frnum::roundHalfEven(std::clamp(value, -PixelLimit, PixelLimit)));
}

QString whole(long double value)
{
    return QString::number(double(value), 'f', 0);
}

} // namespace

void addAxes(Picture& picture)
{
    picture.append(line({AxisX, AxisBottom}, {AxisX, AxisTop}));
    picture.append(line({AxisX, AxisBottom}, {AxisRight, AxisBottom}));
}

double addScale(Picture& picture, double max)
{
    const long double m = frnum::roundHalfEven(max);
    picture.append(text({ScaleX, ScaleTopY}, whole(m)));
    picture.append(text({ScaleX, ScaleMiddleY}, whole(std::floor(m / 2))));
    picture.append(text({ScaleX, ScaleZeroY}, QStringLiteral("0")));
    return max > 0 ? ChartHeight / max : 0;
}

Counts countRounded(const QVector<double>& averages, int* outside)
{
    Counts counts{};
    int left = 0;
    for (double average : averages) {
        const long double k = frnum::roundHalfEven(average);
        if (std::isfinite(average) && k >= 0 && k < MarkCount)
            counts[std::size_t(k)] += 1;
        else
            ++left;
    }
    if (outside)
        *outside = left;
    return counts;
}

QString outsideNote(int outside)
{
    if (outside <= 0)
        return {};
    return QStringLiteral("%1 %2 hors de 0 à 20")
        .arg(outside)
        .arg(outside == 1 ? QStringLiteral("moyenne") : QStringLiteral("moyennes"));
}

Colours barColours()
{
    return {QColor(0, 0, 0),       QColor(128, 0, 0),   QColor(0, 128, 0),   QColor(128, 128, 0),
            QColor(0, 0, 128),     QColor(0, 128, 128), QColor(128, 0, 128), QColor(128, 128, 128),
            QColor(192, 192, 192), QColor(255, 0, 0),   QColor(0, 255, 0),   QColor(255, 255, 0),
            QColor(0, 0, 255),     QColor(255, 0, 255), QColor(0, 255, 255), QColor(128, 128, 128),
            QColor(0, 0, 128),     QColor(0, 128, 128), QColor(128, 0, 128), QColor(128, 128, 128),
            QColor(0, 0, 128)};
}

void addMarkLabels(Picture& picture)
{
    for (int k = 0; k < MarkCount; ++k)
        picture.append(text({BarLeft + BarPitch * k, MarkLabelY}, QString::number(k)));
}

double largestCount(const Counts& counts)
{
    double max = 0;
    for (double count : counts)
        max = std::max(max, count);
    return max;
}

void addBars(Picture& picture, const Counts& counts, const Colours& colours, double factor)
{
    if (factor == 0)
        return;
    for (int k = 0; k < MarkCount; ++k) {
        const int h = pixels(static_cast<long double>(counts[std::size_t(k)]) * factor);
        const int x = BarLeft + BarPitch * k;
        picture.append(
            {Shape::Kind::Box, {x, AxisBottom}, {x + BarWidth, AxisBottom - h}, colours[std::size_t(k)], {}});
    }
}

Picture averagesPicture(const Counts& counts, const Colours& colours)
{
    Picture picture;
    addAxes(picture);
    addMarkLabels(picture);
    addBars(picture, counts, colours, addScale(picture, largestCount(counts)));
    return picture;
}

QVector<Point> followUpPoints(const averages::CellReader& cell, int row, int firstCol, int lastCol)
{
    QVector<Point> points;
    for (int col = firstCol; col <= lastCol; ++col) {
        if (cell(col, 1).isEmpty())
            continue;
        const QString markText = cell(col, row);
        double mark = 0;
        if (markText.isEmpty()) {
            if (!points.isEmpty())
                mark = points.last().mark;
        } else {
            const std::optional<double> value = averages::readNumber(markText);
            if (!value)
                continue;
            mark = *value;
        }
        points.append({mark, cell(col, 0)});
    }
    return points;
}

int addFollowUpLabels(Picture& picture, const QVector<Point>& points, const QString& name)
{
    picture.append(text({NameX, NameY}, name));
    const int n = int(points.size());
    const int step = n > 0 ? CurveWidth / n : 0;
    for (int i = 0; i < n; ++i)
        picture.append(text({PointLeft + i * step, PointLabelY}, points[i].label.left(LabelLength)));
    return step;
}

double bestMark(const QVector<Point>& points)
{
    double max = 0;
    for (const Point& p : points)
        max = std::max(max, p.mark);
    return max;
}

void addCurve(Picture& picture, const QVector<Point>& points, int step, double factor)
{
    // No marker at the points: a single point draws nothing.
    for (int i = 1; i < int(points.size()); ++i) {
        const QPoint from(PointLeft + (i - 1) * step, AxisBottom - pixels(points[i - 1].mark * factor));
        const QPoint to(PointLeft + i * step, AxisBottom - pixels(points[i].mark * factor));
        picture.append(line(from, to, Navy));
    }
}

Picture followUpPicture(const QVector<Point>& points, const QString& name)
{
    Picture picture;
    addAxes(picture);
    const int step = addFollowUpLabels(picture, points, name);
    addCurve(picture, points, step, addScale(picture, bestMark(points)));
    return picture;
}

} // namespace charts
