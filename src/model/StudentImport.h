#pragma once

#include "model/ClassTable.h"
#include "model/StudentList.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// A list of students from a school system or a spreadsheet, added to a class in two steps: the plan of what the
// list brings (which columns fill which card field, which students are added, which are in the class already and
// which lines are refused), shown to the teacher before anything changes, then the plan carried out in one step.
namespace studentimport {

// A line of a class file is kept within 255 characters, the longest every reader of class files takes whole:
// four of position and at most this many of text. Only the remarks may be longer.
constexpr int MaxText = 251;
// The line that names the columns is one of the first lines of the list: school systems put a title above it.
constexpr int HeaderLines = 10;

// A column of the list and the card field it fills.
struct Column
{
    QString heading;   // as the list writes it, without blanks at its ends
    int slot = -1;     // the card slot it fills; -1 when it names none and is ignored
    QString preferred; // when another column fills the same field first: its heading (this one is read when
                       // that one is empty)
};

// A student of the list, and what the class gets from it.
struct Student
{
    int line = 0;                      // the line of the list
    int row = 0;                       // the class row it fills, or the row of the student of the class it is
    QString name;                      // surname and first name, as the list gives them
    QList<QPair<int, QString>> fields; // added: every field of the list; already there: the fields the class has
                                       // empty and the list fills
};

// A line not taken, and why.
struct Refusal
{
    int line = 0;
    QString name;
    QString why;
};

struct Plan
{
    // The whole list is refused, and nothing else holds: why, in a sentence for the teacher.
    QString refused;
    int headerLine = 0;         // the line that names the columns
    QList<Column> columns;      // the recognised columns, in the list's order
    QStringList ignoredColumns; // the first headings of the other columns, as written
    qsizetype ignoredCount = 0; // every column with a heading that names no field
    QList<Student> added;       // in the list's order, each in the first empty row left
    QList<Student> present;     // students already in the class (same names, same date of birth where both give it)
    QList<Refusal> doubles;     // the first lines that give a student of the list again
    qsizetype doubleCount = 0;
    QList<Refusal> rejected; // the first lines not taken: no name, a text the class file cannot keep, a full class
    qsizetype rejectedCount = 0;

    // Students already there whose empty card fields the list can fill.
    int completable() const;
};

// Reads the whole list once, whatever its length, and plans it against the class. Raises, leaving the class as it
// is, "Le fichier %s a trop de colonnes à la ligne 2 (plus de 16 384) : ce n'est pas une liste d'élèves." and the
// refusals of studentlist::Lines.
Plan plan(studentlist::Lines& lines, const QString& fileName, const ClassTable& table);
// The same from bytes (raising as studentlist::read does) or from a file (raising as studentlist::open does).
Plan planOf(const QByteArray& bytes, const QString& fileName, const ClassTable& table);
Plan planFrom(const QString& path, const ClassTable& table);

// The plan carried out on the class it was made for: the new students in their rows and, with `complete`, the
// empty card fields of the students already there filled from the list; a field that holds something is never
// changed. The rows changed, in order.
QList<int> apply(const Plan& plan, ClassTable& table, bool complete);

// A date of birth as the program writes it: "2012-04-01", "1/4/2012" and "01.04.2012" give "01/04/2012"; any
// other text is kept as it is.
QString birthDate(const QString& text);

} // namespace studentimport
