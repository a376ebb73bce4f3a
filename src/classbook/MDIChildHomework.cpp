#include "classbook/MDIChild.h"

#include "common/PlatformError.h"
#include "common/Seams.h"
#include "common/TextFile.h"
#include "companions/Devoirs.h"
#include "companions/HomeworkList.h"

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
    const QString name = homework::fileName(m_fileName);
    // No homework file is normal: the list stays empty. One that exists but cannot be read is raised.
    if (name.isEmpty() || !textfile::exists(name))
        return;
    m_listeDevoirs = homework::read(textfile::readBytes(name));
}

void TMDIChild::SauveDevoir()
{
    const QString name = homework::fileName(m_fileName);
    if (name.isEmpty() || !homework::needsFile(m_listeDevoirs))
        return;
    // A folder that cannot be written or a full disk goes unreported, so that the rest of the save-all
    // step still writes the planning and the plan; the file is written whole or not at all.
    try {
        textfile::writeBytes(name, homework::write(m_listeDevoirs));
    } catch (const PlatformError&) {
    }
}
