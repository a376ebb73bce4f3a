#include "classbook/MDIChild.h"

#include "companions/Devoirs.h"
#include "core/PlatformError.h"
#include "core/TextFile.h"
#include "model/HomeworkList.h"
#include "widgets/Seams.h"

// The class window's homework list: its dialog and its file beside the class file.

void TMDIChild::DatesDevoirs()
{
    TDevoirs* dialog = m_shared.Devoirs;
    if (!dialog)
        return;
    // A date that cannot be read stops here, before the dialog shows: the list and the flag stay as they were.
    dialog->Init(m_listeDevoirs);
    seams().execModal(dialog);
    dialog->Result(m_listeDevoirs);
    // Every opening counts as a change, whether or not anything was touched.
    m_modified = true;
}

void TMDIChild::ChargeDevoir()
{
    // No homework file is normal: the list stays empty. One that exists but cannot be read (no right to read
    // it, a folder or a pipe of that name) is raised, and is never written over during the run. A file named as
    // older versions named it is read when the class has none of its own; the next save writes the class's own.
    if (const std::optional<QByteArray> bytes =
            textfile::readIfPresent(homework::fileToRead(m_fileName), homework::FileLimit))
        m_listeDevoirs = homework::read(*bytes);
}

void TMDIChild::SauveDevoir()
{
    const QString name = homework::fileName(m_fileName);
    if (name.isEmpty() || !homework::needsFile(m_listeDevoirs))
        return;
    // Raises "Ne peut créer le fichier" (a folder that cannot be written, a full disk): the file is written
    // whole or not at all, and the list stays as it is, to be written by the next save.
    textfile::writeBytes(name, homework::write(m_listeDevoirs));
}
