#pragma once

#include <QString>
#include <QStringList>

// Pieces of the program's French messages.
namespace messagetext {

// A list in a message shows at most this many items, each cut to this many characters.
constexpr int ListedItems = 15;
constexpr int ListedLength = 80;

// An integer with its thousands set apart by a no-break space: "16 384".
QString number(qint64 value);
// A size of whole mebibytes as the French write it: "32 Mo".
QString megabytes(qint64 bytes);
// The first items of a list of total items (only the first ListedItems are used; a longer item is cut and ends in
// "…", a line break in one becomes a blank), joined by the separator, then, for the rest, the separator and
// "... et 9 autres lignes." with others naming them ("lignes"). A list as long as a file can make stays a few
// lines long.
QString listed(const QStringList& first, qsizetype total, const QString& separator, const QString& others);

} // namespace messagetext
