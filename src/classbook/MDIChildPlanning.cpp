#include "classbook/MDIChild.h"

#include "companions/Planning.h"

// The class window's side of the annual planning: the planning window holds the planning of the class
// loaded last, so the window is only shown.

void TMDIChild::PlanningCours()
{
    if (TPlanning* planning = m_shared.Planning)
        planning->showFor(this, m_fileName);
}
