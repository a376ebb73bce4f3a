#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The notes file "Virelan.nte": the notepad's text byte for byte, Windows-1252, lines separated by CR LF,
// nothing added after the last line.
namespace notesfile {

// Far beyond what a teacher types in a notepad, small enough that a stray huge file cannot exhaust memory.
constexpr qint64 Capacity = 32 * 1024 * 1024;

// A doubled separator in the name, as made by gluing a folder ending in one to a name starting with one,
// is reduced to one; only the first pair is repaired. Both '/' and '\' count, each paired with itself.
QString repairName(const QString& fileName);

// The memo's text from the bytes of the file: CR, LF and CR LF each become CR LF.
QString decode(const QByteArray& bytes);
QByteArray encode(const QString& memoText);

// The text of the file, or nothing when there is no such file. Raises "Ne peut ouvrir le fichier %s" when
// it cannot be read and "Le texte dépasse la capacité du mémo" beyond the capacity.
std::optional<QString> load(const QString& fileName, qint64 capacity = Capacity);
// Replaces the file with the text; raises "Ne peut créer le fichier %s" and leaves the old file whole on failure.
void save(const QString& fileName, const QString& memoText);

} // namespace notesfile
