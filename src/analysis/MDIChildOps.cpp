#include "classbook/MDIChild.h"

// Operations on the class as a whole: sort, fit columns, delete, photo removal, copy and paste.

void TMDIChild::Trier()
{
}

void TMDIChild::Ajuster()
{
}

void TMDIChild::Supprimer()
{
}

void TMDIChild::SupPhoto()
{
}

void TMDIChild::Copier(QStringList&)
{
}

void TMDIChild::Coller(const QStringList&)
{
}
