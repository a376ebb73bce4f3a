#pragma once

#include <QByteArray>
#include <QString>

// The versions a save replaces, kept beside the class file in the folder ".virelan": 6A.prf.1 is the one
// the last save replaced, 6A.prf.5 the oldest kept.
namespace versions {

constexpr int Kept = 5;

// The folder of the versions of a class file.
QString folderOf(const QString& classFile);

// Writes the class file as the file writer does (raising its failure), keeping the file it replaces as
// version 1 just before it is replaced, the others moving down one place and the fifth dropped. A version that cannot
// be kept stops nothing: the result then says in French what failed (empty when all went well). Nothing is kept when
// there was no file yet, when it already held these very bytes, or when version 1 holds them already (a save stopped
// before the replacement). A save killed at any moment leaves versions 1 to n without a hole or an empty file (at worst
// two equal neighbours); holes and empty files left by older runs are mended by the next save that keeps a version.
QString writeKeeping(const QString& classFile, const QByteArray& bytes);

} // namespace versions
