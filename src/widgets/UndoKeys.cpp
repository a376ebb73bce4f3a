#include "widgets/UndoKeys.h"

#include <QAction>
#include <QKeySequence>
#include <QUndoStack>
#include <QWidget>

namespace undokeys {

QUndoStack* historyOf(QWidget* window)
{
    auto* history = new QUndoStack(window);
    QAction* undo = history->createUndoAction(window);
    undo->setShortcut(QKeySequence(QStringLiteral("Ctrl+Z")));
    QAction* redo = history->createRedoAction(window);
    redo->setShortcuts({QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))});
    window->addActions({undo, redo});
    return history;
}

} // namespace undokeys
