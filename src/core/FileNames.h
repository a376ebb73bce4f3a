#pragma once

#include <QString>

// Names of a class file and of the files that live beside it.
namespace filenames {

// The part after the last path separator (the whole text when there is none).
QString lastComponent(const QString& path);
// The path up to the first dot of its last component; dots in folder names never count. A report is saved under
// the name chosen for it cut there.
QString baseName(const QString& path);

// Every file named after a class is named after its class file, and nothing else is:
// - the class file is the name it was opened or saved under, whatever dots it holds; a name typed for it that
//   does not end in ".prf" (any case) gets ".prf" added: "6e.1" gives 6e.1.prf, "6A.old.txt" 6A.old.txt.prf;
// - its stem is that name without its final ".prf" (any case), or the whole name when it ends otherwise;
// - its homework, seating plan and planning are the stem followed by ".prd", ".prc" and ".prp": 6e.1.prf has
//   6e.1.prd and 6e.prf has 6e.prd, so two classes never share a file.
QString classFileName(const QString& typed);
QString classStem(const QString& classFile);

// The companion file of a class as it is on disk, which every write goes to: classStem(classFile) followed by
// the extension whatever its case, so that a class copied from a system that ignores case (5C.PRF beside 5C.PRD)
// finds its files and writes them back under the names they have. The extension exactly as given wins when both
// spellings exist; with none on disk, the extension as given.
QString companionOnDisk(const QString& classFile, const QString& extension);

// The companion file a class reads: companionOnDisk when it exists. Otherwise the one older versions wrote,
// named from the class file's name up to its first dot (6e.prd for 6e.1.prf), when it exists and no class file
// of that name (6e.prf, any case) stands beside it to own it. That older file is only ever read: the next write
// goes to companionOnDisk, and the older file stays as it is.
QString companionToRead(const QString& classFile, const QString& extension);

// One spelling for every name of the same file: absolute, without "." or "..", symbolic links resolved as
// far as the file (or, for a file not yet written, its folder) exists. Empty for an empty name.
QString canonicalPath(const QString& path);
// Whether two names lead to the same file: one spelling once canonical, or one file on disk (a hard link, another
// case of the name where the file system ignores case); an empty name leads to none.
bool sameFile(const QString& a, const QString& b);

} // namespace filenames
