#include "ClassWindows.h"

#include "classbook/MDIChild.h"

#include <QTest>

ClassWindows::ClassWindows(const QDateTime& now) : m_fake(std::make_unique<FakeSeams>())
{
    m_fake->fixedNow = now;
    m_tools.emplace();
}

ClassWindows::~ClassWindows()
{
    qDeleteAll(m_windows);
    m_tools.reset();
}

SharedWindows ClassWindows::shared() const
{
    return m_tools->shared();
}

TMDIChild* ClassWindows::open()
{
    return m_windows.emplace_back(new TMDIChild(m_tools->shared()));
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
