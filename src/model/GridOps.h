#pragma once

#include "model/ClassTable.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

// The whole-class operations of a class window, over the class table and over plain cell accessors,
// so that they run without any window.
namespace gridops {

// The item that ends a row of copied cells in the copy buffer.
inline const QString RowEnd = QStringLiteral("CRLF");
// A card copy holds the eleven one-line fields from "Nom" to "Métier envisagé", then the remarks.
constexpr int CardItemCount = 12;

// The sort key of a surname: its single-byte text with only the ASCII letters a to z upper-cased,
// so that accented letters keep their own codes and sort after every ASCII letter.
QByteArray sortKey(const QString& surname);
// Byte by byte as unsigned codes; a key that is a prefix of the other is the smaller.
int compareKeys(const QByteArray& a, const QByteArray& b);

// The highest student number whose surname is filled, 0 when none is.
int lastNamedStudent(const ClassTable& table);
// Exchange sort of students 1 to the last named one by surname key, whole rows at a time.
// Students after the last named one stay where they are.
void sortStudents(ClassTable& table);
// Removes a student: every later row moves up one place, through row 63; row 64 keeps its content.
// A number outside 1 to 62 removes nothing.
void deleteStudent(ClassTable& table, int student);

// The width a rubric column gets from "Ajuster colonnes": its heading's width plus 4, at least 40,
// never less than it already has.
int fittedWidth(int currentWidth, int headingTextWidth);

struct Range
{
    int left = 0, top = 0, right = 0, bottom = 0;
};

using CellReader = std::function<QString(int col, int row)>;
using CellWriter = std::function<void(int col, int row, const QString& text)>;

// Each row of the range, left to right, followed by a row end.
QStringList copyCells(const CellReader& cell, const Range& range);
// Pastes from (startCol, startRow): a row end goes down one row and back to the start column; any other
// item fills the cell and moves right. The first item that would land beyond the last column or the
// last row ends the paste, the rest is ignored. Returns the number of cells written.
int pasteCells(const CellWriter& setCell, int colCount, int rowCount, int startCol, int startRow,
               const QStringList& items);
// Items 0 to 11 replace the card texts in their order; missing items leave the later texts as they are,
// items after the twelfth are ignored. Returns the number of texts replaced.
int pasteCard(QStringList& cardTexts, const QStringList& items);

} // namespace gridops
