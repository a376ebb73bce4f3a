#include "ClassWindows.h"

#include "app/ToolWindows.h"
#include "classbook/MDIChild.h"

#include <QTest>

ClassWindows::ClassWindows()
{
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

bool ClassWindows::photoCame(const TMDIChild* window)
{
    return QTest::qWaitFor([window] { return !window->photoPending(); }, 10000);
}
