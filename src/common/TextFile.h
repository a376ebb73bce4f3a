#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// Text files of the program: Windows-1252, lines ending in CR LF.
namespace textfile {

// The whole file; raises "Ne peut ouvrir le fichier" when it cannot be read. A file that exists but cannot be
// read (no right to read it, a folder or a pipe of that name) is then never written over during the run.
QByteArray readBytes(const QString& path);
// Nothing when no file of that name exists; otherwise as readBytes, so a folder of that name is reported.
std::optional<QByteArray> readIfPresent(const QString& path);
// CR LF, a lone CR and a lone LF each end a line; a line end at the very end adds no empty line.
QStringList splitLines(const QByteArray& bytes);
QStringList readLines(const QString& path);

// Each line followed by CR LF.
QByteArray joinLines(const QStringList& lines);
// Writes the whole file at once through the program's file writer (common/FileWriter.h): a failure never
// leaves a half-written file behind. Raises "Ne peut créer le fichier" on failure.
void writeBytes(const QString& path, const QByteArray& bytes);
void writeLines(const QString& path, const QStringList& lines);

bool exists(const QString& path);

} // namespace textfile
