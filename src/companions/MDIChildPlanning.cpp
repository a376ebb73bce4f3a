#include "classbook/MDIChild.h"

// The class window's side of the annual planning.

void TMDIChild::PlanningCours()
{
}
