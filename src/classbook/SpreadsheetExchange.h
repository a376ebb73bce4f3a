#pragma once

#include "model/ClassTable.h"

#include <QList>
#include <QString>

class QWidget;

// The class window's exchanges with spreadsheets: the teacher's questions around the export and the import, whose
// rules live in model/ClassExport and model/StudentImport.
namespace spreadsheetexchange {

// "Exporter vers un tableur...": the save dialog, suggesting the class's name with the extension of the type
// chosen (6A.xlsx); a file of that name is replaced only once the teacher says so ("&Non" goes back to the
// dialog); then the file is written and the status bar says what was written.
void exportClass(QWidget* parent, const ClassTable& table, const QString& classFile, const QString& caption);

// "Importer une liste d'élèves...": the open dialog, then the preview of what the list brings; on "&Importer",
// the table gets it in one step and the status bar says what was added. The rows changed, none when nothing was.
// A list refused whole is told in a message and changes nothing.
QList<int> importList(QWidget* parent, ClassTable& table);

} // namespace spreadsheetexchange
