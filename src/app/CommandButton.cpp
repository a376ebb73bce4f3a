#include "app/CommandButton.h"

#include <QActionEvent>

CommandButton::CommandButton(QAction* command, const QIcon& glyph, const QString& hint, QWidget* parent)
    : QToolButton(parent), m_glyph(glyph), m_hint(hint)
{
    setDefaultAction(command);
    showOwnFace();
}

void CommandButton::actionEvent(QActionEvent* event)
{
    QToolButton::actionEvent(event);
    if (event->type() == QEvent::ActionChanged && event->action() == defaultAction())
        showOwnFace();
}

void CommandButton::showOwnFace()
{
    setText(QString());
    setIcon(m_glyph);
    setToolTip(m_hint);
    setStatusTip(m_hint);
}
