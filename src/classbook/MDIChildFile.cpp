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

void TMDIChild::Charge(const QString& path, const std::optional<QByteArray>& classFileBytes)
{
    // The document tells loaded() before it raises what could not be read: the grid then shows the class read.
    m_document.load(path, classFileBytes);
}

void TMDIChild::showLoaded()
{
    const classfile::Widths& widths = m_document.contents().widths;
    for (int c = 1; c <= classfile::WidthCount; ++c)
        if (widths[c - 1] != classfile::NoWidth)
            m_grid->setColWidth(c, widths[c - 1]);
    LitGrille();
    if (m_card)
        m_card->photo()->forget();
    m_notebook->setCurrentWidget(m_grid);
}

void TMDIChild::setReadOnly(bool readOnly)
{
    static const QString mark = QStringLiteral(" (lecture seule)");
    m_document.setReadOnly(readOnly);
    QString caption = windowTitle();
    if (caption.endsWith(mark))
        caption.chop(mark.size());
    setWindowTitle(readOnly ? caption + mark : caption);
}

void TMDIChild::SaveAs()
{
    const std::optional<Seams::SaveChoice> choice =
        seams().saveFileName(this, QStringLiteral("Fichiers classe (*.prf)|*.prf"), 1);
    if (!choice || choice->fileName.isEmpty())
        return;
    // "6e.1" is saved as 6e.1.prf, "5C.PRF" as typed.
    const QString name = filenames::classFileName(choice->fileName);
    const bool sameFile = filenames::sameFile(name, fileName());
    if (sameFile && isReadOnly()) {
        seams().statusMessage(this, QStringLiteral("%1 est ouvert en lecture seule : enregistrez-le sous un autre nom.")
                                        .arg(filenames::lastComponent(name)));
        return;
    }
    // The class takes the lock of its new file; one held elsewhere is written over only when the teacher insists.
    ClassLock lock;
    if (!sameFile) {
        const ClassLock::Outcome outcome = lock.take(name);
        const std::optional<ClassLock::Holder> holder = ClassLock::holderOf(name);
        if (outcome == ClassLock::Outcome::HeldElsewhere && holder &&
            seams().message(this, Seams::MessageKind::Warning, QStringLiteral("Avertissement"),
                            ClassLock::heldMessage(name, *holder),
                            {QStringLiteral("Enregistrer &quand même"), QStringLiteral("&Annuler")}, 1, 1) != 0)
            return;
        if (outcome == ClassLock::Outcome::Refused)
            seams().statusMessage(this, ClassLock::refusedMessage(name));
    }
    m_document.rename(name, std::move(lock));
    setReadOnly(m_document.isReadOnly());
}

void TMDIChild::Sauve()
{
    // A class read-only is never written where it was read: "Enregistrer" is "Enregistrer sous...".
    if (fileName().isEmpty() || isReadOnly())
        SaveAs();
    if (fileName().isEmpty() || isReadOnly())
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

void TMDIChild::Restaurer(const QByteArray& classFileBytes)
{
    settleTyping();
    // The changes shown and not saved are either saved first (the file they replace kept as a version) or given up.
    if (isModified()) {
        const int answer = askSaveChanges();
        if (answer == 2)
            return;
        if (answer == 0) {
            Sauve();
            if (isModified())
                return;
        }
    }
    // One step, which takes the class back to what was shown before, given up or saved.
    asStep(QStringLiteral("la reprise de la version"), [&] { m_document.takeVersion(classFileBytes); });
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
        const int answer = askSaveChanges();
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

int TMDIChild::askSaveChanges()
{
    return seams().message(this, Seams::MessageKind::Warning, QStringLiteral("Avertissement"),
                           QStringLiteral("Sauver modifications dans ") + filenames::lastComponent(fileName()) +
                               QStringLiteral(" ?"),
                           {QStringLiteral("&Oui"), QStringLiteral("&Non"), QStringLiteral("Annuler")}, 0, 2);
}

void TMDIChild::FormClose()
{
    // A closed class window is destroyed with all its data, never hidden or minimised; its lock goes at once, so that
    // the class may be opened again, here or elsewhere.
    setAttribute(Qt::WA_DeleteOnClose);
    m_document.lock().release();
}
