#pragma once

class QUndoStack;
class QWidget;

namespace undokeys {

// A history of the window's own, taken back with Ctrl+Z and made again with Ctrl+Y or Ctrl+Shift+Z while the
// window has the focus; the window owns it.
QUndoStack* historyOf(QWidget* window);

} // namespace undokeys
