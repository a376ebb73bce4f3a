#include "app/ToolWindows.h"
#include "classbook/MDIChild.h"
#include "common/Seams.h"
#include "companions/Planning.h"

// The class window's side of the annual planning: the planning window holds the planning of the class
// loaded last, so the window is only shown.

void TMDIChild::PlanningCours()
{
    if (TPlanning* planning = tools().Planning)
        seams().execModal(planning);
}
