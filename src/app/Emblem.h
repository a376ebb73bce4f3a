#pragma once

#include <QPixmap>

// The program's emblem, shown by the splash and the about box: an open markbook with a red apple.
namespace emblem {

QPixmap picture(int width, int height);

} // namespace emblem
