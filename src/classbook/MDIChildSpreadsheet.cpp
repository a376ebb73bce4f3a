#include "classbook/MDIChild.h"

#include "core/FileNames.h"
#include "model/ClassExport.h"
#include "model/StudentImport.h"
#include "widgets/Seams.h"

#include <QCoreApplication>

// The class to a spreadsheet, and a list of students from one.

void TMDIChild::Exporter()
{
    // A mark still being typed is part of the class the teacher sees.
    finishCellEdit();
    const std::optional<Seams::SaveChoice> choice =
        seams().saveFileName(this, QStringLiteral("Classeur Excel (*.xlsx)|*.xlsx|Fichier CSV (*.csv)|*.csv"), 1);
    if (!choice || choice->fileName.isEmpty())
        return;
    // A name without either extension gets the one of the chosen filter, so an export never lands on the class
    // file or another file of the class.
    QString path = choice->fileName;
    if (!path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive) &&
        !path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
        path += choice->filterIndex == 2 ? QStringLiteral(".csv") : QStringLiteral(".xlsx");
    const QString className = filenames::classStem(fileName().isEmpty() ? windowTitle() : fileName());
    classexport::write(path, currentTable(), filenames::lastComponent(className));
}

void TMDIChild::Importer()
{
    const QString path =
        seams().openFileName(this, QStringLiteral("Listes d'élèves (*.csv;*.txt)|*.csv;*.txt|Tous les fichiers|*"));
    if (path.isEmpty())
        return;
    settleTyping();
    storeVisiblePage();
    ClassTable filled = table();
    const studentimport::Result result = studentimport::fillFrom(path, filled);
    if (!result.rows.isEmpty()) {
        asStep(QStringLiteral("l'importation"), [&] {
            m_document.change([&filled](ClassContents& contents) { contents.table = std::move(filled); });
            // Only the new names are shown: the marks already there stay exactly as they are in the grid.
            for (int n : result.rows)
                showName(n);
            if (isCardPage())
                LitFiche();
        });
    }
    seams().message(this, Seams::MessageKind::Information, QCoreApplication::applicationName(),
                    studentimport::summary(result), {QStringLiteral("OK")}, 0, 0);
}
