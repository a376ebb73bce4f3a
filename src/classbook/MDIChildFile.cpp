#include "classbook/MDIChild.h"

#include "companions/Plan.h"
#include "companions/Planning.h"
#include "core/FileNames.h"
#include "core/PlatformError.h"
#include "core/TextFile.h"
#include "model/ClassFile.h"
#include "model/EarlierVersions.h"
#include "widgets/ErrorHandler.h"
#include "widgets/Seams.h"
#include "widgets/StringGrid.h"

#include <QFileInfo>
#include <QStackedWidget>
#include <optional>

// Class files: loading and saving the class and its companions, and the question asked on closing.

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

    // A companion file that exists but cannot be read must not leave the window with an unfilled grid
    // that a later save would write over the class file: the class is read all the same, and the
    // companion failures are reported once the grid shows the class.
    FailureList companionFailures;
    companionFailures.attempt([this] { ChargeDevoir(); });

    // A class file that does not exist loads as an empty class, without a word; the file name stays,
    // so that a later save creates the file there. One that exists but cannot be read (no right to
    // read it, a folder or a pipe of that name, a file far larger than any class) must never be replaced
    // by the empty class shown instead: it is reported, and the window forgets the name so that a save
    // asks for another one.
    QByteArray bytes;
    std::optional<PlatformError> classFailure;
    try {
        bytes = classfile::readFile(m_fileName);
    } catch (const PlatformError& error) {
        if (QFileInfo::exists(m_fileName))
            classFailure = error;
    }
    const classfile::Widths widths = classfile::read(bytes, m_table);
    for (int c = 1; c <= classfile::WidthCount; ++c)
        if (widths[c - 1] != classfile::NoWidth)
            StringGrid1->setColWidth(c, widths[c - 1]);

    companionFailures.attempt([this] {
        if (TPlanning* planning = m_shared.Planning)
            planning->Charge(m_fileName, this);
    });
    companionFailures.attempt([this] {
        if (TPlan* plan = m_shared.Plan)
            plan->Charge(m_fileName, this);
    });
    m_modified = false;
    LitGrille();
    forgetPhoto();
    Notebook1->setCurrentWidget(StringGrid1);
    if (classFailure) {
        m_fileName.clear();
        throw *classFailure;
    }
    companionFailures.raise();
}

void TMDIChild::SaveAs()
{
    const std::optional<Seams::SaveChoice> choice =
        seams().saveFileName(this, QStringLiteral("Fichiers classe (*.prf)|*.prf"), 1);
    if (!choice || choice->fileName.isEmpty())
        return;
    // "6e.1" is saved as 6e.1.prf, "5C.PRF" as typed.
    m_fileName = filenames::classFileName(choice->fileName);
    // A new name is written even when nothing changed.
    m_modified = true;
}

void TMDIChild::Sauve()
{
    if (m_fileName.isEmpty())
        SaveAs();
    if (m_fileName.isEmpty())
        return;
    settlePhotoChoice();
    // A class is saved to the very name it was opened or saved under: 5C.PRF to 5C.PRF, 6e.1.prf to 6e.1.prf.
    if (!m_modified)
        return;
    if (isCardPage())
        EcritFiche();
    else
        EcritGrille();
    classfile::Widths widths;
    for (int c = 1; c <= classfile::WidthCount; ++c)
        widths[c - 1] = StringGrid1->colWidth(c);
    // Written whole through a temporary file: a failure raises "Ne peut créer le fichier", keeps the
    // old file as it was and leaves the class marked modified. The file replaced is kept as a version; a
    // version that cannot be kept is told on the status bar and does not stop the save.
    const QString versionFailure = versions::writeKeeping(m_fileName, classfile::write(m_table, widths));
    m_modified = false;
    if (!versionFailure.isEmpty())
        seams().statusMessage(this, versionFailure);
}

void TMDIChild::SauveTout()
{
    // Every companion is attempted whatever became of the one before; then the failures are raised together.
    FailureList failures;
    failures.attempt([this] { SauveDevoir(); });
    failures.attempt([this] {
        if (TPlanning* planning = m_shared.Planning)
            planning->Sauve(m_fileName, this);
    });
    failures.attempt([this] {
        if (TPlan* plan = m_shared.Plan)
            plan->Sauve(m_fileName, this);
    });
    failures.raise();
}

bool TMDIChild::companionsWithoutFile() const
{
    return (m_shared.Plan && m_shared.Plan->changesWithoutFile(this)) ||
           (m_shared.Planning && m_shared.Planning->changesWithoutFile(this));
}

bool TMDIChild::FormCloseQuery()
{
    settlePhotoChoice();
    bool canClose = true;
    // A class never saved is asked about when its plan or planning changed, even if nothing else did.
    if (m_modified || companionsWithoutFile()) {
        const int answer = seams().message(
            this, Seams::MessageKind::Warning, QStringLiteral("Avertissement"),
            QStringLiteral("Sauver modifications dans ") + filenames::lastComponent(m_fileName) + QStringLiteral(" ?"),
            {QStringLiteral("&Oui"), QStringLiteral("&Non"), QStringLiteral("Annuler")}, 0, 2);
        if (answer == 0) {
            // "Oui" closes only once the class is safely on disk: a save dialog cancelled or a file that
            // cannot be written keeps the window open with its changes.
            try {
                Sauve();
            } catch (const PlatformError& error) {
                errors::report(error, this);
            }
            canClose = !m_modified && !companionsWithoutFile();
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
