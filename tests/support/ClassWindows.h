#pragma once

#include "app/ToolWindows.h"

#include <QList>
#include <QPointer>

class TMDIChild;

// The fixture of every test of class windows: the program's tool windows created as at start-up, and the class
// windows opened over them. Destroying it (in cleanup(), which runs even after a failed check) destroys the class
// windows still open, then the tool windows, so that no test leaks into the next.
class ClassWindows
{
public:
    ClassWindows();
    ~ClassWindows();
    // The windows a class window shares, as the frame hands them over.
    SharedWindows shared() const;
    // A new class window, destroyed with the fixture unless the test destroys it first.
    TMDIChild* open();
    // Runs the event loop, as the teacher waits, until the card's photo has come (shown or reported); false if it
    // never does.
    static bool photoCame(const TMDIChild* window);

private:
    ToolWindows m_tools;
    QList<QPointer<TMDIChild>> m_windows;
};
