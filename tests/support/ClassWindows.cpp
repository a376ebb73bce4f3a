#include "ClassWindows.h"

#include "app/ToolWindows.h"
#include "classbook/MDIChild.h"

ClassWindows::ClassWindows()
{
    destroyToolWindows();
    createToolWindows();
}

ClassWindows::~ClassWindows()
{
    for (const QPointer<TMDIChild>& window : m_windows)
        delete window.data();
    destroyToolWindows();
}

SharedWindows ClassWindows::shared() const
{
    return sharedWindows();
}

TMDIChild* ClassWindows::open()
{
    auto* window = new TMDIChild(sharedWindows());
    m_windows << window;
    return window;
}
