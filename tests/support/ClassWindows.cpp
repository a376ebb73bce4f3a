#include "ClassWindows.h"

#include "app/ToolWindows.h"
#include "classbook/MDIChild.h"

#include <QTest>

ClassWindows::ClassWindows(const QDateTime& now) : m_fake(std::make_unique<FakeSeams>())
{
    m_fake->fixedNow = now;
    destroyToolWindows();
    createToolWindows();
}

ClassWindows::~ClassWindows()
{
    qDeleteAll(m_windows);
    destroyToolWindows();
}

SharedWindows ClassWindows::shared() const
{
    return sharedWindows();
}

TMDIChild* ClassWindows::open()
{
    return m_windows.emplace_back(new TMDIChild(sharedWindows()));
}

TMDIChild* ClassWindows::openShown()
{
    TMDIChild* window = open();
    window->show();
    return QTest::qWaitForWindowExposed(window) ? window : nullptr;
}

bool ClassWindows::photoCame(const TMDIChild* window)
{
    return QTest::qWaitFor([window] { return !window->photoPending(); }, 10000);
}
