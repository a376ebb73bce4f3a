#include "classbook/MDIChild.h"

// Printing the class sheet or the student card.

void TMDIChild::Imprimer()
{
    if (isCardPage())
        ImprimFiche();
    else
        ImprimFeuille();
}

void TMDIChild::ImprimFeuille()
{
}

void TMDIChild::ImprimFiche()
{
}
