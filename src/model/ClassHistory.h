#pragma once

#include "model/ClassCommands.h"

#include <QObject>
#include <QUndoStack>
#include <functional>

// The steps of one class, taken back and made again on a QUndoStack, whose clean state is the class as last saved
// or loaded. It holds a few megabytes at most: past that, the oldest steps are forgotten.
class ClassHistory : public QObject
{
    Q_OBJECT

public:
    // What taking a step back (forward false) or making it again does to the class.
    using Apply = std::function<void(const ClassPlace& place, const ClassChanges& changes, bool forward)>;
    // A sort or a deletion of a full class holds about 300 KB, a mark typed a hundred bytes or so.
    static constexpr qint64 DefaultBudget = 4 * 1024 * 1024;

    explicit ClassHistory(Apply apply, QObject* parent = nullptr);
    ~ClassHistory() override;

    // A step the teacher has just made, already in the class. Its text follows "Annuler" and "Rétablir" in the menu:
    // "le tri".
    void push(const QString& text, const ClassPlace& place, ClassChanges changes);
    bool canUndo() const { return m_stack.canUndo(); }
    bool canRedo() const { return m_stack.canRedo(); }
    QString undoText() const { return m_stack.undoText(); }
    QString redoText() const { return m_stack.redoText(); }
    void undo() { m_stack.undo(); }
    void redo() { m_stack.redo(); }

    // The class as saved or loaded is the one now: undoing or redoing back here clears the modified flag.
    void setClean() { m_stack.setClean(); }
    // No state of the history is the class as saved (a change that is no step, a class to be saved under a new
    // name): the class stays modified whatever is undone or redone, until it is saved.
    void resetClean() { m_stack.resetClean(); }
    bool isClean() const { return m_stack.isClean(); }
    // Forgets every step; the class now is the one saved.
    void clear();

    int count() const { return m_stack.count(); }
    int index() const { return m_stack.index(); }
    // The bytes the steps hold, as the budget counts them.
    qint64 cost() const { return m_cost; }
    void setBudget(qint64 bytes) { m_budget = bytes; }

signals:
    // What undo and redo would do, or the clean state, changed.
    void changed();

private:
    class Step;
    const Step& stepAt(int index) const;
    // QUndoStack drops its oldest steps only by a count set once: past the budget the history is built again from
    // its newest steps that fit in three quarters of it (the newest always), keeping its clean state where it was.
    void trim();

    QUndoStack m_stack;
    Apply m_apply;
    qint64 m_budget = DefaultBudget;
    qint64 m_cost = 0;
    // While the history is built again, nothing is applied and nothing told.
    bool m_rebuilding = false;
};
