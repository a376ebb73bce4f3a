#include "classbook/MDIChild.h"

#include "companions/Plan.h"

// The class window's side of the seating plan: the plan window is shown as it is, never reloaded here.

void TMDIChild::PlanClasse()
{
    if (TPlan* plan = m_shared.Plan)
        plan->showFor(this, m_fileName);
}
