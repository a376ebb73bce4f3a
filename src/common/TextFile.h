#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Text files of the program: Windows-1252, lines ending in CR LF.
namespace textfile {

// The whole file; raises "Ne peut ouvrir le fichier" when it cannot be read.
QByteArray readBytes(const QString& path);
// CR LF, a lone CR and a lone LF each end a line; a line end at the very end adds no empty line.
QStringList splitLines(const QByteArray& bytes);
QStringList readLines(const QString& path);

// Each line followed by CR LF.
QByteArray joinLines(const QStringList& lines);
// Writes the whole file at once: a temporary file beside it is renamed over the old one, so a failure
// never leaves a half-written file behind. Raises "Ne peut créer le fichier" on failure.
void writeBytes(const QString& path, const QByteArray& bytes);
void writeLines(const QString& path, const QStringList& lines);

bool exists(const QString& path);

} // namespace textfile
