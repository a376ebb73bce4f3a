#pragma once

#include "classbook/ClassTable.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// A list of students from a CSV file made by a spreadsheet: its first line names the columns (the card's
// headings, compared without case, accents, blanks or punctuation); every further line is one student.
namespace studentimport {

// A line of a class file is kept within 255 characters, the longest every reader of class files takes whole:
// four of position and at most this many of text. Only the remarks may be longer.
constexpr int MaxText = 251;

struct Result
{
    int added = 0;
    QList<int> rows;            // the rows of the class filled, in order
    QStringList refused;        // "ligne 7 : ..." for each line not taken
    QStringList ignoredColumns; // headings of the columns that name no card field, as written
    bool noKnownColumn = false; // no column names a card field: nothing was read
};

// Fills the students into the empty rows of the class (no mark and no card field), in order, from the top;
// rows already used are never touched.
Result fill(const QByteArray& bytes, ClassTable& table);

// What the teacher is told, in French.
QString summary(const Result& result);

} // namespace studentimport
