#include "classbook/MDIChild.h"

// Rubrics, averages and the two charts of a class window.

void TMDIChild::Rubriques()
{
}

void TMDIChild::Moyennes()
{
}

void TMDIChild::Graphique()
{
}

void TMDIChild::Suivi()
{
}
