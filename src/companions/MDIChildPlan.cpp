#include "classbook/MDIChild.h"

// The class window's side of the seating plan.

void TMDIChild::PlanClasse()
{
}
