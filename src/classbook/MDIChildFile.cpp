#include "classbook/MDIChild.h"

#include "classbook/CardPage.h"
#include "classbook/CardPhoto.h"
#include "core/FileNames.h"
#include "core/PlatformError.h"
#include "widgets/ErrorHandler.h"
#include "widgets/Seams.h"
#include "widgets/StringGrid.h"

#include <QStackedWidget>

// The file commands of a class window: the questions asked, then the class document.

void TMDIChild::Nouveau()
{
    for (int g = 2; g <= 63; ++g)
        m_grid->setCell(1, g, QStringLiteral("Elève") + QString::number(g - 1));
}

void TMDIChild::Raz()
{
    m_document.Raz();
}

void TMDIChild::Charge(const QString& path)
{
    // The document tells loaded() before it raises what could not be read: the grid then shows the class read.
    m_document.load(path);
}

void TMDIChild::showLoaded()
{
    const classfile::Widths& widths = m_document.contents().widths;
    for (int c = 1; c <= classfile::WidthCount; ++c)
        if (widths[c - 1] != classfile::NoWidth)
            m_grid->setColWidth(c, widths[c - 1]);
    LitGrille();
    m_card->photo()->forget();
    m_notebook->setCurrentWidget(m_grid);
}

void TMDIChild::SaveAs()
{
    const std::optional<Seams::SaveChoice> choice =
        seams().saveFileName(this, QStringLiteral("Fichiers classe (*.prf)|*.prf"), 1);
    if (!choice || choice->fileName.isEmpty())
        return;
    // "6e.1" is saved as 6e.1.prf, "5C.PRF" as typed.
    m_document.rename(filenames::classFileName(choice->fileName));
}

void TMDIChild::Sauve()
{
    if (fileName().isEmpty())
        SaveAs();
    if (fileName().isEmpty())
        return;
    // A mark being typed, a card field typed into and a photo being chosen become steps, the class as saved.
    settleTyping();
    // A class is saved to the very name it was opened or saved under: 5C.PRF to 5C.PRF, 6e.1.prf to 6e.1.prf.
    if (!isModified())
        return;
    // The page in view goes into the class as the document saves it (EcritGrille or EcritFiche).
    // A version that cannot be kept is told on the status bar and does not stop the save.
    const QString versionFailure = m_document.save();
    if (!versionFailure.isEmpty())
        seams().statusMessage(this, versionFailure);
}

void TMDIChild::SauveTout()
{
    m_document.SauveTout();
}

bool TMDIChild::FormCloseQuery()
{
    settleTyping();
    bool canClose = true;
    // A class never saved is asked about when its plan or planning changed, even if nothing else did.
    if (isModified() || companionsWithoutFile()) {
        const int answer = seams().message(
            this, Seams::MessageKind::Warning, QStringLiteral("Avertissement"),
            QStringLiteral("Sauver modifications dans ") + filenames::lastComponent(fileName()) + QStringLiteral(" ?"),
            {QStringLiteral("&Oui"), QStringLiteral("&Non"), QStringLiteral("Annuler")}, 0, 2);
        if (answer == 0) {
            // "Oui" closes only once the class is safely on disk: a save dialog cancelled or a file that
            // cannot be written keeps the window open with its changes.
            try {
                Sauve();
            } catch (const PlatformError& error) {
                errors::report(error, this);
            }
            canClose = !isModified() && !companionsWithoutFile();
        } else if (answer != 1) {
            canClose = false;
        }
    }
    // A companion that cannot be written is reported; then the teacher decides whether to leave without it.
    try {
        SauveTout();
    } catch (const PlatformError& error) {
        errors::report(error, this);
        canClose = canClose && errors::leaveWithout(this, error.files());
    }
    return canClose;
}

void TMDIChild::FormClose()
{
    // A closed class window is destroyed with all its data, never hidden or minimised.
    setAttribute(Qt::WA_DeleteOnClose);
}
