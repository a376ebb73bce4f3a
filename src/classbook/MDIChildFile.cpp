#include "classbook/MDIChild.h"

#include "common/FileNames.h"
#include "common/Seams.h"
#include "common/StringGrid.h"

#include <QStackedWidget>

// Class files: the reading and writing of the file itself come with the class file format.

void TMDIChild::Nouveau()
{
    for (int g = 2; g <= 63; ++g)
        StringGrid1->setCell(1, g, QStringLiteral("Elève") + QString::number(g - 1));
}

void TMDIChild::Raz()
{
    m_table.clear();
    for (QString& entry : m_listeDevoirs)
        entry.clear();
}

void TMDIChild::Charge(const QString& path)
{
    m_fileName = path;
    Raz();
    ChargeDevoir();
    m_modified = false;
    LitGrille();
    Notebook1->setCurrentWidget(StringGrid1);
}

void TMDIChild::SaveAs()
{
}

void TMDIChild::Sauve()
{
}

void TMDIChild::SauveTout()
{
    SauveDevoir();
}

bool TMDIChild::FormCloseQuery()
{
    bool canClose = true;
    if (m_modified) {
        const int answer = seams().message(
            this, Seams::MessageKind::Warning, QStringLiteral("Avertissement"),
            QStringLiteral("Sauver modifications dans ") + filenames::lastComponent(m_fileName) + QStringLiteral(" ?"),
            {QStringLiteral("&Oui"), QStringLiteral("&Non"), QStringLiteral("Annuler")}, 0, 2);
        if (answer == 0)
            Sauve();
        else if (answer == 2)
            canClose = false;
    }
    SauveTout();
    return canClose;
}

void TMDIChild::FormClose()
{
}
