#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

// Where the card's photo is drawn inside its frame (120 x 121 pixels, a 1-pixel border).
namespace photofit {

constexpr int FrameWidth = 120;
constexpr int FrameHeight = 121;
// The area inside the border, where a picture that fits in one direction is drawn at its own size, centred.
constexpr QRect ClientArea{1, 1, FrameWidth - 2, FrameHeight - 2};

struct Placement
{
    QRect area;   // the photo control's rectangle in the frame
    bool stretch; // the picture fills the area; otherwise it is drawn at its own size, centred

    bool operator==(const Placement&) const = default;
};

// A picture larger than the area in both directions is stretched to the frame's full width or height,
// keeping its proportions; any other is drawn at its own size, centred and cut by the area.
Placement fit(const QSize& picture);
// The size a picture must be decoded at to be drawn so: the area it is stretched to, or its own size.
QSize decodedSize(const QSize& picture);

// A photo as the card draws it, and nothing more of it: a stretched picture reduced to its area, one drawn at
// its own size cut to the part the area shows.
struct Shown
{
    QImage picture;
    QPoint at; // where the picture's top left corner goes in the photo control
    Placement placement;
    QSize originalSize; // the picture's size in its file
};

// From the picture decoded at decodedSize(originalSize): the reduction is done once, with a smoothing filter (a
// photo decoded at several times the area's size would alias with the painter's bilinear sampling).
Shown shown(const QImage& decoded, const QSize& originalSize);

} // namespace photofit
