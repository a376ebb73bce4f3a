#pragma once

#include "core/Spreadsheet.h"
#include "model/ClassTable.h"

#include <QList>
#include <QString>

// A class as a spreadsheet: the marks sheet (rubric headings and coefficients in the first two rows, one row
// per student with number, surname, first name, every mark, average and rank, then the class average) and
// the cards sheet.
namespace classexport {

// Students with a name or a mark, in class order; the others are empty rows of the class.
QList<int> exportedStudents(const ClassTable& table);

// The marks sheet, named after the class, and the cards sheet. Averages and ranks follow the report's rule
// over all 30 rubrics, ranked among the exported students; a student with no counted rubric shows "-" and
// "non classé", as in the report.
QList<spreadsheet::Sheet> sheets(const ClassTable& table, const QString& className);

// An .xlsx workbook with both sheets, or, for a name ending in ".csv", the marks sheet as CSV.
void write(const QString& path, const ClassTable& table, const QString& className);

} // namespace classexport
