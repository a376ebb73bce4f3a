#pragma once

#include "core/TextFile.h"
#include "model/ClassTable.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// A list of students from a CSV file made by a spreadsheet: its first line names the columns (the card's
// headings, compared without case, accents, blanks or punctuation); every further line is one student.
namespace studentimport {

// A line of a class file is kept within 255 characters, the longest every reader of class files takes whole:
// four of position and at most this many of text. Only the remarks may be longer.
constexpr int MaxText = 251;

// A list is refused beyond these bounds, far above any list a school hands out (a whole school of 3,000
// students with 30 columns takes about 2 MB): a larger file, or a line of more columns than a spreadsheet has.
constexpr textfile::Limit FileLimit{16 * 1024 * 1024, u"une liste d'élèves"};
constexpr qsizetype MaxColumns = 16384;

struct Result
{
    int added = 0;
    QList<int> rows;            // the rows of the class filled, in order
    QStringList refused;        // "ligne 7 : ..." for the first lines not taken, as many as a message lists
    qsizetype refusedCount = 0; // every line not taken
    QStringList ignoredColumns; // the first headings of the columns that name no card field, as written
    qsizetype ignoredCount = 0; // every such column with a heading
    bool noKnownColumn = false; // no column names a card field: nothing was read
    int tooWide = 0;            // the first line of more than MaxColumns fields: nothing was read
};

// Fills the students into the empty rows of the class (no mark and no card field), in order, from the top;
// rows already used are never touched. In one pass over the text, whatever its size.
Result fill(const QByteArray& bytes, ClassTable& table);
// The same from a file, read within FileLimit; raises "Ne peut ouvrir le fichier %s", "Le fichier %s est
// trop grand (plus de 16 Mo) : ce n'est pas une liste d'élèves." and, leaving the class as it was, "Le fichier
// %s a trop de colonnes à la ligne 2 (plus de 16 384) : ce n'est pas une liste d'élèves."
Result fillFrom(const QString& path, ClassTable& table);

// What the teacher is told, in French.
QString summary(const Result& result);

} // namespace studentimport
