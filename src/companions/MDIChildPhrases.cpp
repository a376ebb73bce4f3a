#include "classbook/MDIChild.h"

// The class window's side of the appraisal phrases.

void TMDIChild::Observations()
{
}
