#pragma once

#include "core/Csv.h"
#include "core/TextFile.h"

#include <QByteArray>
#include <QString>
#include <memory>

// A list of students as schools and spreadsheets hand them out, line after line, whatever file holds it: a text
// (CSV with semicolons, commas or tabs; UTF-8, UTF-16 with its byte-order mark or Windows-1252) or a workbook
// (.xlsx or .ods), of which the first sheet is read. What the file is comes from its content, not its name.
namespace studentlist {

// A list is refused beyond these bounds, far above any list a school hands out (a whole school of 3,000 students
// with 30 columns takes about 2 MB): a larger file, a workbook whose sheet unpacks (or whose cells, repeated as
// the workbook asks, add up) to more, or a line of more columns than a spreadsheet has.
constexpr textfile::Limit FileLimit{16 * 1024 * 1024, u"une liste d'élèves"};
constexpr qsizetype MaxColumns = 16384;

// The lines of one list, read as they are asked for. A record's line is its line in the file, or its row in the
// sheet; it keeps at most MaxColumns fields and counts them all; a line of blank fields gives no record.
class Lines
{
public:
    virtual ~Lines() = default;
    // The next record; false after the last. Raises, naming the file, when the list turns out to pass a bound
    // or a workbook to be damaged.
    virtual bool next(csv::Record& record) = 0;
};

// The list these bytes hold, fileName naming it in messages. Raises "Le fichier %s ..." when they are no list
// the program can read: a text in an encoding it cannot read, an Excel 97-2003 workbook, a damaged or
// password-protected workbook, or one passing the bounds.
std::unique_ptr<Lines> read(const QByteArray& bytes, const QString& fileName);
// The same from a file, read within FileLimit ("Ne peut ouvrir le fichier %s", "... est trop grand").
std::unique_ptr<Lines> open(const QString& path);

} // namespace studentlist
