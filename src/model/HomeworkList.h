#pragma once

#include "core/TextFile.h"

#include <QByteArray>
#include <QDate>
#include <QRect>
#include <QString>
#include <array>

// The homework list of a class: 21 entries, each a date "dd/mm/yyyy" directly followed by a title.
// Entries 0 to 19 are the twenty rows of the dialog (entry i is row i + 1); entry 20 only travels
// between the file and the class window.
namespace homework {

constexpr int EntryCount = 21;
constexpr int RowCount = 20;
using List = std::array<QString, EntryCount>;

// The date that stands for "no date": a row left alone keeps it, so it stays unset on the next opening.
inline const QString UnsetDate = QStringLiteral("01/01/1990");
constexpr int DateLength = 10;
// Far more than 21 entries (about 6 KB with the longest titles); a larger file is refused before it is read.
constexpr textfile::Limit FileLimit{1024 * 1024, u"un fichier de devoirs"};

// What one dialog row shows of an entry.
struct Shown
{
    QDate date;
    QString title;
    bool unset = false;
};

// An entry shorter than ten characters, or whose first ten are the unset date, has no date.
bool isUnset(const QString& entry);
// Raises "'%s' n'est pas une date correcte" when the first ten characters are not a date the
// picker can hold (years 100 to 9999). The title is the whole rest of the entry: it is never cut,
// so that closing the dialog hands back what was read.
Shown show(const QString& entry);
QString entry(const QDate& date, const QString& title);

// The homework file beside a class file, as filenames names it: the one written, and the one read (which may
// be the file of an older version's naming); empty for a class without a file name.
QString fileName(const QString& classFile);
QString fileToRead(const QString& classFile);
// Line k of the file is entry k, whole; at most 21 lines are read, missing ones leave empty entries.
List read(const QByteArray& bytes);
// Exactly 21 lines, CR LF, Windows-1252.
QByteArray write(const List& list);
// A list whose entry 0 is empty has never been filled: no file is written for it.
bool needsFile(const List& list);

// Where row 1 to 20 sits in the dialog: column 0 (left) or 1 (right), line 0 to 9 from the top.
struct Place
{
    int column = 0;
    int line = 0;
};
Place place(int row);
QRect pickerRect(int row);
QRect titleRect(int row);

} // namespace homework
