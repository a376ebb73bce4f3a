#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

class QFile;

// Text files of the program: Windows-1252, lines ending in CR LF.
namespace textfile {

// What a reader takes at most: far more than any file of its kind, so that a stray huge file (a film saved
// under a class file's name, a sparse file, a device) is refused before it is read and can neither exhaust
// memory nor hold the program up.
struct Limit
{
    qint64 bytes;
    QStringView what; // what the file was taken for, as a message says it: "un fichier de classe"
};

// The whole file; raises "Ne peut ouvrir le fichier" when it cannot be read, and "Le fichier %s est trop grand
// (plus de 32 Mo) : ce n'est pas un fichier de classe." beyond the limit, checked before reading and while
// reading (a file that grows meanwhile). A file that exists but cannot be read (no right to read it, a folder
// or a pipe of that name, a file too large) is then never written over during the run.
QByteArray readBytes(const QString& path, Limit limit);
// Nothing when no file of that name exists; otherwise as readBytes, so a folder of that name is reported.
std::optional<QByteArray> readIfPresent(const QString& path, Limit limit);
// At most limit + 1 bytes of an open file, so that a caller sees whether it passes the limit: what the file
// held when asked (no more memory taken than that), then what it grew by since.
QByteArray readAtMost(QFile& file, qint64 limit);

// CR LF, a lone CR and a lone LF each end a line; a line end at the very end adds no empty line.
QStringList splitLines(const QByteArray& bytes);

// Each line followed by CR LF.
QByteArray joinLines(const QStringList& lines);
// Writes the whole file at once through the program's file writer (core/FileWriter.h): a failure never
// leaves a half-written file behind. Raises "Ne peut créer le fichier" on failure.
void writeBytes(const QString& path, const QByteArray& bytes);
void writeLines(const QString& path, const QStringList& lines);

bool exists(const QString& path);

} // namespace textfile
