#pragma once

#include "core/Spreadsheet.h"
#include "model/ClassTable.h"

#include <QList>
#include <QString>

// A class as a spreadsheet: the marks sheet (rubric headings and coefficients in the first two rows, one row
// per student with number, surname, first name, every mark, average and rank, then the figures of each rubric
// and of the class) and the cards sheet.
namespace classexport {

// The save dialog's filter: the workbook first, then CSV.
inline const QString Filter = QStringLiteral("Classeur Excel (*.xlsx)|*.xlsx|Fichier CSV (*.csv)|*.csv");

// The name the save dialog suggests: the class file's name, or for a class never saved its window's caption,
// without ".prf" and with the extension of the filter chosen (1: ".xlsx", 2: ".csv"): 6A.prf gives 6A.xlsx.
QString suggestedName(const QString& classFile, const QString& caption, int filterIndex);
// The file written for the name chosen: a name ending in neither ".xlsx" nor ".csv" (any case) gets the
// extension of the filter chosen, so that an export never lands on the class file or another file of the class.
QString exportPath(const QString& chosen, int filterIndex);

// The students exported, in class order: every student the report of "Calculer moyennes" counts (down to the
// last one whose first mark is filled), then the others that have a name or a mark.
QList<int> exportedStudents(const ClassTable& table);

// The marks sheet, named after the class, and the cards sheet. Averages, ranks and the class figures are the
// report's over the whole class; a student the report counts but cannot average shows "-" and "non classé", as
// in the report, and one it does not count has neither average nor rank.
QList<spreadsheet::Sheet> sheets(const ClassTable& table, const QString& className);

// An .xlsx workbook with both sheets, or, for a name ending in ".csv", the marks sheet as CSV.
void write(const QString& path, const ClassTable& table, const QString& className);

// What the status bar says once the file is written.
QString writtenMessage(const QString& path, const ClassTable& table);

} // namespace classexport
