#pragma once

#include "model/ClassFile.h"
#include "model/HomeworkList.h"

#include <QList>
#include <QString>
#include <QUndoCommand>
#include <functional>

struct ClassContents;

// Where the teacher made a step: the page in view, the grid's current cell and the card shown. Taking the step
// back or making it again shows the class there.
struct ClassPlace
{
    bool cardPage = false;
    int col = 2;
    int row = 2;
    int card = 0;

    bool operator==(const ClassPlace&) const = default;
};

// What one step changed in what a save writes: texts of the class table, widths of grid columns, homework entries,
// each as it was before the step and after it. Only what changed is held, so a mark typed costs a few bytes and
// a sort about the whole class.
struct ClassChanges
{
    struct Text
    {
        int row;  // the table row; for a homework entry, 0
        int slot; // the table slot; for a homework entry, its number
        QString before;
        QString after;
    };
    struct Width
    {
        int column; // grid column 1 to 31
        int before;
        int after;
    };

    QList<Text> texts;
    QList<Width> widths;
    QList<Text> homework;

    // Everything that differs from one to the other.
    static ClassChanges between(const ClassContents& before, const ClassContents& after);
    // Puts the texts and widths of after (forward) or before (back) into the contents.
    void apply(ClassContents& contents, bool forward) const;
    bool isEmpty() const { return texts.isEmpty() && widths.isEmpty() && homework.isEmpty(); }
    // The memory the step holds, in bytes, every text counted whole.
    qint64 cost() const;
};

// A step already made when it is pushed on its stack (the stack's first redo leaves it as it is); taken back and made
// again by the functions given. The seating plan's desks and the planning's days are such steps.
class MadeStep : public QUndoCommand
{
public:
    MadeStep(const QString& text, std::function<void()> undo, std::function<void()> redo);
    void undo() override;
    void redo() override;

private:
    std::function<void()> m_undo;
    std::function<void()> m_redo;
    bool m_made = true;
};

// The window that shows the class, as a step taken back or made again needs it: the contents already hold the
// step, the window shows them exactly as held (no number re-formatted), at the step's place.
class ClassStepView
{
public:
    virtual ~ClassStepView() = default;
    virtual void showStep(const ClassPlace& place, const ClassChanges& changes) = 0;
};
