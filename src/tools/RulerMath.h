#pragma once

// Where the indent markers of the text editor's ruler stand, and back. Paragraph indents are whole points;
// the ruler counts screen pixels at 96 per inch, so a point is 4/3 of a pixel. The text is formatted
// between gutters of 6 pixels, and a marker's left edge sits 4 pixels before the place it shows.
namespace ruler {

constexpr int Gutter = 6;

// Marker lefts from the paragraph: first indent F, left indent L (the other lines, counted from F) and
// right indent R, all in points.
int firstIndLeft(int firstIndent);
int leftIndLeft(int leftIndent, int firstIndent);
int rightIndLeft(int rulerClientWidth, int rightIndent);

// Indents from a released marker; dragOffset is half the marker's width (rounded toward zero).
int firstIndentAt(int markerLeft, int dragOffset);
// The left indent counts from the first-line indent, so the marker keeps its place when the first one moves.
int leftIndentAt(int markerLeft, int dragOffset, int firstIndent);
int rightIndentAt(int rulerClientWidth, int markerLeft, int dragOffset);

// Points to pixels of the editor and back, for paragraph margins.
double pointsToPixels(double points);
double pixelsToPoints(double pixels);

} // namespace ruler
