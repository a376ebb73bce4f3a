#include "classbook/MDIChild.h"

#include "companions/Obs.h"
#include "widgets/Cp1252Guard.h"
#include "widgets/Seams.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QTextCursor>

// The class window's side of the appraisal phrases.

void TMDIChild::Observations()
{
    TObs* obs = m_shared.Obs;
    seams().execModal(obs);
    QString picked;
    obs->Result(picked);
    if (picked.isEmpty())
        return;
    m_lastChosenPhrase = picked;
    // A phrase picked with "Copier" is copied: it goes to the system clipboard, for the notepad, the text
    // editor or another program (the frame keeps Ctrl+V for its own copy buffer). On the student card it
    // is also written where the teacher writes appraisals, at the caret of the remarks; a text selected
    // there is kept, the phrase goes after it. The remarks changed, so the class is modified; on the class
    // grid nothing in the class changes.
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setText(picked);
    if (isCardPage() && m_currentCard >= 1 && m_currentCard <= StudentCount &&
        Cp1252Guard::acceptInsertion(Memo1, picked)) {
        QTextCursor cursor = Memo1->textCursor();
        cursor.clearSelection();
        cursor.insertText(picked);
        Memo1->setTextCursor(cursor);
        ScrollBox1->ensureWidgetVisible(Memo1);
        Memo1->setFocus();
        m_modified = true;
    }
}
