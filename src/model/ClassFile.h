#pragma once

#include "core/TextFile.h"
#include "model/ClassTable.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

// The class file: a header line with the widths of grid columns 1 to 31, then one record per
// non-empty slot of the class table. Windows-1252 text, every line ending in CR LF.
namespace classfile {

// Grid columns 1 to 31 have a stored width; column 0 has none.
constexpr int WidthCount = 31;
// The largest width three hexadecimal digits can hold.
constexpr int MaxWidth = 0xFFF;
// Written in place of a line break inside a slot's text (a remark of several lines), so that the whole
// text stays on its record's line. Typing never produces this control byte.
constexpr char LineBreakByte = '\x0B';

// Widths of columns 1 to 31; NoWidth where the file gives none (the column keeps its width).
constexpr int NoWidth = -1;
using Widths = std::array<int, WidthCount>;

// The whole file: header from the widths, then the records in row then slot order; slot 0 and empty
// slots are not written.
QByteArray write(const ClassTable& table, const Widths& widths);

// What a class file holds at most, far more than any class: a full class of 62 students with 20-line remarks
// takes about 100 KB, and the longest text of a card (a remark) a few thousand characters. A class file beyond
// is refused as one that cannot be read. Every text the program puts into a class is kept within MaxText, so
// that what the program writes, even every slot full, always reads back.
constexpr int MaxText = 8192; // characters of one slot's text, a line break counting one (as on its line)
constexpr qint64 MaxFileSize = 32 * 1024 * 1024;
static_assert(WidthCount * 3 + 2 +
                  qint64(ClassTable::LastRow - ClassTable::FirstRow + 1) * (ClassTable::SlotCount - 1) *
                      (4 + MaxText + 2) <=
              MaxFileSize);
constexpr textfile::Limit FileLimit{MaxFileSize, u"un fichier de classe"};

// The length of a text on its record's line: CR LF, a lone CR and a lone LF each take one character.
qsizetype textLength(QStringView text);

// The bytes of a class file. Raises "Ne peut ouvrir le fichier %s" when it cannot be read, and refuses, before
// reading it whole, a file larger than MaxFileSize or one with a line longer than a record of MaxText
// characters ("Le fichier %s a un texte trop long à la ligne 7 (plus de 8 192 caractères) : ce n'est pas un
// fichier de classe."). A file refused is, like one that cannot be read, never written over during the run.
QByteArray readFile(const QString& path);

// Whether bytes are those of a class file, from what they hold whatever the file's name: nothing at all, or a
// text without a zero byte that begins with its line of widths (hexadecimal digits) or holds a record of the
// class table. A copy of a class named 6A.bak is one; a picture, a spreadsheet or a list of students is not.
bool isClassContent(const QByteArray& bytes);

// Why the file cannot be opened as a class, or nothing: "Fichier introuvable : %s", "%s est un dossier, pas un
// fichier de classe." or "%s n'est pas un fichier de classe." A file that exists but cannot be read (no right to
// read it, too large) is not refused here: opening it says why, as for any class file.
QString openRefusal(const QString& path);

// An opening reads the class file once: the bytes that tell it is a class are the bytes the class is loaded from.
struct OpeningRead
{
    // As openRefusal.
    QString refusal;
    // The bytes read, as readFile reads them; none when the file was refused or could not be read (the load then
    // reads it again and raises why).
    std::optional<QByteArray> bytes;
};
OpeningRead readToOpen(const QString& path);

// Reads a class file into the table, over what it holds already (a later record for the same slot
// wins), and returns the widths of its header. Lines that are not records, and records outside the
// table, are skipped without touching any other slot.
Widths read(const QByteArray& bytes, ClassTable& table);

} // namespace classfile
