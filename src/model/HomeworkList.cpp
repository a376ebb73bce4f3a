#include "model/HomeworkList.h"

#include "core/FileNames.h"
#include "core/FrenchDates.h"
#include "core/PlatformError.h"
#include "core/TextFile.h"

#include <QStringList>

namespace homework {
namespace {

// The screen lines of each column, top to bottom, by row number: the rows were added over time,
// so the file order and the screen order differ.
constexpr std::array<int, 10> LeftRows = {1, 3, 4, 5, 6, 11, 12, 13, 17, 19};
constexpr std::array<int, 10> RightRows = {2, 7, 8, 9, 10, 14, 15, 16, 18, 20};

// The range the date picker can hold; a date outside it could not be shown without being changed.
const QDate FirstDate(100, 1, 1);
const QDate LastDate(9999, 12, 31);

const QString Extension = QStringLiteral(".prd");

} // namespace

bool isUnset(const QString& entry)
{
    return entry.size() < DateLength || entry.left(DateLength) == UnsetDate;
}

Shown show(const QString& entry)
{
    Shown shown;
    shown.title = entry.mid(DateLength);
    if (isUnset(entry)) {
        shown.unset = true;
        shown.date = QDate(1990, 1, 1);
        return shown;
    }
    const QString datePart = entry.left(DateLength);
    shown.date = frdate::readShortDate(datePart);
    if (!shown.date.isValid() || shown.date < FirstDate || shown.date > LastDate)
        throw PlatformError::notADate(datePart);
    return shown;
}

QString entry(const QDate& date, const QString& title)
{
    // A line break pasted into a title would split the entry over two lines of the file and shift
    // every later entry: it becomes a blank.
    QString oneLine = title;
    oneLine.replace(QLatin1Char('\r'), QLatin1Char(' '));
    oneLine.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return frdate::shortDate(date) + oneLine;
}

QString fileName(const QString& classFile)
{
    if (classFile.isEmpty())
        return {};
    return filenames::companionOnDisk(classFile, Extension);
}

QString fileToRead(const QString& classFile)
{
    if (classFile.isEmpty())
        return {};
    return filenames::companionToRead(classFile, Extension);
}

List read(const QByteArray& bytes)
{
    List list;
    const QStringList lines = textfile::splitLines(bytes);
    for (int k = 0; k < EntryCount && k < lines.size(); ++k)
        list[k] = lines[k];
    return list;
}

QByteArray write(const List& list)
{
    return textfile::joinLines(QStringList(list.begin(), list.end()));
}

bool needsFile(const List& list)
{
    return !list[0].isEmpty();
}

Place place(int row)
{
    for (int k = 0; k < 10; ++k) {
        if (LeftRows[k] == row)
            return {0, k};
        if (RightRows[k] == row)
            return {1, k};
    }
    return {};
}

QRect pickerRect(int row)
{
    const Place p = place(row);
    return QRect(p.column == 0 ? 7 : 271, 72 + 24 * p.line, 98, 24);
}

QRect titleRect(int row)
{
    const Place p = place(row);
    return QRect(p.column == 0 ? 112 : 376, 73 + 24 * p.line, 145, 24);
}

} // namespace homework
