#include "classbook/SpreadsheetExchange.h"

#include "classbook/ImportPreviewDialog.h"
#include "core/FileNames.h"
#include "model/ClassExport.h"
#include "model/ImportPreview.h"
#include "model/StudentImport.h"
#include "widgets/Seams.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace spreadsheetexchange {

void exportClass(QWidget* parent, const ClassTable& table, const QString& classFile, const QString& caption)
{
    int filterIndex = 1;
    QString suggested = classexport::suggestedName(classFile, caption, filterIndex);
    while (true) {
        const std::optional<Seams::SaveChoice> choice =
            seams().saveFileName(parent, classexport::Filter, filterIndex, suggested);
        if (!choice || choice->fileName.isEmpty())
            return;
        const QString path = classexport::exportPath(choice->fileName, choice->filterIndex);
        if (QFileInfo(path).isFile()) {
            const int answer =
                seams().message(parent, Seams::MessageKind::Warning, QCoreApplication::applicationName(),
                                QStringLiteral("Le fichier %1 existe déjà.\nVoulez-vous le remplacer ?").arg(path),
                                {QStringLiteral("&Oui"), QStringLiteral("&Non")}, 1, 1);
            if (answer != 0) {
                suggested = path;
                filterIndex = choice->filterIndex;
                continue;
            }
        }
        const QString className = filenames::classStem(classFile.isEmpty() ? caption : classFile);
        classexport::write(path, table, filenames::lastComponent(className));
        seams().statusMessage(parent, classexport::writtenMessage(path, table));
        return;
    }
}

QList<int> importList(QWidget* parent, ClassTable& table)
{
    const QString path = seams().openFileName(
        parent,
        QStringLiteral("Listes d'élèves (*.csv;*.txt;*.xlsx;*.ods)|*.csv;*.txt;*.xlsx;*.ods|Tous les fichiers|*"));
    if (path.isEmpty())
        return {};
    ImportPreview preview(path, studentimport::planFrom(path, table));
    if (!preview.plan().refused.isEmpty()) {
        seams().message(parent, Seams::MessageKind::Information, QCoreApplication::applicationName(),
                        preview.plan().refused, {QStringLiteral("OK")}, 0, 0);
        return {};
    }
    ImportPreviewDialog dialog(preview, parent);
    if (seams().execModal(&dialog) != QDialog::Accepted || !preview.canImport())
        return {};
    const QList<int> rows = preview.apply(table);
    seams().statusMessage(parent, preview.done());
    return rows;
}

} // namespace spreadsheetexchange
