#include "classbook/MDIChild.h"

#include "classbook/PhotoView.h"

// Student photos: chosen with the picture dialog and fitted into the card's frame.

void TMDIChild::Image1Click()
{
}

void TMDIChild::LitPhoto()
{
}
