#include "widgets/Cp1252Guard.h"

#include "core/Cp1252.h"
#include "core/MessageText.h"
#include "widgets/Seams.h"

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
#include <QTextDocument>

namespace {

// A text's length as its file holds it: a line break counts one.
qsizetype fileLength(const QString& text)
{
    return text.size() - text.count(QStringLiteral("\r\n"));
}

} // namespace

Cp1252Guard::Cp1252Guard(QWidget* edit, int maxLength)
    : QObject(edit), m_line(qobject_cast<QLineEdit*>(edit)), m_plain(qobject_cast<QPlainTextEdit*>(edit)),
      m_maxLength(maxLength)
{
    edit->installEventFilter(this);
    // A plain-text box takes the mouse, its drops and its context menu on its viewport.
    if (m_plain)
        m_plain->viewport()->installEventFilter(this);
}

void Cp1252Guard::protect(QLineEdit* edit, int maxLength)
{
    new Cp1252Guard(edit, maxLength);
}

void Cp1252Guard::protect(QPlainTextEdit* edit, int maxLength)
{
    new Cp1252Guard(edit, maxLength);
}

bool Cp1252Guard::acceptInsertion(QWidget* field, const QString& text)
{
    const Cp1252Guard* guard = field->findChild<Cp1252Guard*>(QString(), Qt::FindDirectChildrenOnly);
    return acceptInserted(field, text) && (!guard || guard->acceptLength(text, false));
}

bool Cp1252Guard::fits(const QString& inserted, bool replacesSelection) const
{
    if (m_maxLength <= 0)
        return true;
    // A plain-text box holds one character per line break; a line edit holds the text as it was given.
    const qsizetype now = m_line ? fileLength(m_line->text()) : m_plain->document()->characterCount() - 1;
    qsizetype selected = 0;
    if (replacesSelection)
        selected = m_line ? fileLength(m_line->selectedText()) : m_plain->textCursor().selectedText().size();
    return now - selected + fileLength(inserted) <= m_maxLength;
}

bool Cp1252Guard::acceptLength(const QString& inserted, bool replacesSelection) const
{
    if (fits(inserted, replacesSelection))
        return true;
    seams().message(m_line ? static_cast<QWidget*>(m_line) : m_plain, Seams::MessageKind::Warning,
                    QCoreApplication::applicationName(),
                    QStringLiteral("Texte refusé : ce champ ne peut pas contenir plus de %1 caractères.")
                        .arg(messagetext::number(m_maxLength)),
                    {QStringLiteral("OK")}, 0, 0);
    return false;
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
    const QString text = QGuiApplication::clipboard()->text(mode);
    // The middle button pastes at the mouse, beside the selection.
    return isEditable() && (!acceptInserted(m_line ? static_cast<QWidget*>(m_line) : m_plain, text) ||
                            !acceptLength(text, mode == QClipboard::Clipboard));
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
        if (!acceptTyped(key->text()))
            return true;
        // A character typed, or a new line in a plain-text box, that the field has no more room for.
        const QString typed = key->text();
        const bool inserts = (typed.size() == 1 && typed[0].isPrint()) ||
                             (m_plain && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter));
        if (inserts && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) &&
            !fits(typed.isEmpty() ? QStringLiteral("\n") : typed, true)) {
            seams().beep();
            return true;
        }
        return false;
    }
    case QEvent::InputMethod: {
        auto* input = static_cast<QInputMethodEvent*>(event);
        if (acceptInserted(qobject_cast<QWidget*>(watched), input->commitString()) &&
            acceptLength(input->commitString(), true)) {
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
        if (!data || !data->hasText() ||
            (acceptInserted(qobject_cast<QWidget*>(watched), data->text()) && acceptLength(data->text(), false)))
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
