#include "classbook/MDIChild.h"

// The class window's side of its companions: homework dates, seating plan, planning, phrases.

void TMDIChild::DatesDevoirs()
{
}

void TMDIChild::ChargeDevoir()
{
}

void TMDIChild::SauveDevoir()
{
}

void TMDIChild::PlanClasse()
{
}

void TMDIChild::Observations()
{
}

void TMDIChild::PlanningCours()
{
}
