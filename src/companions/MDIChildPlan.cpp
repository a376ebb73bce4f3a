#include "classbook/MDIChild.h"

#include "app/ToolWindows.h"
#include "companions/Plan.h"

// The class window's side of the seating plan: the plan window is shown as it is, never reloaded here.

void TMDIChild::PlanClasse()
{
    if (TPlan* plan = tools().Plan)
        plan->showFor(this);
}
