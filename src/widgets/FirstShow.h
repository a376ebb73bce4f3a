#pragma once

class QWidget;

// Work on a window that waits until the window is first shown: the tool windows are all created at start-up,
// most of them are never opened in a session, and what they do not show costs nothing.
namespace firstshow {

// The widget takes the size its text needs in its font (adjustSize) when it is first shown: measuring a
// text loads its font.
void fitText(QWidget* widget);

} // namespace firstshow
