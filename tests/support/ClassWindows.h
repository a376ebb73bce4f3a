#pragma once

#include "FakeSeams.h"
#include "app/ToolWindows.h"

#include <QDateTime>
#include <QList>
#include <QPointer>
#include <QTemporaryDir>
#include <memory>
#include <optional>

class TMDIChild;

// The fixture of every test of class windows: the seams faked, a folder of the test's own, the program's tool
// windows created as at start-up and the class windows opened over them. A test holds it in a std::optional made in
// init() and reset in cleanup(), which runs even after a failed check: the class windows still open go first, then
// the tool windows, the folder and the fake seams, so that no test leaks into the next.
class ClassWindows
{
public:
    // now: what the fake clock tells, from the start (the planning takes its year from it); the real time without.
    explicit ClassWindows(const QDateTime& now = {});
    ~ClassWindows();
    ClassWindows(const ClassWindows&) = delete;
    ClassWindows& operator=(const ClassWindows&) = delete;

    // The test scripts the answers of every dialog and reads what was asked.
    FakeSeams& fake() { return *m_fake; }
    // The fixture's folder, and a file in it.
    QString folder() const { return m_dir.path(); }
    QString path(const QString& name) const { return m_dir.filePath(name); }
    ToolWindows& tools() { return *m_tools; }
    // The windows a class window shares, as the frame hands them over.
    SharedWindows shared() const;
    // A new class window, destroyed with the fixture unless the test destroys it first.
    TMDIChild* open();
    // A new class window shown on the screen; nullptr when it never shows.
    TMDIChild* openShown();
    // Runs the event loop, as the teacher waits, until the card's photo has come (shown or reported); false if it
    // never does.
    static bool photoCame(const TMDIChild* window);

private:
    std::unique_ptr<FakeSeams> m_fake;
    QTemporaryDir m_dir;
    std::optional<ToolWindows> m_tools;
    QList<QPointer<TMDIChild>> m_windows;
};
