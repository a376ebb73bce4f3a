#include "model/ClassCommands.h"

#include "model/ClassDocument.h"

ClassChanges ClassChanges::between(const ClassContents& before, const ClassContents& after)
{
    ClassChanges changes;
    for (int r = ClassTable::FirstRow; r <= ClassTable::LastRow; ++r)
        for (int s = 0; s < ClassTable::SlotCount; ++s)
            if (const QString& was = before.table.at(r, s), &is = after.table.at(r, s); was != is)
                changes.texts.append({r, s, was, is});
    for (int c = 1; c <= classfile::WidthCount; ++c)
        if (before.widths[c - 1] != after.widths[c - 1])
            changes.widths.append({c, before.widths[c - 1], after.widths[c - 1]});
    for (int k = 0; k < homework::EntryCount; ++k)
        if (before.homework[k] != after.homework[k])
            changes.homework.append({0, k, before.homework[k], after.homework[k]});
    return changes;
}

void ClassChanges::apply(ClassContents& contents, bool forward) const
{
    for (const Text& t : texts)
        contents.table.at(t.row, t.slot) = forward ? t.after : t.before;
    for (const Width& w : widths)
        contents.widths[w.column - 1] = forward ? w.after : w.before;
    for (const Text& t : homework)
        contents.homework[t.slot] = forward ? t.after : t.before;
}

MadeStep::MadeStep(const QString& text, std::function<void()> undo, std::function<void()> redo)
    : QUndoCommand(text), m_undo(std::move(undo)), m_redo(std::move(redo))
{
}

void MadeStep::undo()
{
    m_undo();
}

void MadeStep::redo()
{
    if (m_made)
        m_made = false;
    else
        m_redo();
}

qint64 ClassChanges::cost() const
{
    // A text's characters take two bytes, its header and the entry's place some more.
    constexpr qint64 perEntry = 96;
    qint64 bytes = 0;
    for (const QList<Text>* list : {&texts, &homework})
        for (const Text& t : *list)
            bytes += perEntry + 2 * (t.before.size() + t.after.size());
    return bytes + widths.size() * qint64(sizeof(Width));
}
