#pragma once

#include "analysis/ChartLayout.h"

class QPainter;

namespace charts {

// Paints a chart picture in the painter's font, one shape after the other: a box covers the rectangle of its
// corners without its right and bottom edges, outlined inside; a text fills its own cell with white first.
void paint(QPainter& painter, const Picture& picture);

} // namespace charts
