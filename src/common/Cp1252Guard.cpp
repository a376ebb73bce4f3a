#include "common/Cp1252Guard.h"

#include "common/Cp1252.h"
#include "common/Seams.h"

#include <QAction>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QStringList>

Cp1252Guard::Cp1252Guard(QWidget* edit)
    : QObject(edit), m_line(qobject_cast<QLineEdit*>(edit)), m_plain(qobject_cast<QPlainTextEdit*>(edit))
{
    edit->installEventFilter(this);
    // A plain-text box takes the mouse, its drops and its context menu on its viewport.
    if (m_plain)
        m_plain->viewport()->installEventFilter(this);
}

void Cp1252Guard::protect(QLineEdit* edit)
{
    new Cp1252Guard(edit);
}

void Cp1252Guard::protect(QPlainTextEdit* edit)
{
    new Cp1252Guard(edit);
}

QString Cp1252Guard::refusedCharacters(const QString& text)
{
    return cp1252::refusedCharacters(text);
}

bool Cp1252Guard::acceptTyped(const QString& text)
{
    if (refusedCharacters(text).isEmpty())
        return true;
    seams().beep();
    return false;
}

bool Cp1252Guard::acceptInserted(QWidget* parent, const QString& text)
{
    const QString refused = refusedCharacters(text);
    if (refused.isEmpty())
        return true;
    seams().message(parent, Seams::MessageKind::Warning, QCoreApplication::applicationName(),
                    QStringLiteral("Texte refusé : ces caractères ne peuvent pas être enregistrés dans le fichier : ") +
                        refused,
                    {QStringLiteral("OK")}, 0, 0);
    return false;
}

bool Cp1252Guard::isEditable() const
{
    return m_line ? !m_line->isReadOnly() : !m_plain->isReadOnly();
}

bool Cp1252Guard::refusesPaste(QClipboard::Mode mode)
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    return isEditable() && !acceptInserted(m_line ? static_cast<QWidget*>(m_line) : m_plain, clipboard->text(mode));
}

void Cp1252Guard::paste()
{
    if (refusesPaste(QClipboard::Clipboard))
        return;
    if (m_line)
        m_line->paste();
    else
        m_plain->paste();
}

void Cp1252Guard::showContextMenu(const QPoint& globalPos)
{
    // The box's own menu, whose "Paste" goes through the same check as Ctrl+V.
    QMenu* menu = m_line ? m_line->createStandardContextMenu() : m_plain->createStandardContextMenu();
    // The paste entry is named in a text box's menu; a line edit's is known by its own (translated) text.
    const QString lineEditPaste = QCoreApplication::translate("QLineEdit", "&Paste");
    for (QAction* action : menu->actions()) {
        if (action->objectName() != QLatin1String("edit-paste") &&
            !(m_line && action->text().startsWith(lineEditPaste)))
            continue;
        disconnect(action, &QAction::triggered, nullptr, nullptr);
        connect(action, &QAction::triggered, this, &Cp1252Guard::paste);
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
}

bool Cp1252Guard::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Paste))
            return refusesPaste(QClipboard::Clipboard);
        return !acceptTyped(key->text());
    }
    case QEvent::InputMethod: {
        auto* input = static_cast<QInputMethodEvent*>(event);
        if (acceptInserted(qobject_cast<QWidget*>(watched), input->commitString())) {
            m_composing = !input->preeditString().isEmpty();
            return false;
        }
        // A composition in progress ends with nothing inserted.
        if (m_composing) {
            m_composing = false;
            QInputMethodEvent cleared;
            QCoreApplication::sendEvent(watched, &cleared);
        }
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QMimeData* data = drop->mimeData();
        if (!data || !data->hasText() || acceptInserted(qobject_cast<QWidget*>(watched), data->text()))
            return false;
        drop->ignore();
        // The box forgets the drag that it showed a drop place for.
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(watched, &leave);
        return true;
    }
    case QEvent::MouseButtonRelease: {
        // The middle button pastes the selection where the system has one.
        auto* mouse = static_cast<QMouseEvent*>(event);
        return mouse->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection() &&
               refusesPaste(QClipboard::Selection);
    }
    case QEvent::ContextMenu:
        showContextMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    default:
        return false;
    }
}
