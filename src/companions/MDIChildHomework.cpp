#include "classbook/MDIChild.h"

// The class window's homework list: its dialog and its file beside the class file.

void TMDIChild::DatesDevoirs()
{
}

void TMDIChild::ChargeDevoir()
{
}

void TMDIChild::SauveDevoir()
{
}
