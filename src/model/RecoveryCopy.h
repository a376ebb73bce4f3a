#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

// A recovery copy: what brings back a class window, the notepad or the phrases as they stood at their last change
// when the program was killed before they were saved. Its file:
//   VIRELAN-RECOVERY 1\n
//   then records, each "<key> <byte count>\n<bytes>\n": kind (class, notes or phrases), file, caption, changed
//   (the time of the last change, UTC), class (the class file as a save writes it), homework (the homework file),
//   planning and plan (those the class owns with changes not yet written), text (the notepad's text) and one
//   phrase record per phrase, in order; texts in UTF-8, files as their bytes;
//   end <SHA-256 of everything before "end", in hexadecimal>\n, the last line.
// A copy cut short, or changed by a single byte, is refused whole.
namespace recovery {

enum class Kind
{
    Class,
    Notes,
    Phrases,
};

struct Copy
{
    Kind kind = Kind::Class;
    // The class file (empty for a class never saved), the notes file or the phrases file.
    QString fileName;
    // The class window's caption.
    QString caption;
    QDateTime changed;
    QByteArray classFile;
    QByteArray homework;
    std::optional<QByteArray> planning;
    std::optional<QByteArray> plan;
    QString text;
    QStringList phrases;
};

// Far more than any copy: a class file takes at most 32 MB, the notepad as much.
constexpr qint64 MaxBytes = 96 * 1024 * 1024;

QByteArray encode(const Copy& copy);
// Nothing for bytes that are not a whole copy of a known kind.
std::optional<Copy> decode(const QByteArray& bytes);

// How the list of copies offered shows one: the file's name ("Sans nom" for a class never saved), its folder and
// the time of the last change.
struct Listed
{
    QString name;
    QString folder;
    QString changed;
};
Listed listed(const Copy& copy);

} // namespace recovery
