#include "ClassWindows.h"

#include "classbook/MDIChild.h"

#include <QTest>

ClassWindows::ClassWindows() = default;

ClassWindows::~ClassWindows()
{
    qDeleteAll(m_windows);
}

SharedWindows ClassWindows::shared() const
{
    return m_tools.shared();
}

TMDIChild* ClassWindows::open()
{
    return m_windows.emplace_back(new TMDIChild(m_tools.shared()));
}

bool ClassWindows::photoCame(const TMDIChild* window)
{
    return QTest::qWaitFor([window] { return !window->photoPending(); }, 10000);
}
