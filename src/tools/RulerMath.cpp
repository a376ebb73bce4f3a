#include "tools/RulerMath.h"

namespace ruler {
namespace {

// Whole points times 4/3, truncated toward zero (C++ integer division truncates toward zero, and so does
// the exact product: no value lies near a whole number from the wrong side).
int toPixels(int points)
{
    return points * 4 / 3;
}

// Whole pixels times 0.75, truncated toward zero.
int toPoints(int pixels)
{
    return pixels * 3 / 4;
}

} // namespace

int firstIndLeft(int firstIndent)
{
    return toPixels(firstIndent) - 4 + Gutter;
}

int leftIndLeft(int leftIndent, int firstIndent)
{
    return toPixels(leftIndent + firstIndent) - 4 + Gutter;
}

int rightIndLeft(int rulerClientWidth, int rightIndent)
{
    return rulerClientWidth - Gutter - toPixels(rightIndent + Gutter);
}

int firstIndentAt(int markerLeft, int dragOffset)
{
    return toPoints(markerLeft + dragOffset - Gutter);
}

int leftIndentAt(int markerLeft, int dragOffset, int firstIndent)
{
    return toPoints(markerLeft + dragOffset - Gutter) - firstIndent;
}

int rightIndentAt(int rulerClientWidth, int markerLeft, int dragOffset)
{
    return toPoints(rulerClientWidth - markerLeft + dragOffset - 2) - 12;
}

double pointsToPixels(double points)
{
    return points * 4.0 / 3.0;
}

double pixelsToPoints(double pixels)
{
    return pixels * 0.75;
}

} // namespace ruler
