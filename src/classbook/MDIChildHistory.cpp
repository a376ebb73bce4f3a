#include "classbook/MDIChild.h"

#include "classbook/CardPage.h"
#include "classbook/CardPhoto.h"
#include "widgets/StringGrid.h"

#include <QScopeGuard>
#include <QStackedWidget>

// Undo and redo in a class window: the typing settled into steps, and a step shown where it was made.

namespace {

const QString Typing = QStringLiteral("la saisie");

} // namespace

ClassPlace TMDIChild::place() const
{
    return {isCardPage(), m_grid->col(), m_grid->row(), m_currentCard};
}

void TMDIChild::asStep(const QString& text, const std::function<void()>& operation)
{
    settleTyping();
    // What the card shows after the step, a paste or a photo removed, is the class's.
    const auto settled = qScopeGuard([this] {
        if (m_card)
            m_card->settleTyping();
    });
    m_document.step(text, place(), operation);
}

void TMDIChild::setModified(bool modified)
{
    if (!modified)
        settleTyping();
    m_document.setModified(modified);
}

void TMDIChild::settleTyping()
{
    finishCellEdit();
    if (m_card)
        m_card->photo()->settleChoice();
    settleCard();
}

void TMDIChild::cellTyped(int col, int row, const QString& before)
{
    // Keys that left the cell as it was are still a change, which no undo takes back.
    const QString after = m_grid->cell(col, row);
    ClassChanges changes;
    if (after != before)
        changes.texts.append({row - 1, col, before, after});
    m_document.record(Typing, {false, col, row, m_currentCard}, std::move(changes));
}

ClassChanges TMDIChild::cardChanges() const
{
    ClassChanges changes;
    const int r = m_currentCard;
    if (!isCardPage() || r < 1 || r > StudentCount)
        return changes;
    // The photo is a step of its own, made when a chosen picture shows.
    for (int slot = ClassTable::Surname; slot <= ClassTable::MotherJob; ++slot)
        if (const QString shown = m_card->slotText(slot), was = m_card->settledText(slot);
            slot != ClassTable::Photo && shown != was)
            changes.texts.append({r, slot, was, shown});
    return changes;
}

void TMDIChild::settleCard(const QString& text)
{
    if (!m_card || !m_card->typedSince())
        return;
    ClassChanges changes = cardChanges();
    // The fields' own undo of the typing ends here: from now on the class's history takes it back.
    m_card->settleTyping();
    m_document.record(text, place(), std::move(changes));
}

void TMDIChild::photoChosen()
{
    const int r = m_currentCard;
    const QString was = m_card->settledText(ClassTable::Photo);
    if (r < 1 || r > StudentCount || photoPath() == was) {
        // The same picture chosen again still counts as a change.
        m_document.change();
        return;
    }
    ClassChanges changes;
    changes.texts.append({r, ClassTable::Photo, was, photoPath()});
    m_card->settleSlot(ClassTable::Photo);
    m_document.record(QStringLiteral("le choix de la photo"), place(), std::move(changes));
}

bool TMDIChild::typingInProgress() const
{
    if (isCardPage())
        return m_card->typedSince() && !cardChanges().isEmpty();
    return m_grid->isEditing() &&
           m_grid->shownCell(m_grid->col(), m_grid->row()) != m_grid->cell(m_grid->col(), m_grid->row());
}

bool TMDIChild::canUndo() const
{
    return typingInProgress() || m_document.history().canUndo();
}

bool TMDIChild::canRedo() const
{
    return !typingInProgress() && m_document.history().canRedo();
}

QString TMDIChild::undoText() const
{
    return typingInProgress() ? Typing : m_document.history().undoText();
}

QString TMDIChild::redoText() const
{
    return typingInProgress() ? QString() : m_document.history().redoText();
}

void TMDIChild::Undo()
{
    settleTyping();
    m_document.undo();
    raiseStepFailure();
}

void TMDIChild::Redo()
{
    settleTyping();
    m_document.redo();
    raiseStepFailure();
}

void TMDIChild::raiseStepFailure()
{
    if (!m_stepFailure)
        return;
    const PlatformError failure = *m_stepFailure;
    m_stepFailure.reset();
    throw failure;
}

void TMDIChild::showTableAsHeld()
{
    for (int r = -1; r <= 62; ++r)
        for (int c = 2; c <= 31; ++c)
            m_grid->setCell(c, r + 1, table().at(r, c));
    for (int n = 1; n <= StudentCount; ++n)
        showName(n);
}

void TMDIChild::showStep(const ClassPlace& place, const ClassChanges& changes)
{
    for (const ClassChanges::Width& w : changes.widths)
        m_grid->setColWidth(w.column, m_document.contents().widths[w.column - 1]);
    m_grid->setCurrent(place.col, place.row);
    m_currentCard = place.card;
    if (place.cardPage) {
        // A photo that cannot be shown is told once the step is done.
        try {
            showCard();
        } catch (const PlatformError& error) {
            m_stepFailure = error;
        }
        return;
    }
    if (isCardPage()) {
        m_card->photo()->forget();
        showTableAsHeld();
        m_notebook->setCurrentWidget(m_grid);
    } else {
        // The cells the step changed show what the class holds, byte for byte: a mark typed "12,5" stays "12,5".
        for (const ClassChanges::Text& t : changes.texts) {
            if (t.row >= -1 && t.row <= 62 && t.slot >= 2 && t.slot <= 31)
                m_grid->setCell(t.slot, t.row + 1, table().at(t.row, t.slot));
            else if (t.row >= 1 && t.row <= StudentCount &&
                     (t.slot == ClassTable::Surname || t.slot == ClassTable::FirstName))
                showName(t.row);
        }
    }
    m_grid->setFocus();
}
